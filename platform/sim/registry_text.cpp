// Simulated workstation: registry.reg, the registry in the text format of regedit
// exports.
//
// Values are written as regedit writes them: texts quoted with '\' and '"' escaped,
// DWORDs as dword:0000012c, everything else as hex bytes wrapped to 80 columns.
// Reading accepts what the writer produces plus hand-written files: LF or CR LF,
// blank lines and ';' comments anywhere, dword with 1 to 8 digits, hex digits in
// either case, and a backslash in a quoted text that escapes nothing kept as it is
// ("C:\Portavel" reads as C:\Portavel). Deleting keys or values ("[-KEY]", "x"=-)
// has no meaning in a description of a machine and is refused.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/regedit_value.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/text_lines.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// Windows' own limits: a key name holds at most 255 characters, the tree is at most
// 512 levels deep.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxDepth = 512;


int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1 to `max_digits` hex digits and nothing else.
bool ParseHex(std::string_view text, std::size_t max_digits, std::uint32_t* value) {
  if (text.empty() || text.size() > max_digits) return false;
  *value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return false;
    *value = *value * 16 + static_cast<std::uint32_t>(digit);
  }
  return true;
}

class RegistryReader {
 public:
  RegistryReader(std::string_view text, const std::string& file_name)
      : lines_(text, file_name), file_name_(file_name) {}

  RegistryTree Read() {
    std::string_view line;
    if (!lines_.Next(&line) || TrimBlanks(line) != kHeader)
      Fail("the first line is not \"" + std::string(kHeader) + "\"");
    while (lines_.Next(&line)) {
      const std::string_view text = TrimBlanks(line);
      if (text.empty()) continue;
      if (text.front() == ';') {
        ReadComment(text.substr(1));
      } else if (text.front() == '[') {
        ReadSection(text);
      } else if (text.front() == '"' || text.front() == '@') {
        ReadValue(text);
      } else {
        Fail("not a [key], a \"value\"=, @= or a ; comment");
      }
    }
    return std::move(tree_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw MachineFolderError(file_name_, lines_.number(), what);
  }

  // "; reflection=off" and "; virtualization=off" set the key's switches; other
  // comments are only comments.
  void ReadComment(std::string_view text) {
    if (key_ == nullptr) return;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view name = TrimBlanks(text.substr(0, equals));
    const std::string_view state = TrimBlanks(text.substr(equals + 1));
    const bool on = EqualsIgnoreCase(state, "on");
    if (!on && !EqualsIgnoreCase(state, "off")) return;
    if (EqualsIgnoreCase(name, "reflection")) key_->reflection = on;
    if (EqualsIgnoreCase(name, "virtualization")) key_->virtualization = on;
  }

  void ReadSection(std::string_view text) {
    if (text.back() != ']') Fail("a key's line does not end with ']'");
    const std::string_view path = text.substr(1, text.size() - 2);
    if (!path.empty() && path.front() == '-') Fail("deleting a key is not supported");
    std::size_t depth = 0;
    for (std::string_view rest = path;; ++depth) {
      const std::size_t end = rest.find('\\');
      const std::string_view name = rest.substr(0, end);
      if (depth == 0 && tree_.roots().find(name) == tree_.roots().end())
        Fail("unknown root key \"" + std::string(name) + "\"");
      if (name.empty()) Fail("a key with an empty name in \"" + std::string(path) + "\"");
      if (name.size() > kMaxKeyNameLength)
        Fail("a key name longer than " + std::to_string(kMaxKeyNameLength) + " characters");
      if (depth > kMaxDepth) Fail("a key deeper than " + std::to_string(kMaxDepth) + " levels");
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
    key_ = tree_.Create(path);
  }

  // A quoted text from `text[*pos]` (the opening quote) on; `*pos` ends after the
  // closing quote.
  std::string ReadQuoted(std::string_view text, std::size_t* pos) const {
    std::string result;
    std::size_t i = *pos + 1;
    while (i < text.size() && text[i] != '"') {
      if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
        ++i;
      result += text[i++];
    }
    if (i == text.size()) Fail("a quoted text without its closing quote");
    *pos = i + 1;
    return result;
  }

  void ReadValue(std::string_view text) {
    if (key_ == nullptr) Fail("a value before the first [key]");
    RegistryValue value;
    std::size_t pos = 1;
    if (text.front() == '"') {
      pos = 0;
      value.name = ReadQuoted(text, &pos);
    }
    std::string_view data = TrimBlanks(text.substr(pos));
    if (data.empty() || data.front() != '=') Fail("a value name not followed by '='");
    data = TrimBlanks(data.substr(1));

    if (data.empty()) Fail("a value without data");
    if (data == "-") Fail("deleting a value is not supported");
    if (data.front() == '"') {
      pos = 0;
      const std::string string = ReadQuoted(data, &pos);
      if (pos != data.size()) Fail("text after the closing quote");
      value.type = kRegSz;
      value.data.assign(string.begin(), string.end());
      value.data.push_back(0);
    } else if (StartsWithIgnoreCase(data, "dword:")) {
      std::uint32_t number = 0;
      if (!ParseHex(data.substr(6), 8, &number)) Fail("dword: needs 1 to 8 hex digits");
      value.type = kRegDword;
      for (int shift = 0; shift < 32; shift += 8)
        value.data.push_back(static_cast<std::uint8_t>(number >> shift));
    } else if (StartsWithIgnoreCase(data, "hex:")) {
      value.type = kRegBinary;
      value.data = ReadHexBytes(data.substr(4));
    } else if (StartsWithIgnoreCase(data, "hex(")) {
      const std::size_t close = data.find("):");
      if (close == std::string_view::npos || !ParseHex(data.substr(4, close - 4), 8, &value.type))
        Fail("hex(N): needs a type N of 1 to 8 hex digits");
      value.data = ReadHexBytes(data.substr(close + 2));
    } else {
      Fail("data that is not \"text\", dword:, hex: or hex(N):");
    }
    key_->SetValue(std::move(value));
  }

  // Comma-separated hex bytes; a line ending in '\' continues on the next.
  std::vector<std::uint8_t> ReadHexBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    while (true) {
      text = TrimBlanks(text);
      const bool continued = !text.empty() && text.back() == '\\';
      if (continued) text = TrimBlanks(text.substr(0, text.size() - 1));
      if (continued && !text.empty()) {
        if (text.back() != ',') Fail("a continued hex line must end with \",\\\"");
        text.remove_suffix(1);
      }
      while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view digits = TrimBlanks(text.substr(0, comma));
        std::uint32_t byte = 0;
        if (!ParseHex(digits, 2, &byte)) Fail("\"" + std::string(digits) + "\" is not a hex byte");
        bytes.push_back(static_cast<std::uint8_t>(byte));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (text.empty()) Fail("a hex list ending with ','");
      }
      if (!continued) return bytes;
      if (!lines_.Next(&text)) Fail("a hex list continued past the end of the file");
    }
  }

  LineReader lines_;
  const std::string& file_name_;
  RegistryTree tree_;
  RegistryKey* key_ = nullptr;  // the key of the current section
};

// The key's section, then its children's, sorted. A root is written only when it has
// something of its own: the roots exist in every registry.
void AppendKey(std::string& out, const std::string& path, const RegistryKey& key, bool is_root) {
  if (!is_root || !key.values.empty() || !key.reflection || !key.virtualization) {
    out += "[" + path + "]" + std::string(kLineEnd);
    if (!key.reflection) out += "; reflection=off" + std::string(kLineEnd);
    if (!key.virtualization) out += "; virtualization=off" + std::string(kLineEnd);
    for (const RegistryValue& value : key.values)
      platform::AppendRegeditValue(out, value.name, value.type, value.data);
    out += kLineEnd;
  }
  for (const auto& [name, child] : key.children)
    AppendKey(out, path + "\\" + child->name, *child, false);
}

}  // namespace

RegistryTree ParseRegistryText(std::string_view text, const std::string& file_name) {
  // An empty file is an empty registry, as a folder may start without one.
  if (text.empty()) return RegistryTree();
  return RegistryReader(SkipByteOrderMark(text), file_name).Read();
}

std::string WriteRegistryText(const RegistryTree& tree) {
  std::string out(kHeader);
  out += kLineEnd;
  out += kLineEnd;
  for (const auto& [name, root] : tree.roots()) AppendKey(out, root->name, *root, true);
  return out;
}

}  // namespace sim
