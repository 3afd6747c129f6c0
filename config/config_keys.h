// The launcher's own registry keys under HKEY_LOCAL_MACHINE and the access masks it
// opens them with; every mask addresses the 64-bit view, so that the 32-bit launcher
// sees the keys 64-bit programs see.
#pragma once

#include <cstdint>

#include "platform/registry.h"

inline constexpr const char* kConfigCompanyName = "Veltrix Solutions Inc.";
inline constexpr const char* kConfigKeyPath = "SOFTWARE\\Veltrix Solutions Inc.";
inline constexpr const char* kLauncherKeyPath = "SOFTWARE\\Veltrix Solutions Inc.\\Launcher";

inline constexpr std::uint32_t kRegReadAccess = platform::kKeyRead | platform::kKeyWow64_64Key;        // 0x20119
inline constexpr std::uint32_t kRegWriteAccess = platform::kKeyWrite | platform::kKeyWow64_64Key;      // 0x20106
inline constexpr std::uint32_t kRegCreateAccess = platform::kKeyAllAccess | platform::kKeyWow64_64Key; // 0xF013F
