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

namespace platform {

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
};

}  // namespace platform
