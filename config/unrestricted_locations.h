// The tests and repairs of locations every workstation user must be able to write:
// whether a file or folder grants full access, folders created or opened up with the
// unrestricted descriptor, and the configuration key opened to Everyone.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/registry.h"

struct Launcher;

// True when the file exists and the user who started the launcher holds full access.
// Always false before Windows 7.
bool IsFileUnrestricted(Launcher& l, std::string_view path);

// True when the folder exists and Everyone (`check_everyone`) or the user who started
// the launcher holds full access. Always false before Windows 7.
bool IsFolderUnrestricted(Launcher& l, std::string_view path, bool check_everyone);

// Creates the folder with the unrestricted descriptor, or merges its entries into an
// existing folder's access list. Needs administrator rights and Windows 7 or newer;
// false when nothing was attempted.
bool CreateUnrestrictedFolder(Launcher& l, std::string_view path);

// Grants Everyone full access to an open key (READ_CONTROL and WRITE_DAC needed): 0
// when the key's access list could not be read, merged or written, 1 otherwise, also
// when nothing was attempted. `path` names the key in the records.
std::uint32_t RemoveRegistryKeySecurity(Launcher& l, platform::RegKey key, std::string_view path);
