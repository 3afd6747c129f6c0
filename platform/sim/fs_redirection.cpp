// Simulated workstation: WOW64 file-system redirection.
#include "platform/sim/fs_redirection.h"

#include "platform/sim/text_util.h"

namespace sim {
namespace {

// Sub-folders of System32 that a redirected process still reaches as they are.
constexpr std::string_view kExempt[] = {"catroot",     "catroot2", "drivers\\etc",
                                        "driverstore", "logfiles", "spool"};

// `path` is `folder` itself or lies below it; `*rest` is what follows the folder
// ("" or "\...").
bool Below(std::string_view path, std::string_view folder, std::string_view* rest) {
  if (!StartsWithIgnoreCase(path, folder)) return false;
  std::string_view after = path.substr(folder.size());
  if (!after.empty() && after.front() != '\\') return false;
  *rest = after;
  return true;
}

bool IsExempt(std::string_view rest_below_system32) {
  for (std::string_view exempt : kExempt) {
    std::string_view ignored;
    if (Below(rest_below_system32.substr(rest_below_system32.empty() ? 0 : 1), exempt, &ignored))
      return true;
  }
  return false;
}

}  // namespace

std::string RedirectedPath(std::string_view normal_path, std::string_view windows_folder) {
  std::string windows(windows_folder);
  while (!windows.empty() && windows.back() == '\\') windows.pop_back();
  const std::string system32 = windows + "\\System32";
  const std::string sysnative = windows + "\\Sysnative";
  std::string_view rest;
  if (Below(normal_path, system32, &rest)) {
    if (IsExempt(rest)) return std::string(normal_path);
    return windows + "\\SysWOW64" + std::string(rest);
  }
  if (Below(normal_path, sysnative, &rest)) return system32 + std::string(rest);
  return std::string(normal_path);
}

}  // namespace sim
