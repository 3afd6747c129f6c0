// The facts of a workstation as a snapshot records them, in the terms of a machine
// folder's machine.ini.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace snapshot {

struct MachineRecord {
  // [os]
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t service_pack_major = 0;
  std::uint32_t service_pack_minor = 0;
  std::uint8_t product_type = 1;  // 1 workstation, 2 domain controller, 3 server
  std::uint32_t product_code = 0;
  std::uint32_t architecture = 0;
  bool wow64 = false;
  // [machine]
  std::string computer_name;
  std::uint64_t memory_bytes = 0;
  std::string cpu_brand;
  std::uint32_t processors = 0;
  std::uint32_t processor_level = 0;
  std::uint32_t processor_revision = 0;
  std::uint32_t dpi = 96;
  std::int32_t utc_offset = 0;
  // [user]; name, domain and sid are left out when they could not be read.
  std::string user_name;
  std::string user_domain;
  std::string user_sid;
  bool administrators_member = false;
  bool token_admin = false;
  bool elevated = false;
  std::uint32_t integrity_rid = 0x2000;
  // [launcher]
  std::uint32_t launcher_bits = 32;
  std::string launcher_path;
  std::string launcher_version;  // empty: the file has no version resource
  // [versions]: Windows path -> "a.b.c.d".
  std::vector<std::pair<std::string, std::string>> versions;
  // [folders]: key -> Windows path, empty when it did not resolve.
  std::vector<std::pair<std::string, std::string>> folders;
  // [network]
  struct Interface {
    std::string address;
    std::string mask;
    std::uint32_t index = 0;
    std::uint16_t type = 0;  // the address table's type word
  };
  std::vector<Interface> interfaces;
  std::optional<std::uint32_t> best_interface;
  struct Drive {
    char letter = 'Z';
    std::string remote;
    bool connected = true;
  };
  std::vector<Drive> drives;
  // [fail]: operation -> the error every call of it meets.
  std::vector<std::pair<std::string, std::uint32_t>> failures;

  // Whether the machine's own processor is a 64-bit one (IA64, x64, ARM64).
  bool Is64BitMachine() const { return architecture == 6 || architecture == 9 || architecture == 12; }
};

}  // namespace snapshot
