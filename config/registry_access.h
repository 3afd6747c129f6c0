// Reading and writing single registry values for the rest of the launcher.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"
#include "platform/registry.h"

struct Launcher;

// One value of a key under HKEY_LOCAL_MACHINE. `*type` holds the type the caller
// expects (REG_DWORD, REG_SZ, or 0 for either) and `*size` the buffer's size in bytes;
// afterwards both hold what the registry returned. A value of another type, or a
// DWORD that is not 4 bytes, is reported and not read. Debug records only.
bool GetRegistryValue(Launcher& l, std::string_view path, std::string_view name,
                      std::uint32_t* type, void* data, std::uint32_t* size);

// A text value of the launcher key: at most 100 bytes, the buffer cleared first.
using LauncherValue = FixedString<101>;
bool ReadLauncherValue(Launcher& l, std::string_view name, LauncherValue& value);

// Opens the launcher key for writing, creating it when it is missing; false after a
// record (a key that cannot be created is not an error: setup may be required).
bool OpenLauncherKeyForWriting(Launcher& l, platform::UniqueRegKey& key);

// "UsingTCache" = `value` (REG_DWORD) under the launcher key.
bool WriteUsingTCache(Launcher& l, std::uint32_t value);
