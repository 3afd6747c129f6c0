// Scenario tests of the launcher's answers to failing system calls, one row per
// platform operation, each failure injected through the machine folder's [fail]
// section: the failure, the run it happens in, and what the launcher makes of it.
// Most runs go on with a record; a few end with exit code 6 or 110.
#include <cctype>
#include <string>
#include <utility>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

struct FaultCase {
  // `log` is "debug", "error" or a journal such as "ui.log"; `expected` what it shows,
  // empty when it is empty; `machine` goes before the [fail] section.
  FaultCase(std::string fail, const char* log, std::string expected, int exit_status = 0,
            const char* command_line = "-d", std::string machine = "")
      : fail(std::move(fail)), log(log), expected(std::move(expected)), exit_status(exit_status),
        command_line(command_line), machine(std::move(machine)) {}
  std::string fail;  // the [fail] section's lines
  const char* log;
  std::string expected;
  int exit_status;
  const char* command_line;
  std::string machine;
};

class Fault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Fault, IsReportedAsTheLauncherPrescribes) {
  const FaultCase& c = GetParam();
  Machine m;
  m.Append("machine.ini", c.machine + "[fail]\n" + c.fail + "\n");
  EXPECT_EQ(m.Run(c.command_line).exit_status, c.exit_status);
  EXPECT_TRUE(c.expected.empty() ? m.Lines(c.log).empty() : m.Shows(c.log, c.expected)) << c.expected;
}

const std::string kAdmin = "[user]\ntoken_admin = true\n";
const std::string kInterface =
    "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary\nbest_interface = 11\n";

const FaultCase kFaults[] = {
    // Failures before the logs are open only count: the Debug value and the call.
    // Without its own folder the launcher cannot tell that it runs from Windows' drive: it
    // starts the product from the cache, where only the product itself could be copied.
    {"GetModuleFileName = 1:5", "debug",
     "*** Dovrel Launch Successful. There were 12 non-fatal errors during startup. ***"},
    {"SetCurrentDirectory = 1:3", "debug",
     "*** Dovrel Launch Successful. There were 2 non-fatal errors during startup. ***"},
    {"RegGetValue = 1:5", "debug", "There was 1 non-fatal error during startup."},
    // The first two keys opened are the system's: the release name and UAC's policy.
    {"RegOpenKeyEx = 3:5", "error",
     "Tavix registry access failed: Error while opening key \"SOFTWARE\\Veltrix Solutions Inc.\\Launcher\"; "
     "[WIN32 0x00000005/C0005] Access is denied. ",
     0, "-d", kAdmin},
    {"RegCreateKeyEx = 1:5", "debug", "Tavix registry access failed: Error while creating/opening key", 0, "-d",
     kAdmin},
    {"RegSetValueEx = 1:112", "error",
     "Tavix registry access failed: Error while writing key \"SOFTWARE\\Veltrix Solutions Inc.\\Launcher\" to "
     "\"LastRunFrom\"; [WIN32 0x00000070/C0112] There is not enough space on the disk. ",
     0, "-d", kAdmin},
    {"RegCloseKey = 1:6", "debug", "*** Dovrel Launch Successful. There was 1 non-fatal error during startup. ***", 0,
     "-d", kAdmin},
    {"CreateProcess = 1:5", "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. Permission to access the specified file is denied.; "
     "[WIN32 0x00000005/C0005]",
     110},
    {"CreateProcess = 1:31", "error",
     "ExecuteProcessEx: ERROR: The process has failed to start.; [WIN32 0x0000001f/C0031]", 110},
    // A cancelled start is no error of its own: only the missing Debug value counts.
    {"CreateProcess = 1:1223", "error", "*** Dovrel Launch Failed. There was 1 error during startup. ***", 110},
    {"AppendToFile = 1", "debug", "Portavel Desktop Launcher v1.0.0.0"},
    {"DeleteFile = 1", "debug", "WinMain: Standard Start."},
    {"GetPrivateProfileString = 1", "debug", "WinMain: Variable 'PVMainFile' set to \"C:\\Portavel\\pv_main.ini\"."},
    {"GetFileVersionInfoSize = 1", "debug", "TAVIX DEBUG     v0.0.0.0"},
    {"GetFileVersionInfo = 1", "debug", "TAVIX DEBUG     v0.0.0.0"},
    {"VerQueryValue = 1", "debug", "TAVIX DEBUG    Portavel Desktop Launcher v0.0.0.0"},
    {"FormatMessage = 2", "error", "FormatErrorString: Failed to retrieve formatted error description."},
    {"MessageBox = 1", "ui.log", "", 0, "-?"},
    {"CreateDialogParam = 1", "debug", "UpdateSubStatus: Launching Dovrel Please Wait..."},
    // Without fonts, background or progress bar the window still shows every step.
    {"CreateFont = 1, 2", "ui.log", "SUBSTATUS 100 \"Launching Dovrel Please Wait...\"", 0, ""},
    {"LoadBitmap = 1:1814", "ui.log", "STATUS \"Initializing Dovrel...\"", 0, ""},
    {"CreateWindowEx = 1", "ui.log", "SUBSTATUS 1 \"Inspecting operating system environment...\"", 0, ""},
    {"LoadString = 1\nHeapAlloc = 1:8", "ui.log",
     "MESSAGEBOX caption=\"\" style=0x00050010 text=\"An error has occurred:\\n\\nA critical error", 6, ""},
    {"HeapAlloc = 2:8\nHeapFree = 1", "ui.log", "Code: Initialize_485", 6},
    {"CloseHandle = 1:6", "debug", "*** Dovrel Launch Successful."},
    // The system's own facts.
    {"GetVersionEx = 1", "error", "Unable to retrieve OS version data using GetVersionEx()."},
    {"VerifyVersionInfo = 4", "debug",
     "Detected Operating System: \"Windows 8 Or Newer\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"},
    // The first lookup in kernel32 is the redirection guard's, for the launcher's own
    // version; the second GetProductInfo's.
    {"GetModuleHandle = 2", "debug",
     "Detected Operating System: \"Windows 10 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"},
    {"GetProcAddress = 3", "debug",
     "IsWow64: Process is not a 64-bit process. Also, OS does not support 64-bit processes.", 0, "-d100"},
    {"GetProductInfo = 1", "debug",
     "Detected Operating System: \"Windows 10 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"},
    {"IsWow64Process = 2", "debug", "IsWow64: Failed to call IsWow64Process(). Assuming process is not WOW64 emulated.",
     0, "-d100"},
    {"GetComputerName = 1", "error", "Unable to retrieve workstation name using GetComputerName()."},
    {"GlobalMemoryStatusEx = 1", "debug", "Detected Memory Capacity: 0 MB Physical, 0 MB Virtual (approx)."},
    // Without the Windows folder the launcher's drive counts as another one: the product
    // is started from the cache.
    {"SHGetKnownFolderPath = 1", "error",
     "GetSpecialFolder: Could not retrieve Windows folder location. This operation may require rights that are "
     "being prevent by a system policy."},
    // The user and the token.
    {"GetUserName = 1", "error", "Unable to retrieve user name using GetUserName()."},
    {"OpenProcessToken = 1", "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (OpenProcessToken). The launcher cannot "
     "continue; [WIN32 0x00000005/C0005] Access is denied. ",
     6},
    {"GetTokenInformation = 3:6", "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (GetTokenInformation). The launcher cannot "
     "continue; [WIN32 0x00000006/C0006] The handle is invalid. ",
     6},
    {"DuplicateToken = 1", "ui.log", "MESSAGEBOX", 6, "-d", kAdmin},
    {"AllocateAndInitializeSid = 1:8", "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (AllocateAndInitializeSid). The launcher "
     "cannot continue; [WIN32 0x00000008/C0008] Not enough memory resources are available to process this command. ",
     6},
    {"CreateWellKnownSid = 1", "debug", "Application is being aborted due to a critical error.", 6},
    {"CheckTokenMembership = 2", "debug", "Ending launcher application with exit code 6.", 6},
    {"LocalAlloc = 1:8", "ui.log", "MESSAGEBOX", 6, ""},
    {"", "ui.log", "MESSAGEBOX", 6, "-d", "[user]\ntoken_query_fails = true\n"},
    // The network.
    {"GetIpAddrTable = 2:5", "debug", "GetNetworkAddress failed with error 5", 0, "-d", kInterface},
    {"GetBestInterface = 1", "debug",
     "0: Interface 11:   IP: 192.168.20.57, Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), Type/State:Primary ", 0, "-d",
     kInterface},
    {"InetPton = 1:5", "debug", "GetNetworkAddress failed with error: Access is denied. "},
    // The first conversion is the best interface's address for the record.
    {"InetNtop = 2", "debug",
     "0: Interface 11:   IP: , Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), Type/State:Default;Primary ", 0, "-d",
     kInterface},
    {"GetDriveType = 1", "debug", "None.", 0, "-d", "[network]\ndrive.A = \\\\server\\a\n"},
    {"WNetGetConnection = 1:1222", "debug", "'A:' -> Not Available", 0, "-d", "[network]\ndrive.A = \\\\server\\a\n"},
    // The redirection guard, first used for the launcher's own version before the logs
    // are open.
    {"Wow64DisableWow64FsRedirection = 1", "debug",
     "*** Dovrel Launch Successful. There were 2 non-fatal errors during startup. ***"},
    {"Wow64RevertWow64FsRedirection = 1", "ui.log", "MESSAGEBOX", 6, ""},
};

INSTANTIATE_TEST_SUITE_P(Operations, Fault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) {
                           std::string name;
                           for (char c : info.param.fail + info.param.machine)
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

}  // namespace
}  // namespace scenario
