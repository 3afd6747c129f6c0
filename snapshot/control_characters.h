// Control characters, which no name in a machine folder's text files may hold.
#pragma once

#include <algorithm>
#include <string_view>

namespace snapshot {

inline bool IsControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20; }

inline bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), IsControlCharacter);
}

}  // namespace snapshot
