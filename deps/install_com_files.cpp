// The COM library step of every standard start.
#include "deps/install_com_files.h"

#include <string>

#include "access/install_authority.h"
#include "base/launcher.h"
#include "deps/com_rules.h"
#include "deps/library_version.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/backup.h"
#include "install/file_checks.h"
#include "install/fs_redirection.h"
#include "install/install_rules.h"
#include "platform/error_codes.h"
#include "process/execute_app.h"
#include "sysinfo/system_folder_rule.h"

namespace {

using platform::kErrorNoMoreFiles;

using Label = FixedString<256>;

// Runs the utility on `destination` and records what its exit code means; false on
// one of its error codes.
bool RunInstCOM(Launcher& l, std::string_view utility, const std::string& destination, Registration use) {
  PathBuffer parameters;
  const bool unregister = use == Registration::Unregister;
  if (!parameters.format(unregister ? "\"%s\" -Q -U" : "\"%s\" -Q", destination.c_str())) {
    ErrorLog(l, "InstallComponent: Library path too long for InstCOM: %s", destination.c_str());
    return false;
  }
  const std::int32_t exit_code = ExecuteAppEx(l, l.run.StatusWindow, utility, parameters.view(), true, unregister);
  const RegistrationOutcome outcome = InterpretInstCOMExit(use, exit_code);
  if (outcome.text == nullptr) return true;
  if (outcome.error) {
    ErrorLog(l, "%s", outcome.text);
    return false;
  }
  DebugLog(l, "%s", outcome.text);
  return true;
}

}  // namespace

bool InstallComponent(Launcher& l, std::string_view label, std::string_view source, std::string_view destination,
                      std::string_view utility, bool installed) {
  const std::string name(label);
  const std::string from(source);
  const std::string to(destination);
  DebugLog(l, "InstallComponent: Installing/Upgrading %s...", name.c_str());
  if (!HasInstallAuthority(l)) {
    ErrorLogText(l, "InstallComponent: Tavix COM/.NET Assembly install failed: Authority failure. You must be an "
                    "administrator.");
    return false;
  }
  if (installed) {
    if (!RunInstCOM(l, utility, to, Registration::Unregister)) return false;
    bool deleted = false;
    {
      FsRedirectionOff redirection(l);
      deleted = redirection.ok() && l.os.files.DeleteFile(destination);
    }
    if (!deleted) {
      ErrorLogText(l, "InstallComponent: Failed to delete existing library file for upgrading.");
      return false;
    }
  }
  DebugLog(l, "InstallFileName: Copying \"%s\" to \"%s\"", from.c_str(), to.c_str());
  bool copied = false;
  {
    FsRedirectionOff redirection(l);
    copied = redirection.ok() && l.os.files.CopyFile(source, destination, false);
  }
  if (!copied) {
    ErrorLog(l, "InstallFileName: Failed to copy \"%s\" to \"%s\"", from.c_str(), to.c_str());
    ErrorLogText(l, "InstallComponent: Failed to install library file.");
    return false;
  }
  return RunInstCOM(l, utility, to, Registration::Register);
}

bool CheckComponent(Launcher& l, std::string_view name, std::string_view source_folder,
                    std::string_view destination_folder, std::string_view utility) {
  const std::string file(name);
  PathBuffer source;
  PathBuffer destination;
  if (!source.format("%s%s", std::string(source_folder).c_str(), file.c_str()) ||
      !destination.format("%s%s", std::string(destination_folder).c_str(), file.c_str())) {
    ErrorLog(l, "CheckComponent: Expected source file not found: %s", file.c_str());
    return false;
  }
  if (!FileExist(l, source.view())) {
    ErrorLog(l, "CheckComponent: Expected source file not found: %s", source.c_str());
    return false;
  }
  const LibraryVersion offered = GetLibraryVersion(l, source.view());
  Label label;
  if (!offered.ProductName.empty()) {
    if (!offered.CompanyName.empty())
      label.format_cut("((%s, %s))", offered.CompanyName.c_str(), offered.ProductName.c_str());
    else
      label.format_cut("((%s))", offered.ProductName.c_str());
  }
  const bool installed = FileExist(l, destination.view());
  if (!installed) {
    DebugLog(l, "CheckComponent: %s %s Current Version: Not Installed, Installer Version: %d.%d.%d.%d",
             file.c_str(), label.c_str(), offered.Major, offered.Minor, offered.Build, offered.Revision);
  } else {
    const LibraryVersion current = GetLibraryVersion(l, destination.view());
    DebugLog(l, "CheckComponent: %s %s Current Version: %d.%d.%d.%d, Installer Version: %d.%d.%d.%d",
             file.c_str(), label.c_str(), current.Major, current.Minor, current.Build, current.Revision,
             offered.Major, offered.Minor, offered.Build, offered.Revision);
    if (!IsNewerVersion(offered, current) && !l.run.RepairMode) {
      DebugLogText(l, "CheckComponent: This component is installed and up-to-date.");
      return true;
    }
    (void)BackupFile(l, file, destination.view(), INSTALL_TO_SYS);
  }
  return InstallComponent(l, offered.ProductName.view(), source.view(), destination.view(), utility, installed);
}

bool InstallCOMFiles(Launcher& l) {
  PathBuffer source_folder;
  PathBuffer utility;
  source_folder.format_cut("%s%s", l.folders.CurrDir.c_str(), "redist\\");
  utility.format_cut("%s%s", l.folders.CurrDir.c_str(), "UTL\\InstCOM.exe");
  const PathBuffer& destination_folder = Uses32BitSystemFolder(l.sys) ? l.folders.SysWOW64Dir : l.folders.SysDir;
  DebugLog(l, "InstallCOMFiles: Using folder %s for redistributable COM assemblies...", source_folder.c_str());
  DebugLog(l, "InstallCOMFiles: Using folder %s as destination...", destination_folder.c_str());
  DebugLog(l, "InstallCOMFiles: Using path %s for COM assembly registration utility...", utility.c_str());
  if (!FileExist(l, utility.view())) {
    ErrorLogText(l, "InstallCOMFiles: Tavix COM assemblies check/install failed: Could not find InstCOM.exe.");
    return false;
  }
  if (!DisableFSCompatibility(l)) {
    ErrorLogText(l,
                 "InstallCOMFiles: Tavix COM assemblies check/install failed: Could not disable file system "
                 "redirection.");
    return false;
  }
  MessageBuffer pattern;
  pattern.format_cut("%s*.DLL", source_folder.c_str());
  DebugLogText(l, "InstallCOMFiles: Searching for new or updated components...");
  platform::FindData entry;
  const platform::Handle search = l.os.files.FindFirstFile(pattern.view(), &entry);
  const platform::ErrorCode start_error = l.os.system.GetLastError();
  EnableFSCompatibility(l);
  if (search == platform::kInvalidHandle) {
    if (start_error == platform::kErrorFileNotFound) {
      DebugLogText(l, "InstallCOMFiles: No valid assemblies located for installation.");
      return true;
    }
    FixedString<1024> description;
    FormatErrorString(l, start_error, description);
    ErrorLog(l, "Tavix COM assemblies check / install failed : Could not obtain source directory listing; %s",
             description.c_str());
    return false;
  }
  do {
    if ((entry.attributes & platform::kFileAttributeDirectory) == 0)
      CheckComponent(l, entry.name, source_folder.view(), destination_folder.view(), utility.view());
  } while (l.os.files.FindNextFile(search, &entry));
  const platform::ErrorCode end_error = l.os.system.GetLastError();
  l.os.files.FindClose(search);
  if (end_error == kErrorNoMoreFiles) return true;
  FixedString<1024> description;
  FormatErrorString(l, end_error, description);
  ErrorLog(l, "Tavix COM assemblies check / install failed : Error while reading source directory; %s",
           description.c_str());
  return false;
}
