// Writes keys in the text format of regedit exports, their values as the simulated
// workstation writes them (platform/regedit_value.h).
#include "snapshot/registry_text.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "platform/regedit_value.h"
#include "snapshot/control_characters.h"

namespace snapshot {
namespace {

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// Parents before children, siblings without regard to case: the order of regedit.
bool KeyBefore(std::string_view a, std::string_view b) {
  while (!a.empty() && !b.empty()) {
    const std::string left = Folded(a.substr(0, a.find('\\')));
    const std::string right = Folded(b.substr(0, b.find('\\')));
    if (left != right) return left < right;
    a.remove_prefix(std::min(a.size(), left.size() + 1));
    b.remove_prefix(std::min(b.size(), right.size() + 1));
  }
  return a.empty() && !b.empty();
}

// A name with a control character cannot be written on one line: such a value,
// which the launcher never names, is left out.
bool IsWritableName(std::string_view name) {
  return !HasControlCharacter(name);
}

void Section(std::string& out, std::string_view path, const RegistryKeyRecord* key) {
  out += '[';
  out += path;
  out += "]\r\n";
  if (key != nullptr) {
    if (key->reflection_off) out += "; reflection=off\r\n";
    for (const auto& value : key->values)
      if (IsWritableName(value.name)) platform::AppendRegeditValue(out, value.name, value.type, value.data);
  }
  out += "\r\n";
}

}  // namespace

std::string RegistryText(const std::vector<RegistryKeyRecord>& keys) {
  std::vector<const RegistryKeyRecord*> sorted;
  for (const auto& key : keys) sorted.push_back(&key);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto* a, const auto* b) { return KeyBefore(a->path, b->path); });

  // Every key below a root is written, those between a root and a captured key
  // too, each with the spelling it was first written in.
  std::string out = "Windows Registry Editor Version 5.00\r\n\r\n";
  std::map<std::string, std::string> written;  // folded path -> path as written
  for (const RegistryKeyRecord* key : sorted) {
    std::string spelled;
    for (std::size_t at = 0; at <= key->path.size(); ++at) {
      if (at != key->path.size() && key->path[at] != '\\') continue;
      const std::string prefix = key->path.substr(0, at);
      const std::string part = prefix.substr(spelled.empty() ? 0 : spelled.size() + 1);
      spelled = spelled.empty() ? prefix : spelled + "\\" + part;
      const auto [entry, added] = written.emplace(Folded(prefix), spelled);
      spelled = entry->second;
      const bool root = prefix.find('\\') == std::string::npos;
      if (added && !root) Section(out, spelled, at == key->path.size() ? key : nullptr);
    }
  }
  return out;
}

}  // namespace snapshot
