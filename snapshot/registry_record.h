// Registry keys and values as a snapshot records them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace snapshot {

struct RegistryValueRecord {
  std::string name;  // empty: the key's default value
  std::uint32_t type = 1;
  std::vector<std::uint8_t> data;
};

struct RegistryKeyRecord {
  std::string path;  // "HKEY_LOCAL_MACHINE\SOFTWARE\..."
  bool reflection_off = false;
  std::vector<RegistryValueRecord> values;
};

}  // namespace snapshot
