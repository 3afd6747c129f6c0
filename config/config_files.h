// The legacy settings files that the product still reads from the cache parent
// folder, copied there from the Windows folder.
#pragma once

#include <string_view>

struct Launcher;

// The settings files, always relocated in this order.
inline constexpr std::string_view kLegacySettingsFiles[] = {"tavix.ini", "tpengine.ini", "tavix.var"};

// True when the cache parent folder lies inside the Windows folder: such a folder is
// never checked, created or written to.
bool IsCacheParentDefaulted(const Launcher& l);

// Copies WinDir\name to TCacheParentDir\name unless the destination exists; false
// only when a copy was attempted and failed. Always pauses 150 ms.
bool RelocateConfigFile(Launcher& l, std::string_view name);

// Every legacy settings file, in order.
void RelocateConfigFiles(Launcher& l);

// The preload's configuration step: relocation only, and none into a defaulted cache
// parent folder.
void RelocateLegacySettings(Launcher& l);
