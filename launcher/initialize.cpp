// Preparing every run before a mode is chosen.
#include "launcher/initialize.h"

#include <cstdint>
#include <string>

#include "base/launcher.h"
#include "config/config_keys.h"
#include "deps/library_version.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "lifetime/com_library.h"
#include "launcher/command_line.h"
#include "launcher/launch_folder.h"
#include "platform/registry.h"
#include "sysinfo/known_folders_loader.h"
#include "sysinfo/mapped_drives.h"
#include "ui/status_window.h"

namespace {

// Raises the debug level from the DWORD value "Debug" of the launcher key.
void ReadDebugLevelFromRegistry(Launcher& l) {
  std::uint32_t value = 0;
  std::uint32_t size = sizeof value;
  const auto status = l.os.registry.RegGetValue(
      platform::kHKeyLocalMachine, kLauncherKeyPath, "Debug",
      platform::kRrfRtRegDword | platform::kRrfSubkeyWow6464Key, nullptr, &value, &size);
  if (status != 0) {
    // The logs are not open yet: this record only counts.
    ErrorDescription description;
    FormatErrorString(l, status, description);
    ErrorLog(l, "Tavix registry access error: Error while reading configuration subkey \"Debug\"; %s",
             description.c_str());
    return;
  }
  const auto level = static_cast<std::int32_t>(value);
  if (level > l.log.DebugLevel) {
    l.log.DebugLevel = level;
    l.log.LevelFromRegistry = true;
  }
}

}  // namespace

void Initialize(Launcher& l, std::string_view command_line) {
  std::string module_path;
  if (l.os.processes.GetModuleFileName(&module_path)) {
    // A longer module path than the buffer holds is cut, as the system would.
    l.run.LauncherPath.assign_cut(module_path);
  } else {
    ErrorDescription description;
    FormatErrorString(l, l.os.system.GetLastError(), description);
    ErrorLog(l, "Initialize: Failed to obtain the launcher's own path; %s", description.c_str());
  }
  l.run.LauncherVersion = GetLibraryVersion(l, l.run.LauncherPath.view());

  PathBuffer folder_with_backslash;
  const std::size_t last_backslash = l.run.LauncherPath.view().rfind('\\');
  if (last_backslash != std::string_view::npos) {
    const std::string_view folder = l.run.LauncherPath.view().substr(0, last_backslash);
    if (!l.os.files.SetCurrentDirectory(folder)) {
      ErrorDescription description;
      FormatErrorString(l, l.os.system.GetLastError(), description);
      ErrorLog(l, "Initialize: Failed to change the current folder to \"%.*s\"; %s",
               static_cast<int>(folder.size()), folder.data(), description.c_str());
    }
    l.run.LauncherFolder.assign_cut(folder);
    // The path is at most 259 characters and the backslash replaces a character of
    // the file name, so the folder with its backslash always fits.
    (void)folder_with_backslash.assign(l.run.LauncherPath.view().substr(0, last_backslash + 1));
  }

  InitParams(l, command_line);
  ReadDebugLevelFromRegistry(l);
  OpenLogFiles(l, folder_with_backslash.view());

  DebugLog(l, "Initialize: Command Line: %.*s", static_cast<int>(command_line.size()),
           command_line.data());
  DebugLog(l, "Initialize: Discovered %d arguments on command line.", l.run.ArgumentCount);
  if (l.log.LevelFromRegistry)
    DebugLog(l, "Initialize: Diagnostic Logging Enabled from Registry (LogLevel: %d)", l.log.DebugLevel);
  else
    DebugLog(l, "Initialize: Diagnostic Logging Enabled (LogLevel: %d)", l.log.DebugLevel);

  ClassifyArguments(l, true);
  InitStatusWindow(l);

  LoadKnownFoldersList(l);

  l.folders.CurrDir = folder_with_backslash;
  DebugLog(l, "Initialize: Application executing from \"%s\".", l.folders.CurrDir.c_str());
  ListMappedDrives(l);

  RecordLaunchFolder(l, kLauncherKeyPath);
  InitCOM(l);
}
