// Simulated workstation: the registry as a tree of keys.
#include "platform/sim/registry_tree.h"

#include <algorithm>

#include "platform/sim/text_util.h"

namespace sim {
namespace {

constexpr std::string_view kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                           "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                           "HKEY_CURRENT_CONFIG"};

// The names along `path` ("HKEY_LOCAL_MACHINE\SOFTWARE" holds two); none when one of
// them is empty.
std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> names;
  while (true) {
    const std::size_t end = path.find('\\');
    names.push_back(path.substr(0, end));
    if (names.back().empty()) return {};
    if (end == std::string_view::npos) return names;
    path.remove_prefix(end + 1);
  }
}

}  // namespace

RegistryKey* RegistryKey::Child(std::string_view child_name) const {
  const auto found = children.find(child_name);
  return found == children.end() ? nullptr : found->second.get();
}

RegistryKey& RegistryKey::AddChild(std::string_view child_name) {
  auto found = children.find(child_name);
  if (found == children.end()) {
    auto child = std::make_unique<RegistryKey>();
    child->name = child_name;
    found = children.emplace(std::string(child_name), std::move(child)).first;
  }
  return *found->second;
}

const RegistryValue* RegistryKey::Value(std::string_view value_name) const {
  const auto found = std::find_if(
      values.begin(), values.end(),
      [value_name](const RegistryValue& v) { return EqualsIgnoreCase(v.name, value_name); });
  return found == values.end() ? nullptr : &*found;
}

void RegistryKey::SetValue(RegistryValue value) {
  // A value set again keeps its place and the case of its name, as on Windows.
  for (RegistryValue& existing : values) {
    if (EqualsIgnoreCase(existing.name, value.name)) {
      existing.type = value.type;
      existing.data = std::move(value.data);
      return;
    }
  }
  values.push_back(std::move(value));
}

RegistryTree::RegistryTree() {
  for (std::string_view name : kRootNames) {
    auto root = std::make_unique<RegistryKey>();
    root->name = name;
    roots_.emplace(std::string(name), std::move(root));
  }
}

RegistryKey* RegistryTree::Find(std::string_view path) const {
  const std::vector<std::string_view> names = SplitPath(path);
  if (names.empty()) return nullptr;
  const auto root = roots_.find(names.front());
  if (root == roots_.end()) return nullptr;
  RegistryKey* key = root->second.get();
  for (std::size_t i = 1; i < names.size() && key != nullptr; ++i) key = key->Child(names[i]);
  return key;
}

RegistryKey* RegistryTree::Create(std::string_view path) {
  const std::vector<std::string_view> names = SplitPath(path);
  if (names.empty()) return nullptr;
  const auto root = roots_.find(names.front());
  if (root == roots_.end()) return nullptr;
  RegistryKey* key = root->second.get();
  for (std::size_t i = 1; i < names.size(); ++i) key = &key->AddChild(names[i]);
  return key;
}

}  // namespace sim
