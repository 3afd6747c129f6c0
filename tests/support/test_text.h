// Small text helpers the tests share: whether a text holds a part, and a pointer as
// the launcher's records print it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace test_support {

inline bool Has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// `p` as "%p" prints it.
inline std::string Pointer(const void* p) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", p);
  return text;
}

}  // namespace test_support
