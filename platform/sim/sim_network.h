// Simulated workstation: the network side of [network] — the IPv4 interfaces, the
// interface of the best route and the mapped network drives.
#pragma once

#include <string_view>

#include "platform/network.h"
#include "platform/sim/sim_state.h"

namespace sim {

class SimNetwork : public platform::Network {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "GetIpAddrTable", "GetBestInterface", "InetPton",
      "InetNtop",       "GetDriveType",     "WNetGetConnection",
  };

  explicit SimNetwork(SimState& state) : s_(state) {}

  std::uint32_t GetIpAddrTable(platform::IpAddrTable* table, std::uint32_t* size) override;
  std::uint32_t GetBestInterface(std::uint32_t destination, std::uint32_t* index) override;
  int InetPton(std::string_view text, std::uint32_t* address) override;
  bool InetNtop(std::uint32_t address, std::string* text) override;
  std::uint32_t GetDriveType(std::string_view root) override;
  std::uint32_t WNetGetConnection(std::string_view local_name, std::string* remote_name) override;

 private:
  SimState& s_;
};

}  // namespace sim
