// Scenario tests of the launcher's registry use and of its answers to failing
// system calls, each failure injected through the machine folder's [fail] section.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kElevatedAdmin = "[user]\ntoken_admin = true\nelevated = true\n";

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

std::string LauncherKey(const std::string& values) {
  return RegistryFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n" + values +
                      "\r\n");
}

TEST(LaunchFolder, AnElevatedAdministratorRecordsItInTheSixtyFourBitView) {
  Machine m;
  m.Append("machine.ini", kElevatedAdmin);
  m.WriteC("Portavel/tsystem1.exe");
  m.Run("-d");
  const std::string registry = m.Text("registry.reg");
  EXPECT_NE(registry.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n"
                          "\"LastRunFrom\"=\"C:\\\\Portavel\"\r\n"),
            std::string::npos)
      << registry;
  EXPECT_EQ(registry.find("WOW6432Node\\Veltrix"), std::string::npos);
  EXPECT_FALSE(Contains(m.DebugLog(), "Warning: Failed to save working folder"));
}

TEST(LaunchFolder, ASecondRunFromAnotherFolderOverwritesIt) {
  Machine m;
  m.Append("machine.ini", kElevatedAdmin);
  m.Run("");
  m.Append("machine.ini", "[launcher]\npath = C:\\Depot\\Launch\\Tavix.exe\n");
  m.WriteC("Depot/Launch/tsystem1.exe");
  m.Run("");
  EXPECT_NE(m.Text("registry.reg").find("\"LastRunFrom\"=\"C:\\\\Depot\\\\Launch\""), std::string::npos);
}

TEST(LaunchFolder, AClerkWithoutRightsIsToldSetupMayBeRequired) {
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Run("-d");
  auto log = m.DebugLog();
  EXPECT_TRUE(Contains(log, "Tavix registry access failed: Error while creating/opening key "
                            "\"SOFTWARE\\Veltrix Solutions Inc.\\Launcher\"; Setup may be"));
  EXPECT_TRUE(Contains(log, "Initialize: Warning: Failed to save working folder to registry."));
  // Only the missing Debug value counts as an error.
  EXPECT_TRUE(Contains(log, "There was 1 non-fatal error during startup."));
}

TEST(DebugLevel, TheRegistryValueSwitchesLoggingOnWithoutASwitch) {
  Machine m;
  m.Write("registry.reg", LauncherKey("\"Debug\"=dword:00000001\r\n"));
  m.WriteC("Portavel/tsystem1.exe");
  m.Run("");
  auto log = m.DebugLog();
  EXPECT_TRUE(Contains(log, "Initialize: Diagnostic Logging Enabled from Registry (LogLevel: 1)"));
  // The key exists but the clerk may not write it: an error of the run.
  EXPECT_TRUE(Contains(log, "Tavix registry access failed: Error while opening key"));
  EXPECT_TRUE(Contains(log, "There was 1 non-fatal error during startup."));
}

TEST(DebugLevel, AValueOfTheWrongTypeIsAnErrorAndLeavesLoggingOff) {
  Machine m;
  m.Write("registry.reg", LauncherKey("\"Debug\"=\"1\"\r\n"));
  m.WriteC("Portavel/tsystem1.exe");
  RunResult run = m.Run("");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_FALSE(fs::exists(m.C("Portavel/TavixDebug.log")));
}

TEST(DebugLevel, TheThirtyTwoBitViewIsNotRead) {
  Machine m;
  m.Write("registry.reg",
          RegistryFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Veltrix Solutions Inc.\\Launcher]\r\n"
                       "\"Debug\"=dword:00000001\r\n\r\n"));
  m.WriteC("Portavel/tsystem1.exe");
  m.Run("");
  EXPECT_FALSE(fs::exists(m.C("Portavel/TavixDebug.log")));
}

// One row per platform operation: the failure, the run it happens in, and what the
// launcher makes of it.
struct FaultCase {
  const char* name;
  const char* machine;       // appended to machine.ini, [fail] included
  const char* command_line;
  int exit_status;
  const char* log;           // "debug", "error" or "ui"
  const char* expected;      // a text that must stand in that file
};

class Fault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Fault, IsReportedAndTheRunGoesOn) {
  const FaultCase& c = GetParam();
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini", c.machine);
  RunResult run = m.Run(c.command_line);
  EXPECT_EQ(run.exit_status, c.exit_status) << run.out << run.err;
  std::vector<std::string> lines = std::string(c.log) == "debug"   ? m.DebugLog()
                                   : std::string(c.log) == "error" ? m.ErrorLog()
                                                                   : m.Lines("ui.log");
  if (*c.expected == '\0') EXPECT_TRUE(lines.empty());
  else EXPECT_TRUE(Contains(lines, c.expected)) << c.expected;
}

const FaultCase kFaults[] = {
    // Failures before the logs are open only count: the Debug value and the call.
    // Without its own folder the launcher cannot tell that it runs from Windows' drive: it
    // starts the product from the cache, which its eleven failed copies left empty.
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
    {"MessageBox", "[fail]\nMessageBox = 1\n", "-?", 0, "ui", ""},
    {"CreateDialogParam", "[fail]\nCreateDialogParam = 1\n", "-d", 0, "debug",
     "UpdateSubStatus: Launching Dovrel Please Wait..."},
    // Without fonts, background or progress bar the window still shows every step.
    {"CreateFont", "[fail]\nCreateFont = 1, 2\n", "", 0, "ui",
     "SUBSTATUS 100 \"Launching Dovrel Please Wait...\""},
    {"LoadBitmap", "[fail]\nLoadBitmap = 1:1814\n", "", 0, "ui", "STATUS \"Initializing Dovrel...\""},
    {"CreateWindowEx", "[fail]\nCreateWindowEx = 1\n", "", 0, "ui",
     "SUBSTATUS 1 \"Inspecting operating system environment...\""},
    {"LoadString", "[fail]\nLoadString = 1\nHeapAlloc = 1:8\n", "", 6, "ui",
     "MESSAGEBOX caption=\"\" style=0x00050010 text=\"An error has occurred:\\n\\nA critical error"},
    {"HeapAlloc", "[fail]\nHeapAlloc = 2:8\n", "", 6, "ui", "Code: Initialize_485"},
    {"HeapFree", "[fail]\nHeapAlloc = 2:8\nHeapFree = 1\n", "-d", 6, "ui", "Code: Initialize_485"},
    {"CloseHandle", "[fail]\nCloseHandle = 1:6\n", "-d", 0, "debug", "*** Dovrel Launch Successful."},
};

INSTANTIATE_TEST_SUITE_P(Operations, Fault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario
