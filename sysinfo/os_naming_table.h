// The operating system's display name and edition word, from its version numbers,
// product type, edition number and release name. Pure functions over the two tables
// in os_naming_table.cpp, so that every row can be exercised without a machine.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"

using OsNameText = FixedString<64>;

// The edition word of a GetProductInfo product code: empty for 0, the table's word,
// or "(ProductCode 0X31)" for a code the table does not name.
void EditionNameFor(std::uint32_t product_code, OsNameText& edition);

// What the name is chosen by.
struct OsNamingFacts {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platform_id = 0;
  std::uint8_t product_type = 0;
  bool xp_sp3_or_greater = false;
  bool win7_sp1_or_greater = false;
  bool win10_or_greater = false;
  bool server = false;
  std::string_view edition;    // empty: the plain forms
  std::string_view code_name;  // empty: no release name was read
};

struct OsNameChoice {
  OsNameText name;  // cut to 63 characters
  bool supported = false;
  bool windows7 = false;  // the Windows 7 end-of-support statement follows the name
};

OsNameChoice ChooseOsName(const OsNamingFacts& facts);

// Group C of the names (6.2 and later) is the only one that reads a release name.
bool IsWindows8OrLater(std::uint32_t major, std::uint32_t minor);
