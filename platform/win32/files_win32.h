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
};

}  // namespace win32
