// Windows side: the IP helper, address texts, drive types and network connections.
#pragma once

#include "platform/network.h"
#include "platform/win32/windows_api.h"

namespace win32 {

class Win32Network final : public platform::Network {
 public:
  std::uint32_t GetIpAddrTable(platform::IpAddrTable* table, std::uint32_t* size) override;
  std::uint32_t GetBestInterface(std::uint32_t destination, std::uint32_t* index) override;
  int InetPton(std::string_view text, std::uint32_t* address) override;
  bool InetNtop(std::uint32_t address, std::string* text) override;
  std::uint32_t GetDriveType(std::string_view root) override;
  std::uint32_t WNetGetConnection(std::string_view local_name, std::string* remote_name) override;
};

}  // namespace win32
