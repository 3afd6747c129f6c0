// The registry values the runtime check reads: the entries the vendor installers
// leave under HKEY_LOCAL_MACHINE, and the launcher's own installer options.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"

struct Launcher;

// The kinds of value a read asks for: any type, a DWORD or a text.
inline constexpr std::uint32_t kAnyValue = 0;
inline constexpr std::uint32_t kTextValue = 1;
inline constexpr std::uint32_t kDwordValue = 4;

// Reads value `name` of HKLM\`key_path` in the 64-bit view into `buffer` of `size`
// bytes; false, with a developer record, when the key or value is missing, of
// another type than asked for, larger than the buffer, or not readable.
bool ReadMachineValue(Launcher& l, std::string_view key_path, std::string_view name,
                      std::uint32_t kind, void* buffer, std::uint32_t size);

// The text of value `name` of the launcher's key, in at most 100 bytes; empty when
// it cannot be read.
using InstallerOptions = FixedString<100>;
InstallerOptions ReadInstallerOptions(Launcher& l, std::string_view name);
