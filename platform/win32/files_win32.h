// Windows side: files, folders, settings files and version resources.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/files.h"

namespace win32 {

class Win32FileSystem final : public platform::FileSystem {
 public:
  bool AppendToFile(std::string_view path, std::string_view text) override;
  bool DeleteFile(std::string_view path) override;
  bool SetCurrentDirectory(std::string_view path) override;
  std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                      std::string_view default_value, std::string_view path,
                                      std::uint32_t buffer_size) override;
  void CloseAllStreams() override;
  std::uint32_t GetFileVersionInfoSize(std::string_view path) override;
  bool GetFileVersionInfo(std::string_view path, std::uint32_t size,
                          std::vector<std::uint8_t>& block) override;
  bool VerQueryValue(const std::vector<std::uint8_t>& block, std::string_view sub_block,
                     std::vector<std::uint8_t>& value) override;
  platform::Handle CreateFile(std::string_view path, std::uint32_t desired_access,
                              std::uint32_t share_mode, std::uint32_t creation_disposition,
                              std::uint32_t flags_and_attributes) override;
  bool ReadFile(platform::Handle file, void* buffer, std::uint32_t size,
                std::uint32_t* bytes_read) override;
  bool WriteFile(platform::Handle file, const void* buffer, std::uint32_t size,
                 std::uint32_t* bytes_written) override;
  std::uint32_t SetFilePointer(platform::Handle file, std::int32_t distance,
                               std::uint32_t move_method) override;
  std::uint32_t GetFileSize(platform::Handle file, std::uint32_t* size_high) override;
  bool GetFileTime(platform::Handle file, platform::FileTime* last_write) override;
  bool FileTimeToLocalFileTime(platform::FileTime utc, platform::FileTime* local) override;
  bool FileTimeToSystemTime(platform::FileTime time, platform::SystemTime* fields) override;
  bool SystemTimeToFileTime(const platform::SystemTime& fields, platform::FileTime* time) override;
  void WriteStandardOutput(std::string_view text) override;
  bool WriteTextFile(std::string_view path, std::string_view text, int* c_runtime_error) override;

  // Existence tests and WOW64 redirection (file_queries_win32.cpp).
  platform::Handle FindFirstFile(std::string_view pattern, platform::FindData* first) override;
  bool FindNextFile(platform::Handle search, platform::FindData* next) override;
  bool FindClose(platform::Handle search) override;
  std::uint32_t GetFileAttributes(std::string_view path) override;
  bool PathIsDirectoryEmpty(std::string_view path) override;
  bool Wow64DisableWow64FsRedirection(void** old_value) override;
  bool Wow64RevertWow64FsRedirection(void* old_value) override;

  // Copies and new folders (file_copy_win32.cpp).
  bool CopyFile(std::string_view existing_path, std::string_view new_path,
                bool fail_if_exists) override;
  bool CreateDirectory(std::string_view path) override;
  bool SetFileAttributes(std::string_view path, std::uint32_t attributes) override;
  bool SetFileTime(platform::Handle file, platform::FileTime last_write) override;
};

}  // namespace win32
