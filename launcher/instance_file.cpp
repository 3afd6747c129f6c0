// The instance file instance.t1: INI text in a fixed order of sections and keys,
// values as they are, without quoting. Each run overwrites it.
#include "launcher/instance_file.h"

#include <cstdio>
#include <string>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"

namespace {

void AddLine(std::string& text, std::string_view line) { text.append(line).append("\n"); }

void AddValue(std::string& text, std::string_view key, std::string_view value) {
  text.append(key).append("=").append(value).append("\n");
}

void AddFlag(std::string& text, std::string_view key, bool value) {
  AddValue(text, key, value ? "Y" : "N");
}

// The engine commands, upper-cased already, joined with commas; false when they do
// not fit in 259 characters.
bool JoinEngineCommands(const RunState& run, PathBuffer& joined) {
  joined.clear();
  for (int i = 0; i < run.EngineCommandCount; ++i) {
    if (i > 0 && !joined.append(",")) return false;
    if (!joined.append(run.EngineCommands[i])) return false;
  }
  return true;
}

std::string InstanceText(const Launcher& l, std::string_view command_line, const PathBuffer& engine_commands) {
  const RunState& run = l.run;
  const KnownFoldersList& folders = l.folders;
  const SystemInfoObject& sys = l.sys;
  char number[48];
  std::string text;

  AddLine(text, "[INSTANCE]");
  AddValue(text, "LAUNCHER", "TAVIX");
  AddValue(text, "TAVIX", run.LauncherPath.view());
  std::snprintf(number, sizeof number, "%d.%d.%d.%d", run.LauncherVersion.Major, run.LauncherVersion.Minor,
                run.LauncherVersion.Build, run.LauncherVersion.Revision);
  AddValue(text, "TAVIXVER", number);
  // The launcher is a 32-bit program.
  AddValue(text, "TAVIXTYPE", "32");
  AddValue(text, "ARGS", command_line);
  AddValue(text, "CMDLINE", engine_commands.view());
  AddValue(text, "WFOLDER", run.LauncherFolder.view());
  if (folders.FoldersLoaded) {
    AddLine(text, "[ENVIRONMENT]");
    AddValue(text, "WINDIR", folders.WinDir.view());
    AddValue(text, "SYSDIR", folders.SysDir.view());
    AddValue(text, "USERDIR", folders.UserDir.view());
    AddValue(text, "PROGDATADIR", folders.ProgDataDir.view());
    AddValue(text, "TCACHEPARENTDIR", folders.TCacheParentDir.view());
  }
  // The paths are set also when nothing is logged.
  AddValue(text, "TAVIXDEBUGLOG", l.log.DebugLogPath.view());
  AddValue(text, "TAVIXERRORLOG", l.log.ErrorLogPath.view());

  AddLine(text, "[METRICS]");
  AddValue(text, "USERNAME", sys.UserName.view());
  AddValue(text, "OSNAME", sys.OSName.view());
  if (sys.HasVersionInfo) {
    std::snprintf(number, sizeof number, "%u.%u.%u", static_cast<unsigned>(sys.VersionInfo.MajorVersion),
                  static_cast<unsigned>(sys.VersionInfo.MinorVersion),
                  static_cast<unsigned>(sys.VersionInfo.BuildNumber));
    AddValue(text, "OSVERSION", number);
  }
  if (sys.HardwareLoaded) {
    AddValue(text, "COMPUTERNAME", sys.ComputerName.view());
    AddValue(text, "CPUNAME", sys.CPUName.view());
  }
  if (sys.NetworkLoaded) AddValue(text, "IPADDRESS", sys.IPAddress.view());
  if (sys.UserLoaded) {
    AddFlag(text, "ISUSERLOCALADMIN", sys.IsUserLocalAdmin);
    AddFlag(text, "ISUSERDOMAINADMIN", sys.IsUserDomainAdmin);
    AddFlag(text, "ISPROCESSELEVATED", sys.IsProcessElevated);
    AddFlag(text, "ISUACENABLED", sys.IsUACEnabled);
    AddFlag(text, "ADMININVOKED", sys.AdminInvoked);
  }
  return text;
}

}  // namespace

bool CreateT1File(Launcher& l, bool cache_flag, std::string_view command_line, PathBuffer& path) {
  PathBuffer engine_commands;
  if (!JoinEngineCommands(l.run, engine_commands)) {
    ErrorLogText(l, "CreateT1File: The engine commands are longer than 259 characters; the instance file is not written.");
    return false;
  }
  // Beside the copy of the product that is started.
  PathBuffer file;
  const bool fits = cache_flag ? file.format("%s_tcache1\\instance.t1", l.folders.TCacheParentDir.c_str())
                               : file.format("%sinstance.t1", l.folders.CurrDir.c_str());
  if (!fits) {
    ErrorLogText(l, "CreateT1File: The instance file's path is longer than 259 characters; the file is not written.");
    return false;
  }
  if (cache_flag)
    DebugLogLevel(l, kDeveloperLevel, "CreateT1File: Using _tcache1 folder location for output: %s", file.c_str());
  else
    DebugLogLevel(l, kDeveloperLevel, "CreateT1File: Using local install folder location for output: %s",
                  file.c_str());

  int c_runtime_error = 0;
  if (!l.os.files.WriteTextFile(file.view(), InstanceText(l, command_line, engine_commands), &c_runtime_error)) {
    ErrorDescription description;
    FormatErrorString(l, static_cast<std::uint32_t>(c_runtime_error), description, ErrorCodeKind::Errno);
    ErrorLog(l, "Failed to create T1 instance file \"%s\"; %s", file.c_str(), description.c_str());
    return false;
  }
  path = file;
  return true;
}
