// Whether the vendor runtimes the product needs are installed and recent enough,
// read from the entries their installers leave in the registry.
#pragma once

#include <string_view>

struct Launcher;

// Component states.
inline constexpr int kComponentCurrent = 5;
inline constexpr int kComponentNeedsInstall = 2;
inline constexpr int kComponentUnsupported = -7;

// The 32-bit VC runtime: "Installed" is 1 and "Version" is recent enough.
bool IsRuntime32Installed(Launcher& l);

// The 64-bit VC runtime; always present on a 32-bit system, without a read.
bool IsRuntime64Installed(Launcher& l);

// The key's "Version" text is at least 14.21.27702.2.
bool CheckRuntimeVersion(Launcher& l, std::string_view key_path);

// .NET Framework 4.8: "Install" is 1 and "Release" at least 528040.
bool IsNetfx48Installed(Launcher& l);

// The .NET state for a system without .NET 4.8: kComponentNeedsInstall where its
// installer runs (Windows 10 1909 or Server 2019 and newer), else
// kComponentUnsupported.
int IsNet48Supported(Launcher& l);

// A 64-bit system: the launcher runs under WOW64 or is the 64-bit build.
bool Is64BitSystem(const Launcher& l);
