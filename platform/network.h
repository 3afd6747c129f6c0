// The machine's network side: its IPv4 address table, the interface of the best
// route, address texts, drive types and the remote names of network drives. Every
// operation that can fail is failable by its name from a simulated machine's [fail].
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

// MIB_IPADDRROW: addresses in network byte order, as they lie in memory.
struct IpAddrRow {
  std::uint32_t address;
  std::uint32_t index;
  std::uint32_t mask;
  std::uint32_t broadcast;
  std::uint32_t reassembly_size;
  std::uint16_t unused;
  std::uint16_t type;
};
static_assert(sizeof(IpAddrRow) == 24);

// MIB_IPADDRTABLE: the count, then that many rows (one declared).
struct IpAddrTable {
  std::uint32_t count;
  IpAddrRow rows[1];
};

// The type word's flags.
inline constexpr std::uint16_t kIpAddrPrimary = 0x0001;
inline constexpr std::uint16_t kIpAddrDynamic = 0x0004;
inline constexpr std::uint16_t kIpAddrDisconnected = 0x0008;
inline constexpr std::uint16_t kIpAddrDeleted = 0x0040;
inline constexpr std::uint16_t kIpAddrTransient = 0x0080;

// GetDriveTypeA results the launcher tests.
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveRemote = 4;

// WNetGetConnectionA: a remembered connection that is not connected now.
inline constexpr ErrorCode kErrorConnectionUnavail = 1201;

class Network {
 public:
  virtual ~Network() = default;

  // GetIpAddrTable, unsorted, into `*size` bytes at `table`: 0, or an error code;
  // ERROR_INSUFFICIENT_BUFFER with `*size` set to the size the table needs.
  virtual std::uint32_t GetIpAddrTable(IpAddrTable* table, std::uint32_t* size) = 0;

  // GetBestInterface toward an address in network byte order: 0 or an error code.
  virtual std::uint32_t GetBestInterface(std::uint32_t destination, std::uint32_t* index) = 0;

  // inet_pton for IPv4: 1 with the address in network byte order, 0 when the text is
  // no address, -1 on failure (the last error tells why).
  virtual int InetPton(std::string_view text, std::uint32_t* address) = 0;

  // inet_ntop for IPv4: the dotted text of an address in network byte order.
  virtual bool InetNtop(std::uint32_t address, std::string* text) = 0;

  // GetDriveTypeA; DRIVE_UNKNOWN (0) when the type cannot be told.
  virtual std::uint32_t GetDriveType(std::string_view root) = 0;

  // WNetGetConnectionA with a buffer of 260 characters: 0 or an error code. With
  // ERROR_CONNECTION_UNAVAIL the remote name of the remembered connection is given.
  virtual std::uint32_t WNetGetConnection(std::string_view local_name,
                                          std::string* remote_name) = 0;
};

}  // namespace platform
