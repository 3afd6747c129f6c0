// The release name of Windows, read from the registry.
#pragma once

#include <string_view>

#include "base/fixed_string.h"

struct Launcher;

using CodeNameText = FixedString<32>;

// A text value of HKLM "Software\Microsoft\Windows NT\CurrentVersion", read in the
// 64-bit view into 32 bytes: true when the read succeeded. An absent value or path
// is no error; every other failure is an error record.
bool GetCurrentVersionValue(Launcher& l, std::string_view value_name, CodeNameText& value);

// "DisplayVersion", or "ReleaseId" when that is missing or empty: true with a
// non-empty name.
bool ReadCodeName(Launcher& l, CodeNameText& code_name);
