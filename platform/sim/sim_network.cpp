// Simulated workstation: the network side of the machine.
#include "platform/sim/sim_network.h"

#include <cctype>
#include <cstddef>
#include <cstring>
#include <optional>
#include <system_error>

#include "platform/error_codes.h"

namespace sim {
namespace {

constexpr std::uint32_t kErrorNetworkUnreachable = 1231;
constexpr std::uint32_t kErrorNotConnected = 2250;
constexpr std::uint32_t kDriveUnknown = 0;
constexpr std::uint32_t kDriveFixed = 3;
// Windows does not fill the broadcast field of the address table: it holds 1.
constexpr std::uint32_t kBroadcastAsWindowsFillsIt = 1;

// A dotted IPv4 address in network byte order, as it lies in memory.
std::optional<std::uint32_t> ParseAddress(std::string_view text) {
  std::uint8_t bytes[4] = {};
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    unsigned value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
      value = value * 10 + static_cast<unsigned>(text[digits] - '0');
      if (++digits > 3 || value > 255) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    bytes[part] = static_cast<std::uint8_t>(value);
    text.remove_prefix(digits);
  }
  if (!text.empty()) return std::nullopt;
  std::uint32_t address = 0;
  std::memcpy(&address, bytes, 4);
  return address;
}

std::uint16_t TypeWord(const std::vector<std::string>& flags) {
  std::uint16_t type = 0;
  for (const std::string& flag : flags) {
    if (flag == "primary") type |= platform::kIpAddrPrimary;
    if (flag == "dynamic") type |= platform::kIpAddrDynamic;
    if (flag == "disconnected") type |= platform::kIpAddrDisconnected;
    if (flag == "deleted") type |= platform::kIpAddrDeleted;
    if (flag == "transient") type |= platform::kIpAddrTransient;
  }
  return type;
}

const MappedDrive* MappedDriveOf(const Machine& machine, std::string_view name) {
  if (name.empty()) return nullptr;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
  for (const MappedDrive& drive : machine.network.drives)
    if (drive.letter == letter) return &drive;
  return nullptr;
}

}  // namespace

std::uint32_t SimNetwork::GetIpAddrTable(platform::IpAddrTable* table, std::uint32_t* size) {
  platform::ErrorCode error = 0;
  if (s_.Fails("GetIpAddrTable", &error)) return error;
  const auto& interfaces = s_.machine.network.interfaces;
  const auto needed = static_cast<std::uint32_t>(offsetof(platform::IpAddrTable, rows) +
                                                 interfaces.size() * sizeof(platform::IpAddrRow));
  if (table == nullptr || *size < needed) {
    *size = needed;
    return platform::kErrorInsufficientBuffer;
  }
  table->count = static_cast<std::uint32_t>(interfaces.size());
  for (std::size_t i = 0; i < interfaces.size(); ++i) {
    const NetworkInterface& entry = interfaces[i];
    platform::IpAddrRow row{};
    row.address = ParseAddress(entry.address).value_or(0);
    row.index = entry.index;
    row.mask = ParseAddress(entry.mask).value_or(0);
    row.broadcast = kBroadcastAsWindowsFillsIt;
    row.reassembly_size = 65535;
    row.type = TypeWord(entry.flags);
    // The rows run on past the one the structure declares.
    std::memcpy(reinterpret_cast<std::uint8_t*>(table) + offsetof(platform::IpAddrTable, rows) +
                    i * sizeof row,
                &row, sizeof row);
  }
  return 0;
}

std::uint32_t SimNetwork::GetBestInterface(std::uint32_t, std::uint32_t* index) {
  platform::ErrorCode error = 0;
  if (s_.Fails("GetBestInterface", &error)) return error;
  if (!s_.machine.network.best_interface) return kErrorNetworkUnreachable;
  *index = *s_.machine.network.best_interface;
  return 0;
}

int SimNetwork::InetPton(std::string_view text, std::uint32_t* address) {
  if (s_.Fails("InetPton")) return -1;
  const auto parsed = ParseAddress(text);
  if (!parsed) return 0;
  *address = *parsed;
  return 1;
}

bool SimNetwork::InetNtop(std::uint32_t address, std::string* text) {
  if (s_.Fails("InetNtop")) return false;
  std::uint8_t bytes[4];
  std::memcpy(bytes, &address, 4);
  *text = std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
          std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
  return true;
}

std::uint32_t SimNetwork::GetDriveType(std::string_view root) {
  if (s_.Fails("GetDriveType") || root.empty()) return kDriveUnknown;
  if (const MappedDrive* drive = MappedDriveOf(s_.machine, root))
    return drive->connected ? platform::kDriveRemote : platform::kDriveNoRootDir;
  std::error_code ec;
  const std::string letter(
      1, static_cast<char>(std::toupper(static_cast<unsigned char>(root.front()))));
  return std::filesystem::is_directory(s_.folder / "drives" / letter, ec)
             ? kDriveFixed
             : platform::kDriveNoRootDir;
}

std::uint32_t SimNetwork::WNetGetConnection(std::string_view local_name, std::string* remote_name) {
  platform::ErrorCode error = 0;
  if (s_.Fails("WNetGetConnection", &error)) return error;
  const MappedDrive* drive = MappedDriveOf(s_.machine, local_name);
  if (drive == nullptr) return kErrorNotConnected;
  if (drive->remote.size() >= 260) return platform::kErrorMoreData;
  *remote_name = drive->remote;
  return drive->connected ? 0 : platform::kErrorConnectionUnavail;
}

}  // namespace sim
