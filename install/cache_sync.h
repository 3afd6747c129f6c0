// The local cache of the product's executables: when the launcher runs from another
// drive than Windows' (typically a network share), the product is started from a
// copy in the user's application-data folder, brought up to date before each start.
// A preload touches the files instead, so that they are read once.
#pragma once

#include <span>
#include <string_view>

struct Launcher;

// The product's files the cache keeps, by their names in the launcher folder; the
// files of its tpe folder are kept in _tcache1\tpe as well.
std::span<const char* const> CachedFileNames();

// True when the launcher folder lies on Windows' drive: the first characters of
// WinDir and CurrDir are the same byte.
bool OnWindowsDrive(const Launcher& l);

// Copies every cached file whose date, time (to the minute) or size differs into
// _tcache1; true when the cache is in use (the launcher is not on Windows' drive).
bool InstallTSystemFiles(Launcher& l);

// The same for the files of the launcher's tpe folder, into _tcache1\tpe.
void InstallTPEFiles(Launcher& l);

// Opens and closes each cached file in the launcher folder, and each file of tpe.
void TouchTSystemFiles(Launcher& l);
void TouchTPEFiles(Launcher& l);

// Copies `source` over `target` unless both have the same size and time to the
// minute; a failed copy is an error record.
void CheckToInstallDifferentFile(Launcher& l, std::string_view source, std::string_view target);

// Opens the file for reading and asks its size and time; changes nothing.
void TouchFile(Launcher& l, std::string_view path);
