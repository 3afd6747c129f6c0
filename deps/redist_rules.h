// The decisions about the vendor runtimes that need no machine: the version-text
// comparison, the installer state texts, the installer command lines and what an
// installer's exit code means.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"

// The oldest VC runtime the product runs with: 14.21.27702.2.
inline constexpr int kMinimumRuntimeVersion[4] = {14, 21, 27702, 2};

// The oldest .NET Framework 4.8 release number.
inline constexpr std::int32_t kMinimumNetfxRelease = 528040;

// True when a runtime's "Version" text ("v14.40.33810.00") is at least the minimum.
// Letters of the first field are ignored; each field counts its leading digits;
// missing fields count 0; a text without any field is false.
bool RuntimeVersionIsCurrent(std::string_view version_text);

// The text shown for an installer state (-7 to 5; "? Unknown return code." else).
const char* InstallerStateText(int state);

enum class InstallerKind { VcRuntime, NetFramework };

using CommandLine = FixedString<260>;

// The installer's parameters with its log file `<cache_folder>\<installer>.log` and
// the extra Windows Installer options: those count only when they hold a character
// other than a space, and their double quotes become single quotes. Options that
// do not fit are left out; false when not even the line without them fits.
bool BuildInstallerCommandLine(InstallerKind kind, std::string_view cache_folder,
                               std::string_view installer, std::string_view options,
                               CommandLine& command_line);

// What the .NET installer's exit code means: the record's text after the display
// name ("install succeeded.") and whether it is an error record; null for a code
// that is not reported.
struct InstallerOutcome {
  const char* text;
  bool error;
};
InstallerOutcome NetfxInstallerOutcome(std::int32_t exit_code);
