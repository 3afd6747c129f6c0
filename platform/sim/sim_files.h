// Simulated workstation: files and folders on the machine folder's drives.
#pragma once

#include <deque>
#include <map>
#include <string_view>

#include "platform/files.h"
#include "platform/sim/sim_state.h"

namespace sim {

class SimFiles : public platform::FileSystem {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "AppendToFile",
      "DeleteFile",
      "SetCurrentDirectory",
      "GetPrivateProfileString",
      "GetFileVersionInfoSize",
      "GetFileVersionInfo",
      "VerQueryValue",
      "CreateFile",
      "ReadFile",
      "WriteFile",
      "SetFilePointer",
      "GetFileSize",
      "GetFileTime",
      "FileTimeToLocalFileTime",
      "FileTimeToSystemTime",
      "SystemTimeToFileTime",
      "WriteStandardOutput",
      "WriteTextFile",
      // Existence tests and WOW64 redirection.
      "FindFirstFile",
      "FindNextFile",
      "FindClose",
      "GetFileAttributes",
      "PathIsDirectoryEmpty",
      "Wow64DisableWow64FsRedirection",
      "Wow64RevertWow64FsRedirection",
      // Copies and new folders.
      "CopyFile",
      "CreateDirectory",
      "SetFileAttributes",
      "SetFileTime",
  };

  explicit SimFiles(SimState& state) : s_(state) {}

  bool AppendToFile(std::string_view path, std::string_view text) override;
  bool DeleteFile(std::string_view path) override;
  bool SetCurrentDirectory(std::string_view path) override;
  std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                      std::string_view default_value, std::string_view path,
                                      std::uint32_t buffer_size) override;
  void CloseAllStreams() override {}
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

  // Existence tests and WOW64 redirection (sim_file_queries.cpp).
  platform::Handle FindFirstFile(std::string_view pattern, platform::FindData* first) override;
  bool FindNextFile(platform::Handle search, platform::FindData* next) override;
  bool FindClose(platform::Handle search) override;
  std::uint32_t GetFileAttributes(std::string_view path) override;
  bool PathIsDirectoryEmpty(std::string_view path) override;
  bool Wow64DisableWow64FsRedirection(void** old_value) override;
  bool Wow64RevertWow64FsRedirection(void* old_value) override;

  // Copies, new folders and attributes (sim_file_copy.cpp).
  bool CopyFile(std::string_view existing_path, std::string_view new_path,
                bool fail_if_exists) override;
  bool CreateDirectory(std::string_view path) override;
  bool SetFileAttributes(std::string_view path, std::uint32_t attributes) override;
  bool SetFileTime(platform::Handle file, platform::FileTime last_write) override;

 private:
  // The open file of a handle, with the access it needs; null and the last error set
  // when the handle is not an open file (a folder's handle is none) or lacks the access.
  OpenFile* FileWithAccess(platform::Handle file, std::uint32_t access);

  // A handle of the folder at `host` (opened with backup semantics), when the token
  // holds the rights `desired_access` asks for.
  platform::Handle OpenFolder(std::string_view path, const std::filesystem::path& host,
                              std::uint32_t desired_access, std::uint32_t share_mode,
                              std::uint32_t creation_disposition);

  // The version resource of a file, serialised; empty when it has none.
  std::vector<std::uint8_t> VersionBlock(std::string_view path);

  SimState& s_;
  // Searches FindFirstFile started and FindClose has not ended: the matches not
  // handed out yet, in the order FindNextFile gives them.
  std::map<platform::Handle, std::deque<platform::FindData>> searches_;
  platform::Handle next_search_ = 0x5100000;
};

}  // namespace sim
