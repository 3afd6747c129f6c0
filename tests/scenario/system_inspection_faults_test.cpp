// Scenario tests of the system inspection's answers to failing system calls, each
// failure injected through the machine folder's [fail] section: the run goes on with
// a record, except when the launcher's own process token cannot be queried or WOW64
// redirection cannot be switched back on, which end it with exit code 6.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/debug_records.h"
#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

struct InspectionFault {
  const char* name;
  std::string machine;  // appended to machine.ini, [fail] included
  const char* command_line;
  int exit_status;
  const char* log;       // "debug", "error" or "ui"
  std::string expected;  // a message of that log, or a text of a ui.log line
};

class InspectionFaults : public ::testing::TestWithParam<InspectionFault> {};

TEST_P(InspectionFaults, AreReportedAsTheInspectionPrescribes) {
  const InspectionFault& c = GetParam();
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini", c.machine);
  RunResult run = m.Run(c.command_line);
  EXPECT_EQ(run.exit_status, c.exit_status) << run.out << run.err;
  const std::string log(c.log);
  if (log == "ui") {
    const auto lines = m.Lines("ui.log");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.find(c.expected) != std::string::npos; }))
        << c.expected;
    return;
  }
  std::vector<std::string> messages;
  if (log == "debug") {
    messages = DebugMessages(m.DebugLog());
  } else {
    for (const std::string& line : m.ErrorLog()) messages.push_back(line.size() > 34 ? line.substr(34) : "");
  }
  EXPECT_NE(std::find(messages.begin(), messages.end(), c.expected), messages.end()) << c.expected;
}

const std::string kInterface =
    "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary\nbest_interface = 11\n";

const InspectionFault kFaults[] = {
    // The system's own facts.
    {"GetVersionEx", "[fail]\nGetVersionEx = 1\n", "-d", 0, "error",
     "Unable to retrieve OS version data using GetVersionEx()."},
    {"VerifyVersionInfo", "[fail]\nVerifyVersionInfo = 4\n", "-d", 0, "debug",
     "Detected Operating System: \"Windows 8 Or Newer\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"},
    // The first lookup in kernel32 is the redirection guard's, for the launcher's own
    // version; the second GetProductInfo's.
    {"GetModuleHandle", "[fail]\nGetModuleHandle = 2\n", "-d", 0, "debug",
     "Detected Operating System: \"Windows 10 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"},
    {"GetProcAddress", "[fail]\nGetProcAddress = 3\n", "-d100", 0, "debug",
     "IsWow64: Process is not a 64-bit process. Also, OS does not support 64-bit processes."},
    {"GetProductInfo", "[fail]\nGetProductInfo = 1\n", "-d", 0, "debug",
     "Detected Operating System: \"Windows 10 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"},
    {"IsWow64Process", "[fail]\nIsWow64Process = 2\n", "-d100", 0, "debug",
     "IsWow64: Failed to call IsWow64Process(). Assuming process is not WOW64 emulated."},
    {"GetComputerName", "[fail]\nGetComputerName = 1\n", "-d", 0, "error",
     "Unable to retrieve workstation name using GetComputerName()."},
    {"GlobalMemoryStatusEx", "[fail]\nGlobalMemoryStatusEx = 1\n", "-d", 0, "debug",
     "Detected Memory Capacity: 0 MB Physical, 0 MB Virtual (approx)."},
    // Without the Windows folder the launcher's drive counts as another one: the product
    // is started from the cache, which could not be filled.
    {"SHGetKnownFolderPath", "[fail]\nSHGetKnownFolderPath = 1\n", "-d", 110, "error",
     "GetSpecialFolder: Could not retrieve Windows folder location. This operation may require rights that are "
     "being prevent by a system policy."},
    // The user and the token.
    {"GetUserName", "[fail]\nGetUserName = 1\n", "-d", 0, "error", "Unable to retrieve user name using GetUserName()."},
    {"OpenProcessToken", "[fail]\nOpenProcessToken = 1\n", "-d", 6, "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (OpenProcessToken). The launcher cannot "
     "continue; [WIN32 0x00000005/C0005] Access is denied. "},
    {"GetTokenInformation", "[fail]\nGetTokenInformation = 3:6\n", "-d", 6, "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (GetTokenInformation). The launcher cannot "
     "continue; [WIN32 0x00000006/C0006] The handle is invalid. "},
    {"DuplicateToken", "[user]\ntoken_admin = true\n[fail]\nDuplicateToken = 1\n", "-d", 6, "ui", "MESSAGEBOX"},
    {"AllocateAndInitializeSid", "[fail]\nAllocateAndInitializeSid = 1:8\n", "-d", 6, "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (AllocateAndInitializeSid). The launcher "
     "cannot continue; [WIN32 0x00000008/C0008] Not enough memory resources are available to process this command. "},
    {"CreateWellKnownSid", "[fail]\nCreateWellKnownSid = 1\n", "-d", 6, "debug",
     "Application is being aborted due to a critical error."},
    {"CheckTokenMembership", "[fail]\nCheckTokenMembership = 2\n", "-d", 6, "debug",
     "Ending launcher application with exit code 6."},
    {"LocalAlloc", "[fail]\nLocalAlloc = 1:8\n", "", 6, "ui", "MESSAGEBOX"},
    {"TokenQueryFails", "[user]\ntoken_query_fails = true\n", "-d", 6, "ui", "MESSAGEBOX"},
    // The network.
    {"GetIpAddrTable", kInterface + "[fail]\nGetIpAddrTable = 2:5\n", "-d", 0, "debug",
     "GetNetworkAddress failed with error 5"},
    {"GetBestInterface", kInterface + "[fail]\nGetBestInterface = 1\n", "-d", 0, "debug",
     "0: Interface 11:   IP: 192.168.20.57, Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), Type/State:Primary "},
    {"InetPton", "[fail]\nInetPton = 1:5\n", "-d", 0, "debug", "GetNetworkAddress failed with error: Access is denied. "},
    // The first conversion is the best interface's address for the record.
    {"InetNtop", kInterface + "[fail]\nInetNtop = 2\n", "-d", 0, "debug",
     "0: Interface 11:   IP: , Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), Type/State:Default;Primary "},
    {"GetDriveType", "[network]\ndrive.A = \\\\server\\a\n[fail]\nGetDriveType = 1\n", "-d", 0, "debug", "None."},
    {"WNetGetConnection", "[network]\ndrive.A = \\\\server\\a\n[fail]\nWNetGetConnection = 1:1222\n", "-d", 0, "debug",
     "'A:' -> Not Available"},
    // The redirection guard, first used for the launcher's own version before the logs
    // are open.
    {"Wow64DisableWow64FsRedirection", "[fail]\nWow64DisableWow64FsRedirection = 1\n", "-d", 0, "debug",
     "*** Dovrel Launch Successful. There were 2 non-fatal errors during startup. ***"},
    {"Wow64RevertWow64FsRedirection", "[fail]\nWow64RevertWow64FsRedirection = 1\n", "", 6, "ui", "MESSAGEBOX"},
};

INSTANTIATE_TEST_SUITE_P(Operations, InspectionFaults, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario
