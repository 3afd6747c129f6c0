// Simulated workstation: files and folders on the machine folder's drives.
#pragma once

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

 private:
  // The version resource of a file, serialised; empty when it has none.
  std::vector<std::uint8_t> VersionBlock(std::string_view path);

  SimState& s_;
};

}  // namespace sim
