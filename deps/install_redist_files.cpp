// The runtime check of every standard start and the vendor installers it runs.
#include "deps/install_redist_files.h"

#include <string>

#include "access/install_authority.h"
#include "base/launcher.h"
#include "config/registry_access.h"
#include "deps/redist_rules.h"
#include "deps/runtime_detection.h"
#include "diag/log.h"
#include "install/file_checks.h"
#include "process/execute_app.h"
#include "ui/message_boxes.h"

namespace {

constexpr const char* kRuntime32Name = "Visual C/C++ 2022+ Runtimes (32-bit)";
constexpr const char* kRuntime64Name = "Visual C/C++ 2022+ Runtimes (64-bit)";
constexpr const char* kNetfxName = ".NET Framework 4.8";
constexpr const char* kNetfxInstaller = "ndp48-x86-x64-allos-enu.exe";

// An installer's parameters: they name its log in the cache folder and carry the extra
// options of `options_value`, which stay empty when they cannot be read. False when
// they do not fit the command line.
bool InstallerParameters(Launcher& l, InstallerKind kind, std::string_view installer, std::string_view cache_folder,
                         std::string_view options_value, CommandLine& parameters) {
  LauncherValue options;
  ReadLauncherValue(l, options_value, options);
  return BuildInstallerCommandLine(kind, cache_folder, installer, options.view(), parameters);
}

// The installer's exit code, or -1 when it could not be started.
std::int32_t RunInstaller(Launcher& l, const PathBuffer& path, bool parameters_fit, const CommandLine& parameters) {
  if (!parameters_fit) return -1;
  return ExecuteAppEx(l, l.run.StatusWindow, path.c_str(), parameters.view(), true, false);
}

void InstallNetfx(Launcher& l, const PathBuffer& redist_folder, const PathBuffer& cache_folder) {
  DebugLog(l, "InstallRedistFiles: %s requires installation or update.", kNetfxName);
  PathBuffer path;
  path.format_cut("%s%s", redist_folder.c_str(), kNetfxInstaller);
  if (!FileExist(l, path.view())) {
    ErrorLog(l, "InstallRedistFiles: WARNING!!! %s installer not found at %s", kNetfxName, path.c_str());
    return;
  }
  CommandLine parameters;
  const bool fit = InstallerParameters(l, InstallerKind::NetFramework, kNetfxInstaller, cache_folder.view(),
                                       "NetFxMSIOpts", parameters);
  DebugLog(l, "InstallRedistFiles: Launching %s installer... ( %s )", kNetfxName, path.c_str());
  const std::int32_t exit_code = RunInstaller(l, path, fit, parameters);
  const InstallerOutcome outcome = NetfxInstallerOutcome(exit_code);
  if (outcome.text == nullptr) return;
  if (outcome.error) ErrorLog(l, "InstallRedistFiles: %s %s", kNetfxName, outcome.text);
  else DebugLog(l, "InstallRedistFiles: %s %s", kNetfxName, outcome.text);
}

}  // namespace

bool InstallRuntime(Launcher& l, std::string_view display_name, std::string_view installer, int state,
                    std::string_view redist_folder, std::string_view cache_folder) {
  const std::string name(display_name);
  FixedString<100> state_text;
  state_text.assign_cut(InstallerStateText(state));
  DebugLog(l, "InstallRuntime: Installer status (%s): %s", name.c_str(), state_text.c_str());
  PathBuffer path;
  path.format_cut("%s%s", std::string(redist_folder).c_str(), std::string(installer).c_str());
  if (!FileExist(l, path.view())) {
    ErrorLog(l, "InstallRuntime: WARNING!!! %s installer not found at %s", name.c_str(), path.c_str());
    return false;
  }
  CommandLine parameters;
  const bool fit = InstallerParameters(l, InstallerKind::VcRuntime, installer, cache_folder, "VCRuntimeMSIOpts", parameters);
  DebugLog(l, "InstallRuntime: Launching %s installer... ( %s )", name.c_str(), path.c_str());
  if (RunInstaller(l, path, fit, parameters) == -1) {
    ErrorLog(l, "InstallRuntime: WARNING!!! %s installer at %s failed to launch.", name.c_str(), path.c_str());
    return false;
  }
  return true;
}

bool InstallRedistFiles(Launcher& l) {
  PathBuffer redist_folder;
  PathBuffer cache_folder;
  redist_folder.format_cut("%s%s", l.folders.CurrDir.c_str(), "redist\\");
  cache_folder.format_cut("%s_tcache1", l.folders.TCacheParentDir.c_str());
  DebugLog(l, "InstallRedistFiles: Using folder %s for redistributable files...", redist_folder.c_str());
  DebugLog(l, "InstallRedistFiles: Using folder %s for cache files...", cache_folder.c_str());
  if (!DirectoryExists(l, cache_folder.view())) {
    DebugLogText(l, "InstallRedistFiles: Creating cache folder...");
    (void)l.os.files.CreateDirectory(cache_folder.view());
  }

  const int x86_state = IsRuntime32Installed(l) ? kComponentCurrent : kComponentNeedsInstall;
  const int x64_state = IsRuntime64Installed(l) ? kComponentCurrent : kComponentNeedsInstall;
  const int netfx_state = IsNetfx48Installed(l) ? kComponentCurrent : IsNet48Supported(l);

  if (netfx_state != kComponentNeedsInstall && x86_state == kComponentCurrent &&
      (x64_state == kComponentCurrent || !l.sys.IsWow64)) {
    DebugLogText(l, "InstallRedistFiles: All required dependencies are installed and up-to-date.");
    return true;
  }
  DebugLogText(l, "InstallRedistFiles: One or more dependencies are not installed.");
  if (!HasInstallAuthority(l)) {
    ErrorLogText(l, "InstallRedistFiles: Tavix dependency install failed: Authority failure.");
    return false;
  }
  if (x86_state == kComponentNeedsInstall) {
    DebugLog(l, "InstallRedistFiles: %s requires installation or update.", kRuntime32Name);
    InstallRuntime(l, kRuntime32Name, "vc_redist.x86.exe", x86_state, redist_folder.view(), cache_folder.view());
  }
  if (l.sys.IsWow64 && x64_state == kComponentNeedsInstall) {
    DebugLog(l, "InstallRedistFiles: %s requires installation or update.", kRuntime64Name);
    InstallRuntime(l, kRuntime64Name, "vc_redist.x64.exe", x64_state, redist_folder.view(), cache_folder.view());
  }
  if (netfx_state == kComponentUnsupported)
    ShowErrorDialog(l,
                    "This operating system does not meet the requirements to automatically install the %s "
                    "runtimes.\n\nOne or more features may not function correctly.",
                    kNetfxName);
  else if (netfx_state == kComponentNeedsInstall)
    InstallNetfx(l, redist_folder, cache_folder);
  return true;
}
