// The version resource of a file: four version numbers and four texts.
#pragma once

#include <cstdint>

#include "base/fixed_string.h"

struct LibraryVersion {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Build = 0;
  std::int32_t Revision = 0;
  FixedString<256> ProductName;
  FixedString<256> CompanyName;
  FixedString<256> FileDescription;
  FixedString<256> LegalCopyright;
};
