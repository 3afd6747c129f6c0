// Writes keys in the text format of regedit exports. Texts are quoted with "\" and
// '"' escaped; every value that is not a plain one-line text or a four-byte DWORD is
// written as hex bytes, wrapped at 77 characters as regedit wraps them.
#include "snapshot/registry_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <string_view>

#include "snapshot/control_characters.h"

namespace snapshot {
namespace {

constexpr std::uint32_t kText = 1;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kBinary = 3;

void Quoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

// A text value that fits one line: stored with its terminator and no line break.
bool IsPlainText(const RegistryValueRecord& value, std::string_view* text) {
  if (value.type != kText) return false;
  std::string_view bytes(reinterpret_cast<const char*>(value.data.data()), value.data.size());
  bytes = bytes.substr(0, bytes.find('\0'));
  if (bytes.find_first_of("\r\n") != std::string_view::npos) return false;
  *text = bytes;
  return true;
}

void HexValue(std::string& out, std::size_t line_start, const RegistryValueRecord& value) {
  char prefix[16];
  if (value.type == kBinary)
    std::snprintf(prefix, sizeof prefix, "hex:");
  else
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
  out += prefix;
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", value.data[i]);
    out += byte;
    if (i + 1 == value.data.size()) break;
    out += ',';
    if (out.size() - line_start >= 77) {
      out += "\\\r\n  ";
      line_start = out.size() - 2;
    }
  }
}

void Value(std::string& out, const RegistryValueRecord& value) {
  const std::size_t line_start = out.size();
  if (value.name.empty())
    out += '@';
  else
    Quoted(out, value.name);
  out += '=';
  std::string_view text;
  if (IsPlainText(value, &text)) {
    Quoted(out, text);
  } else if (value.type == kDword && value.data.size() == 4) {
    char dword[16];
    const std::uint32_t number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                 static_cast<std::uint32_t>(value.data[3]) << 24;
    std::snprintf(dword, sizeof dword, "dword:%08x", number);
    out += dword;
  } else {
    HexValue(out, line_start, value);
  }
  out += "\r\n";
}

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
      if (IsWritableName(value.name)) Value(out, value);
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
