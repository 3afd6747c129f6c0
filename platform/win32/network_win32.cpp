// Windows side: the IP helper, address texts, drive types and network connections.
#include "platform/win32/network_win32.h"

#include <cstddef>
#include <string>

namespace win32 {
namespace {

static_assert(sizeof(platform::IpAddrRow) == sizeof(MIB_IPADDRROW));
static_assert(offsetof(platform::IpAddrTable, rows) == offsetof(MIB_IPADDRTABLE, table));

}  // namespace

std::uint32_t Win32Network::GetIpAddrTable(platform::IpAddrTable* table, std::uint32_t* size) {
  ULONG bytes = *size;
  const DWORD result = ::GetIpAddrTable(reinterpret_cast<PMIB_IPADDRTABLE>(table), &bytes, FALSE);
  *size = bytes;
  return result;
}

std::uint32_t Win32Network::GetBestInterface(std::uint32_t destination, std::uint32_t* index) {
  DWORD best = 0;
  const DWORD result = ::GetBestInterface(destination, &best);
  if (result == NO_ERROR) *index = best;
  return result;
}

int Win32Network::InetPton(std::string_view text, std::uint32_t* address) {
  IN_ADDR binary = {};
  const int result = inet_pton(AF_INET, std::string(text).c_str(), &binary);
  if (result == 1) *address = binary.S_un.S_addr;
  // Winsock reports its errors through WSAGetLastError, the thread's last error.
  if (result < 0) SetLastError(static_cast<DWORD>(WSAGetLastError()));
  return result;
}

bool Win32Network::InetNtop(std::uint32_t address, std::string* text) {
  IN_ADDR binary = {};
  binary.S_un.S_addr = address;
  char buffer[16] = {};
  if (inet_ntop(AF_INET, &binary, buffer, sizeof buffer) == nullptr) return false;
  text->assign(buffer);
  return true;
}

std::uint32_t Win32Network::GetDriveType(std::string_view root) {
  return GetDriveTypeA(std::string(root).c_str());
}

std::uint32_t Win32Network::WNetGetConnection(std::string_view local_name,
                                              std::string* remote_name) {
  char buffer[260] = {};
  DWORD length = sizeof buffer;
  const DWORD result = WNetGetConnectionA(std::string(local_name).c_str(), buffer, &length);
  if (result == NO_ERROR || result == ERROR_CONNECTION_UNAVAIL) remote_name->assign(buffer);
  return result;
}

}  // namespace win32
