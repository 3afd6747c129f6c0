// Scenario tests of the launcher's registry use: the launch folder it records and the
// debug level it reads.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kElevatedAdmin = "[user]\ntoken_admin = true\nelevated = true\n";

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

}  // namespace
}  // namespace scenario
