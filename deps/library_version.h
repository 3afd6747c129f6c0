// Reading the version resource of a file.
#pragma once

#include <string_view>

#include "base/library_version.h"

struct Launcher;

// Reads the version resource of `path`; every field stays zero or empty that the
// file does not provide.
LibraryVersion GetLibraryVersion(Launcher& l, std::string_view path);
