// One value line of a regedit export, as the simulated workstation's registry.reg and a
// workstation snapshot write it: "Name"= or @=, then a one-line text in quotes with "\"
// and '"' escaped, a four-byte DWORD as dword:, and anything else as hex bytes wrapped
// at 77 characters as regedit wraps them. The line ends with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

namespace regedit_detail {

// `value` in lower-case hex digits, at least `min_digits` of them.
inline std::string Hex(std::uint32_t value, int min_digits) {
  std::string digits;
  for (int i = 0; value != 0 || i < min_digits; ++i, value >>= 4)
    digits.insert(digits.begin(), "0123456789abcdef"[value & 0xF]);
  return digits;
}

inline void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

}  // namespace regedit_detail

inline void AppendRegeditValue(std::string& out, std::string_view name, std::uint32_t type,
                               const std::vector<std::uint8_t>& data) {
  constexpr std::uint32_t kText = 1;
  constexpr std::uint32_t kBinary = 3;
  constexpr std::uint32_t kDword = 4;
  constexpr std::size_t kWrapColumn = 77;
  using regedit_detail::AppendQuoted;
  using regedit_detail::Hex;
  std::string prefix;
  if (name.empty())
    prefix = "@";
  else
    AppendQuoted(prefix, name);
  prefix += '=';
  if (type == kText) {
    // regedit writes a text up to its first NUL, whatever follows it. A text with a
    // line break could not be read back as one line, so it is written as bytes.
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    if (text.find_first_of("\r\n") == std::string_view::npos) {
      out += prefix;
      AppendQuoted(out, text);
      out += "\r\n";
      return;
    }
  }
  if (type == kDword && data.size() == 4) {
    const std::uint32_t number =
        data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    out += prefix + "dword:" + Hex(number, 8) + "\r\n";
    return;
  }
  prefix += type == kBinary ? "hex:" : "hex(" + Hex(type, 1) + "):";
  out += prefix;
  std::size_t column = prefix.size();
  for (std::size_t i = 0; i < data.size(); ++i) {
    out += Hex(data[i], 2);
    if (i + 1 == data.size()) break;
    out += ',';
    column += 3;
    if (column >= kWrapColumn) {
      out += "\\\r\n  ";
      column = 2;
    }
  }
  out += "\r\n";
}

}  // namespace platform
