// Files and folders of the machine, reached by Windows paths ("C:\Portavel\x.dll").
//
// Every operation that can fail sets the system's last error (System::GetLastError)
// the way its Windows counterpart does. The operation names are also the names by
// which a simulated machine's [fail] section fails them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processes.h"

namespace platform {

// CreateFileA arguments.
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kFileShareRead = 0x00000001;
inline constexpr std::uint32_t kFileShareWrite = 0x00000002;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kFileAttributeNormal = 0x00000080;
// STANDARD_RIGHTS_ALL: delete, read and write the descriptor, take ownership, wait.
inline constexpr std::uint32_t kStandardRightsAll = 0x001F0000;
// FILE_FLAG_BACKUP_SEMANTICS: the only way CreateFileA opens a folder.
inline constexpr std::uint32_t kFileFlagBackupSemantics = 0x02000000;

// SetFilePointer's starting points and its failure value; GetFileSize's failure value.
inline constexpr std::uint32_t kFileBegin = 0;
inline constexpr std::uint32_t kFileCurrent = 1;
inline constexpr std::uint32_t kFileEnd = 2;
inline constexpr std::uint32_t kInvalidSetFilePointer = 0xFFFFFFFF;
inline constexpr std::uint32_t kInvalidFileSize = 0xFFFFFFFF;

// FILETIME as one number: 100-nanosecond intervals since 1601-01-01 00:00.
using FileTime = std::uint64_t;

// SYSTEMTIME: calendar fields of a UTC or local time.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day_of_week = 0;  // 0 Sunday
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// WIN32_FIND_DATAA's name and attributes.
struct FindData {
  std::string name;
  std::uint32_t attributes = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens the file for appending in text mode (creating it), writes `text` with
  // every "\n" stored as CR LF, and closes it again. False when it cannot be opened.
  virtual bool AppendToFile(std::string_view path, std::string_view text) = 0;

  // DeleteFileA.
  virtual bool DeleteFile(std::string_view path) = 0;

  // SetCurrentDirectoryA.
  virtual bool SetCurrentDirectory(std::string_view path) = 0;

  // GetPrivateProfileStringA with a buffer of `buffer_size` characters: the value,
  // cut to buffer_size - 1 characters, or `default_value` when the file, section or
  // key is missing.
  virtual std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                              std::string_view default_value,
                                              std::string_view path,
                                              std::uint32_t buffer_size) = 0;

  // Closes every file still open for stream output (_fcloseall).
  virtual void CloseAllStreams() = 0;

  // GetFileVersionInfoSizeA: 0 when the file has no version resource.
  virtual std::uint32_t GetFileVersionInfoSize(std::string_view path) = 0;

  // GetFileVersionInfoA into `block` (resized to `size`).
  virtual bool GetFileVersionInfo(std::string_view path, std::uint32_t size,
                                  std::vector<std::uint8_t>& block) = 0;

  // VerQueryValueA on a block read by GetFileVersionInfo: the bytes of `sub_block`
  // ("\", "\VarFileInfo\Translation", "\StringFileInfo\040904b0\FileDescription";
  // texts with their terminator), or false when the block has no such value.
  virtual bool VerQueryValue(const std::vector<std::uint8_t>& block, std::string_view sub_block,
                             std::vector<std::uint8_t>& value) = 0;

  // CreateFileA: the open file, or kInvalidHandle. Closed by System::CloseHandle. A
  // folder opens only with kFileFlagBackupSemantics, and its handle serves only the
  // folder's security (Security::GetFileSecurityInfo and SetFileSecurityInfo).
  virtual Handle CreateFile(std::string_view path, std::uint32_t desired_access,
                            std::uint32_t share_mode, std::uint32_t creation_disposition,
                            std::uint32_t flags_and_attributes) = 0;

  // ReadFile from the file position: true with the count read (0 at the end of the
  // file), false when the file cannot be read.
  virtual bool ReadFile(Handle file, void* buffer, std::uint32_t size,
                        std::uint32_t* bytes_read) = 0;

  // WriteFile at the file position.
  virtual bool WriteFile(Handle file, const void* buffer, std::uint32_t size,
                         std::uint32_t* bytes_written) = 0;

  // SetFilePointer without the high part of the distance: the new position's low
  // 32 bits, or kInvalidSetFilePointer.
  virtual std::uint32_t SetFilePointer(Handle file, std::int32_t distance,
                                       std::uint32_t move_method) = 0;

  // GetFileSize: the low 32 bits (kInvalidFileSize on failure), the high ones in
  // `*size_high` when it is given.
  virtual std::uint32_t GetFileSize(Handle file, std::uint32_t* size_high) = 0;

  // GetFileTime: the file's last-write time (UTC).
  virtual bool GetFileTime(Handle file, FileTime* last_write) = 0;

  // FileTimeToLocalFileTime with the machine's offset from UTC, FileTimeToSystemTime
  // and SystemTimeToFileTime (which refuses fields outside the calendar).
  virtual bool FileTimeToLocalFileTime(FileTime utc, FileTime* local) = 0;
  virtual bool FileTimeToSystemTime(FileTime time, SystemTime* fields) = 0;
  virtual bool SystemTimeToFileTime(const SystemTime& fields, FileTime* time) = 0;

  // printf of `text` to the process's standard output stream.
  virtual void WriteStandardOutput(std::string_view text) = 0;

  // fopen(path, "w"), fputs of `text`, fclose: the file created or emptied and
  // written in text mode, every "\n" stored as CR LF. False when it cannot be opened,
  // with the C runtime's errno in `*c_runtime_error`; write errors after a
  // successful open are not reported.
  virtual bool WriteTextFile(std::string_view path, std::string_view text,
                             int* c_runtime_error) = 0;

  // Existence tests and the WOW64 file-system redirection switch. A 32-bit process
  // under WOW64 reaches the Windows folder's System32 as SysWOW64 while redirection
  // is on, for these and every other file operation.

  // FindFirstFileA (a name of the last component may hold * and ?): the search, or
  // kInvalidHandle when nothing matches; ended by FindClose. `first`, when given,
  // receives the first match.
  virtual Handle FindFirstFile(std::string_view pattern, FindData* first = nullptr) = 0;
  // FindNextFileA: the next match, or false with 18 (no more files) after the last.
  virtual bool FindNextFile(Handle search, FindData* next) = 0;
  virtual bool FindClose(Handle search) = 0;

  // GetFileAttributesA: the attributes, or kInvalidFileAttributes.
  virtual std::uint32_t GetFileAttributes(std::string_view path) = 0;

  // PathIsDirectoryEmptyA: true only for a folder that holds nothing but "." and "..";
  // false for a file, a missing path, a folder with entries or one that cannot be read.
  virtual bool PathIsDirectoryEmpty(std::string_view path) = 0;

  // Copies and new folders, for the installer and its backups.

  // CopyFileA: the bytes and the last-write time of `existing_path` copied to
  // `new_path`, replacing a file there unless `fail_if_exists` (then it fails with 80).
  virtual bool CopyFile(std::string_view existing_path, std::string_view new_path,
                        bool fail_if_exists) = 0;

  // CreateDirectoryA with default security; 183 when something exists there already.
  virtual bool CreateDirectory(std::string_view path) = 0;

  // SetFileAttributesA of a file or folder; a folder keeps its folder flag.
  virtual bool SetFileAttributes(std::string_view path, std::uint32_t attributes) = 0;

  // SetFileTime of the last-write time only (UTC); creation and access times stay.
  // The handle must be open for writing.
  virtual bool SetFileTime(Handle file, FileTime last_write) = 0;

  // Wow64DisableWow64FsRedirection, keeping the opaque value that
  // Wow64RevertWow64FsRedirection takes back. Both fail outside WOW64.
  virtual bool Wow64DisableWow64FsRedirection(void** old_value) = 0;
  virtual bool Wow64RevertWow64FsRedirection(void* old_value) = 0;
};

// GetFileAttributesA's folder flag and failure value.
inline constexpr std::uint32_t kFileAttributeDirectory = 0x00000010;
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

}  // namespace platform
