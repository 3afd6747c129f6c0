// Simulated workstation: the registry as a tree of keys, read from and written back
// to registry.reg in the text format of regedit exports.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/machine.h"

namespace sim {

struct RegistryValue {
  std::string name;  // case as written; empty is the default value ("@")
  std::uint32_t type = 1;
  std::vector<std::uint8_t> data;
};

struct RegistryKey {
  std::string name;  // case as created
  std::vector<RegistryValue> values;  // in the order they were set
  std::map<std::string, std::unique_ptr<RegistryKey>, CaseInsensitiveLess> children;
  bool reflection = true;
  bool virtualization = true;

  RegistryKey* Child(std::string_view child_name) const;
  RegistryKey& AddChild(std::string_view child_name);  // existing or new
  const RegistryValue* Value(std::string_view value_name) const;
  void SetValue(RegistryValue value);  // replaces a value of the same name
};

// The roots by their full names (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
// HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG).
class RegistryTree {
 public:
  // The five roots, empty, as every Windows registry has them.
  RegistryTree();

  // The key at `path` ("HKEY_LOCAL_MACHINE\SOFTWARE\X"), or null.
  RegistryKey* Find(std::string_view path) const;
  // The key at `path`, created with its parents where missing; null for an unknown root
  // or an empty key name (as in "HKEY_LOCAL_MACHINE\SOFTWARE\" or "A\\B").
  RegistryKey* Create(std::string_view path);
  const std::map<std::string, std::unique_ptr<RegistryKey>, CaseInsensitiveLess>& roots() const {
    return roots_;
  }

 private:
  std::map<std::string, std::unique_ptr<RegistryKey>, CaseInsensitiveLess> roots_;
};

// Parses registry.reg; throws MachineFolderError naming `file_name` and the line.
RegistryTree ParseRegistryText(std::string_view text, const std::string& file_name);

// The export text: header, then every key in sorted order, CR LF line ends.
std::string WriteRegistryText(const RegistryTree& tree);

}  // namespace sim
