// Scenario tests of the launcher's answers to failing system calls, one row per
// platform operation, each failure injected through the machine folder's [fail]
// section: the failure, the run it happens in, and what the launcher makes of it.
// Most runs go on with a record; a few end with exit code 6 or 110.
#include <string>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

struct FaultCase {
  const char* name;
  std::string machine;  // appended to machine.ini, [fail] included
  const char* command_line;
  int exit_status;
  const char* log;       // "debug", "error" or a journal such as "ui.log"
  std::string expected;  // what that log shows; empty: the log is empty
};

class Fault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Fault, IsReportedAsTheLauncherPrescribes) {
  const FaultCase& c = GetParam();
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini", c.machine);
  RunResult run = m.Run(c.command_line);
  EXPECT_EQ(run.exit_status, c.exit_status) << run.out << run.err;
  if (c.expected.empty()) {
    EXPECT_TRUE(m.Lines(c.log).empty());
  } else {
    EXPECT_TRUE(m.Shows(c.log, c.expected)) << c.expected;
  }
}

const std::string kInterface =
    "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary\nbest_interface = 11\n";

const FaultCase kFaults[] = {
    // Failures before the logs are open only count: the Debug value and the call.
    // Without its own folder the launcher cannot tell that it runs from Windows' drive: it
    // starts the product from the cache, which its failed copies left empty.
    {"GetModuleFileName", "[fail]\nGetModuleFileName = 1:5\n", "-d", 110, "debug",
     "*** Dovrel Launch Failed. There were 14 errors during startup. ***"},
    {"SetCurrentDirectory", "[fail]\nSetCurrentDirectory = 1:3\n", "-d", 0, "debug",
     "*** Dovrel Launch Successful. There were 2 non-fatal errors during startup. ***"},
    {"RegGetValue", "[fail]\nRegGetValue = 1:5\n", "-d", 0, "debug",
     "There was 1 non-fatal error during startup."},
    // The first two keys opened are the system's: the release name and UAC's policy.
    {"RegOpenKeyEx", "[user]\ntoken_admin = true\n[fail]\nRegOpenKeyEx = 3:5\n", "-d", 0, "error",
     "Tavix registry access failed: Error while opening key \"SOFTWARE\\Veltrix Solutions Inc.\\Launcher\"; "
     "[WIN32 0x00000005/C0005] Access is denied. "},
    {"RegCreateKeyEx", "[user]\ntoken_admin = true\n[fail]\nRegCreateKeyEx = 1:5\n", "-d", 0, "debug",
     "Tavix registry access failed: Error while creating/opening key"},
    {"RegSetValueEx", "[user]\ntoken_admin = true\n[fail]\nRegSetValueEx = 1:112\n", "-d", 0, "error",
     "Tavix registry access failed: Error while writing key \"SOFTWARE\\Veltrix Solutions Inc.\\Launcher\" to "
     "\"LastRunFrom\"; [WIN32 0x00000070/C0112] There is not enough space on the disk. "},
    {"RegCloseKey", "[user]\ntoken_admin = true\n[fail]\nRegCloseKey = 1:6\n", "-d", 0, "debug",
     "*** Dovrel Launch Successful. There was 1 non-fatal error during startup. ***"},
    {"CreateProcessFileNotFound", "[fail]\nCreateProcess = 1:2\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. The specified file was not found.; [WIN32 0x00000002/C0002]"},
    {"CreateProcessPathNotFound", "[fail]\nCreateProcess = 1:3\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. The specified path was not found.; [WIN32 0x00000003/C0003]"},
    {"CreateProcessAccessDenied", "[fail]\nCreateProcess = 1:5\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. Permission to access the specified file is denied.; [WIN32 0x00000005/C0005]"},
    {"CreateProcessNoMemory", "[fail]\nCreateProcess = 1:8\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. There is not enough memory to perform the specified action.; [WIN32 0x00000008/C0008]"},
    {"CreateProcessSharing", "[fail]\nCreateProcess = 1:32\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. A sharing violation occurred.; [WIN32 0x00000020/C0032]"},
    {"CreateProcessNoAssociation", "[fail]\nCreateProcess = 1:1155\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. There is no application associated with the specified file name extension.; [WIN32 0x00000483/C1155]"},
    {"CreateProcessDllMissing", "[fail]\nCreateProcess = 1:1157\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start. One of the library files necessary to run the application can't be found.; [WIN32 0x00000485/C1157]"},
    {"CreateProcessOther", "[fail]\nCreateProcess = 1:31\n", "-d", 110, "error",
     "ExecuteProcessEx: ERROR: The process has failed to start.; [WIN32 0x0000001f/C0031]"},
    // A cancelled start is no error of its own: only the missing Debug value counts.
    {"CreateProcessCancelled", "[fail]\nCreateProcess = 1:1223\n", "-d", 110, "error",
     "*** Dovrel Launch Failed. There was 1 error during startup. ***"},
    {"AppendToFile", "[fail]\nAppendToFile = 1\n", "-d", 0, "debug",
     "Portavel Desktop Launcher v1.0.0.0"},
    {"DeleteFile", "[fail]\nDeleteFile = 1\n", "-d", 0, "debug", "WinMain: Standard Start."},
    {"GetPrivateProfileString", "[fail]\nGetPrivateProfileString = 1\n", "-d", 0, "debug",
     "WinMain: Variable 'PVMainFile' set to \"C:\\Portavel\\pv_main.ini\"."},
    {"GetFileVersionInfoSize", "[fail]\nGetFileVersionInfoSize = 1\n", "-d", 0, "debug",
     "TAVIX DEBUG     v0.0.0.0"},
    {"GetFileVersionInfo", "[fail]\nGetFileVersionInfo = 1\n", "-d", 0, "debug", "TAVIX DEBUG     v0.0.0.0"},
    {"VerQueryValue", "[fail]\nVerQueryValue = 1\n", "-d", 0, "debug", "TAVIX DEBUG    Portavel Desktop Launcher v0.0.0.0"},
    {"FormatMessage", "[fail]\nFormatMessage = 2\n", "-d", 0, "error",
     "FormatErrorString: Failed to retrieve formatted error description."},
    {"MessageBox", "[fail]\nMessageBox = 1\n", "-?", 0, "ui.log", ""},
    {"CreateDialogParam", "[fail]\nCreateDialogParam = 1\n", "-d", 0, "debug",
     "UpdateSubStatus: Launching Dovrel Please Wait..."},
    // Without fonts, background or progress bar the window still shows every step.
    {"CreateFont", "[fail]\nCreateFont = 1, 2\n", "", 0, "ui.log",
     "SUBSTATUS 100 \"Launching Dovrel Please Wait...\""},
    {"LoadBitmap", "[fail]\nLoadBitmap = 1:1814\n", "", 0, "ui.log", "STATUS \"Initializing Dovrel...\""},
    {"CreateWindowEx", "[fail]\nCreateWindowEx = 1\n", "", 0, "ui.log",
     "SUBSTATUS 1 \"Inspecting operating system environment...\""},
    {"LoadString", "[fail]\nLoadString = 1\nHeapAlloc = 1:8\n", "", 6, "ui.log",
     "MESSAGEBOX caption=\"\" style=0x00050010 text=\"An error has occurred:\\n\\nA critical error"},
    {"HeapAlloc", "[fail]\nHeapAlloc = 2:8\n", "", 6, "ui.log", "Code: Initialize_485"},
    {"HeapFree", "[fail]\nHeapAlloc = 2:8\nHeapFree = 1\n", "-d", 6, "ui.log", "Code: Initialize_485"},
    {"CloseHandle", "[fail]\nCloseHandle = 1:6\n", "-d", 0, "debug", "*** Dovrel Launch Successful."},
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
    {"DuplicateToken", "[user]\ntoken_admin = true\n[fail]\nDuplicateToken = 1\n", "-d", 6, "ui.log", "MESSAGEBOX"},
    {"AllocateAndInitializeSid", "[fail]\nAllocateAndInitializeSid = 1:8\n", "-d", 6, "error",
     "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (AllocateAndInitializeSid). The launcher "
     "cannot continue; [WIN32 0x00000008/C0008] Not enough memory resources are available to process this command. "},
    {"CreateWellKnownSid", "[fail]\nCreateWellKnownSid = 1\n", "-d", 6, "debug",
     "Application is being aborted due to a critical error."},
    {"CheckTokenMembership", "[fail]\nCheckTokenMembership = 2\n", "-d", 6, "debug",
     "Ending launcher application with exit code 6."},
    {"LocalAlloc", "[fail]\nLocalAlloc = 1:8\n", "", 6, "ui.log", "MESSAGEBOX"},
    {"TokenQueryFails", "[user]\ntoken_query_fails = true\n", "-d", 6, "ui.log", "MESSAGEBOX"},
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
    {"Wow64RevertWow64FsRedirection", "[fail]\nWow64RevertWow64FsRedirection = 1\n", "", 6, "ui.log", "MESSAGEBOX"},
};

INSTANTIATE_TEST_SUITE_P(Operations, Fault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario
