// The machine-free decisions about the vendor runtimes.
#include "deps/redist_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace {

// Leading decimal digits with an optional sign, as atoi reads them; 0 when none.
// Saturated so that an absurdly long field cannot overflow.
std::int64_t LeadingNumber(std::string_view field) {
  std::size_t at = 0;
  bool negative = false;
  if (at < field.size() && (field[at] == '-' || field[at] == '+')) negative = field[at++] == '-';
  std::int64_t value = 0;
  for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at)
    value = std::min<std::int64_t>(value * 10 + (field[at] - '0'), INT32_MAX);
  return negative ? -value : value;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool RuntimeVersionIsCurrent(std::string_view version_text) {
  // Fields are the non-empty runs between dots, as strtok finds them.
  std::array<std::int64_t, 4> fields{};
  std::size_t count = 0;
  std::size_t start = 0;
  while (count < fields.size() && start < version_text.size()) {
    std::size_t dot = version_text.find('.', start);
    if (dot == std::string_view::npos) dot = version_text.size();
    const std::string_view field = version_text.substr(start, dot - start);
    start = dot + 1;
    if (field.empty()) continue;
    if (count == 0) {
      std::string digits;
      for (char c : field)
        if (!IsAsciiLetter(c)) digits += c;
      fields[count++] = LeadingNumber(digits);
    } else {
      fields[count++] = LeadingNumber(field);
    }
  }
  if (count == 0) return false;
  for (std::size_t i = 0; i < 3; ++i) {
    if (fields[i] > kMinimumRuntimeVersion[i]) return true;
    if (fields[i] < kMinimumRuntimeVersion[i]) return false;
  }
  return fields[3] >= kMinimumRuntimeVersion[3];
}

const char* InstallerStateText(int state) {
  static constexpr const char* kTexts[] = {
      "-7 Component Disabled",
      "-6 Configuration data corrupt",
      "-5 Installation suspended or in progress",
      "-4 Run from source, source is unavailable",
      "-3 Return buffer overflow",
      "-2 Invalid function argument",
      "-1 Unrecognized product or feature",
      "0 Broken Installation",
      "1 Component being removed (action state, not settable)",
      "2 Uninstalled (or action state absent but clients remain)",
      "3 Installed on local drive",
      "4 Run directly from source, CD or network location.",
      "5 Use default, local or source installation.",
  };
  if (state < -7 || state > 5) return "? Unknown return code.";
  return kTexts[state + 7];
}

bool BuildInstallerCommandLine(InstallerKind kind, std::string_view cache_folder,
                               std::string_view installer, std::string_view options,
                               CommandLine& command_line) {
  const std::string cache(cache_folder);
  const std::string file(installer);
  // Only the first 100 characters are options; the rest of a longer value is not read.
  std::string extra(options.substr(0, 100));
  const bool has_options = extra.find_first_not_of(' ') != std::string::npos;
  for (char& c : extra)
    if (c == '"') c = '\'';
  const bool vc = kind == InstallerKind::VcRuntime;
  if (has_options) {
    const bool fits =
        vc ? command_line.format("/passive /promptrestart /log \"%s\\%s.log\" /msioptions \"%s\"",
                                 cache.c_str(), file.c_str(), extra.c_str())
           : command_line.format(
                 "/passive /promptrestart /showrmui /chainingpackage tavix /log \"%s\\%s.log\" "
                 "/msioptions \"%s\"",
                 cache.c_str(), file.c_str(), extra.c_str());
    if (fits) return true;
  }
  // Options that do not fit are left out rather than cut inside their quotes.
  return vc ? command_line.format("/passive /promptrestart /log \"%s\\%s.log\"", cache.c_str(), file.c_str())
            : command_line.format(
                  "/passive /promptrestart /showrmui /chainingpackage tavix /log \"%s\\%s.log\"",
                  cache.c_str(), file.c_str());
}

InstallerOutcome NetfxInstallerOutcome(std::int32_t exit_code) {
  switch (exit_code) {
    case 0: return {"install succeeded.", false};
    case 1602: return {"install failed. The user cancelled installation.", false};
    case 1603: return {"install failed. A fatal error occurred during installation.", true};
    case 1641:
    case 3010:
      return {"install succeeded. A restart is required to complete the installation.", false};
    case 5100:
      return {"install failed. The user's computer does not meet system requirements.", true};
    default: return {nullptr, false};
  }
}
