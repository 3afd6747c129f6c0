// tabpack: escaping and cutting outside text for messages and listings.
#include "tools/tabpack/shown_text.h"

namespace tabpack {

std::string Shown(std::string_view text, std::size_t longest) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool printable = byte >= 0x20 && byte < 0x7F;
    if (shown.size() + (printable ? 1 : 4) > longest) return shown + "...";
    if (printable) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    }
  }
  return shown;
}

std::string QuotedShown(std::string_view text, std::size_t longest) {
  return "\"" + Shown(text, longest) + "\"";
}

}  // namespace tabpack
