// Scenario tests: a machine folder built in a temporary folder, and launcher-sim run
// on it as a separate process, as a user or an acceptance test would run it.
#pragma once

#include <cstdio>

#include <gtest/gtest.h>

#include "tests/support/test_workstation.h"

namespace scenario {

using namespace test_support;

// The runtimes a current workstation has, where their installers leave them: both VC
// runtimes' keys in the 32-bit view of a 64-bit system, the 32-bit one also at its place
// on a 32-bit system (a key no 64-bit check reads), .NET Framework 4.8 in both views.
// A run finds every dependency current and asks for no rights.
inline constexpr const char* kCurrentRuntimeKeys =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86]\r\n"
    "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86]\r\n"
    "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64]\r\n"
    "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full]\r\n"
    "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ff4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full]\r\n"
    "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ff4\r\n\r\n";

// A registry.reg of a fresh Windows without the runtimes: the system values, then `sections`.
inline std::string WindowsRegistryFile(const std::string& sections = "") {
  return test_support::RegistryFile(sections);
}

// The configuration key as a repair leaves it; security.txt opens it to Everyone.
inline constexpr const char* kConfigKey =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.]\r\n\"_icode\"=dword:00000003\r\n\r\n";
inline constexpr const char* kConfigKeySecurity =
    "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;CI;KA;;;WD)(A;CI;KA;;;BA)\n";

// A registry.reg of a current workstation: the system values, the runtimes, the
// configuration key, then `sections`.
inline std::string RegistryFile(const std::string& sections = "") {
  return WindowsRegistryFile(kCurrentRuntimeKeys + (kConfigKey + sections));
}

// A current workstation with the launcher's folder and the product beside it, the
// product's configuration location, and an archive whose one record is unused: a run finds nothing to install
// and nothing missing. The registration utility and a redist\ folder without libraries
// leave the COM check nothing to register; the start menu's Programs folder, which
// Windows makes for every user, takes the launcher's shortcuts. A failed test leaves
// the folder for its reader. The configuration locations are those a repair leaves:
// the key open to Everyone, the program-data and cache folders, and a readable win.ini.
class Machine : public Workstation {
 public:
  Machine() {
    fs::create_directories(C("ProgramData/Veltrix"));
    fs::create_directories(C("Users/clerk/AppData/Local/Norvane/Portavel/_tcache1"));
    WriteC("Windows/win.ini", "; for 16-bit app support\r\n");
    Write("security.txt", kConfigKeySecurity);
    PutArchive({{}});
    WriteC("Portavel/tsystem1.exe", "product");
    WriteC("Portavel/UTL/InstCOM.exe", "utility");
    fs::create_directories(C("Portavel/redist"));
    fs::create_directories(C("Users/clerk/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"));
    Write("machine.ini", kMachineIni);
    Write("registry.reg", RegistryFile());
  }
  ~Machine() {
    if (!::testing::Test::HasFailure()) return;
    Keep();
    std::fprintf(stderr, "machine folder kept: %s\n", root().c_str());
  }
};

// The last line of the runner's output: "exit code N".
inline std::string LastLine(const std::string& out) {
  std::string text = out;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
}

// The user may write system locations: the token is an administrator's.
inline const std::string kAdminIni = std::string(kMachineIni) + "[user]\ntoken_admin = true\n";

// A machine of an administrator with the archive of `files` beside the launcher.
struct InstallMachine : Machine {
  explicit InstallMachine(const std::vector<tabpack::MemoryFile>& files, const std::string& ini = kAdminIni) {
    Write("machine.ini", ini);
    WriteC("Portavel/tsystem0.dll", tabpack::BuildArchive(files));
  }
  // A file already installed on drive C, with its time.
  void Installed(const std::string& path_on_c, const std::string& bytes, const tabpack::UtcTime& time) const {
    WriteC(path_on_c, bytes);
    fs::last_write_time(C(path_on_c), HostTime(time));
  }
  std::string ExitLine(const std::string& command_line) const { return LastLine(Run(command_line).out); }
};

}  // namespace scenario
