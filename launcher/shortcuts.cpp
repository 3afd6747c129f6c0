// Writing the launcher's shortcuts through the shell link object.
#include "launcher/shortcuts.h"

#include <string>

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/file_checks.h"
#include "platform/shell.h"

namespace {

constexpr const char* kDiagnosticDescription = "Starts the Dovrel PV launcher program in diagnostic mode.";

// The link's interfaces, released on every way out.
class LinkScope {
 public:
  LinkScope(Launcher& l, platform::ShellLink link) : l_(l), link_(link) {}
  ~LinkScope() { l_.os.shell.ReleaseShellLink(link_); }
  LinkScope(const LinkScope&) = delete;
  LinkScope& operator=(const LinkScope&) = delete;

 private:
  Launcher& l_;
  platform::ShellLink link_;
};

ErrorDescription Describe(Launcher& l, platform::HResult result) {
  ErrorDescription description;
  FormatErrorString(l, static_cast<std::uint32_t>(result), description, ErrorCodeKind::HResult);
  return description;
}

// Writes the link when it is missing or in repair mode; false when that failed.
bool EnsureShortcut(Launcher& l, const PathBuffer& link_path, std::string_view arguments,
                    std::string_view description) {
  if (FileExist(l, link_path.view()) && !l.run.RepairMode) return true;
  return CreateShortcut(l, link_path.view(), arguments, description);
}

void EnsureFolder(Launcher& l, const PathBuffer& folder) {
  if (!DirectoryExists(l, folder.view())) (void)l.os.files.CreateDirectory(folder.view());
}

}  // namespace

bool CreateShortcut(Launcher& l, std::string_view link_path, std::string_view arguments,
                    std::string_view description) {
  PathBuffer path;
  path.assign_cut(link_path);
  PathBuffer target = l.run.LauncherPath;
  PathBuffer folder = l.run.LauncherFolder;
  FixedString<1024> describe;
  FixedString<1024> args;
  describe.assign_cut(description);
  args.assign_cut(arguments);
  DebugLog(l, "CreateShortcut: Creating shortcut \"%s\" pointing to \"%s\" (\"%s\").", path.c_str(), target.c_str(),
           describe.c_str());
  LogNestingScope nesting(l);

  platform::ShellLink link = 0;
  const platform::HResult created = l.os.shell.CreateShellLink(&link);
  if (created < 0) {
    ErrorLog(l, "CreateShortcut: Unable to create instance of IShellLink; %s", Describe(l, created).c_str());
    return false;
  }
  LinkScope release(l, link);
  DebugLogDetailText(l, "CreateShortcut: CoCreateInstance for CLSID_ShellLink returned SUCCESS.");

  using Field = platform::ShellLinkField;
  platform::HResult result = l.os.shell.SetShellLinkField(link, Field::Path, target.view());
  DebugLogLevel(l, kDeveloperLevel, "CreateShortcut: Call to psl->SetPath(\"%s\") result: %s", target.c_str(),
                Describe(l, result).c_str());
  result = l.os.shell.SetShellLinkField(link, Field::WorkingDirectory, folder.view());
  DebugLogLevel(l, kDeveloperLevel, "CreateShortcut: Call to psl->SetWorkingDirectory(\"%s\") result: %s",
                folder.c_str(), Describe(l, result).c_str());
  result = l.os.shell.SetShellLinkField(link, Field::Description, describe.view());
  DebugLogLevel(l, kDeveloperLevel, "CreateShortcut: Call to psl->SetDescription(\"%s\") result: %s",
                describe.c_str(), Describe(l, result).c_str());
  result = l.os.shell.SetShellLinkField(link, Field::Arguments, args.view());
  DebugLogLevel(l, kDeveloperLevel, "CreateShortcut: Call to psl->SetArguments(\"%s\") result: %s", args.c_str(),
                Describe(l, result).c_str());
  result = l.os.shell.SetShellLinkField(link, Field::IconLocation, target.view());
  DebugLogLevel(l, kDeveloperLevel, "CreateShortcut: Call to psl->SetIconLocation(\"%s\", 0) result: %s",
                target.c_str(), Describe(l, result).c_str());

  result = l.os.shell.QueryPersistFile(link);
  if (result < 0) {
    ErrorLog(l, "CreateShortcut: Unable to query interface IPersistFile from IShellLink; %s",
             Describe(l, result).c_str());
    return false;
  }
  {
    TraceScope trace(l, "ConvertToWChar");
    DebugLogLevel(l, kDeveloperLevel, "ConvertToWChar: Multi-byte. destsize=%u", 260u);
  }
  result = l.os.shell.SaveShellLink(link, path.view());
  if (result < 0) {
    ErrorLog(l, "CreateShortcut: Call to IPersistFile::Save failed; %s", Describe(l, result).c_str());
    return false;
  }
  DebugLogText(l, "CreateShortcut: Shortcut created successfully.");
  return true;
}

bool CreateHelperShortcuts(Launcher& l) {
  bool all_written = true;
  PathBuffer diagnostics;
  PathBuffer link;
  DebugLogText(l, "CreateHelperShortcuts: Checking/creating start menu shortcuts...");
  {
    LogNestingScope nesting(l);
    const PathBuffer& start_menu = l.folders.StartMenuDir;
    EnsureFolder(l, start_menu);
    link.format_cut("%s\\Veltrix Dovrel.LNK", start_menu.c_str());
    all_written &= EnsureShortcut(l, link, "-i", "Veltrix Dovrel PV");
    diagnostics.format_cut("%s\\Diagnostics", start_menu.c_str());
    EnsureFolder(l, diagnostics);
    link.format_cut("%s\\Veltrix Dovrel (Diagnostic Mode).LNK", diagnostics.c_str());
    all_written &= EnsureShortcut(l, link, "-d -i", kDiagnosticDescription);
  }
  DebugLogText(l, "CreateHelperShortcuts: Checking/creating helper shortcuts...");
  {
    LogNestingScope nesting(l);
    link.format_cut("%s\\Veltrix Dovrel (Diagnostic Mode).LNK", l.folders.CurrDir.c_str());
    all_written &= EnsureShortcut(l, link, "-d -i", kDiagnosticDescription);
    link.format_cut("%s\\Veltrix Dovrel (Clear Users).LNK", l.folders.CurrDir.c_str());
    all_written &= EnsureShortcut(l, link,  "-i CLEAR",
                                  "Starts the Dovrel PV launcher program and force clears all active users from the "
                                  "system.");
  }
  return all_written;
}
