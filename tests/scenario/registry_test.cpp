// Scenario tests of the launcher's registry use: the launch folder it records and the
// debug level it reads.
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kElevatedAdmin = "[user]\ntoken_admin = true\nelevated = true\n";

// The configuration key as Windows leaves it: the clerk may read it, not write it.
constexpr const char* kReadOnlyConfigKey = "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;CI;KR;;;WD)(A;CI;KA;;;BA)\n";

std::string LauncherKey(const std::string& values) {
  return RegistryFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n" + values +
                      "\r\n");
}

TEST(LaunchFolder, AnElevatedAdministratorRecordsItInTheSixtyFourBitView) {
  Machine m;
  m.Append("machine.ini", kElevatedAdmin);
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

// A clerk may read the key as Windows leaves it but not write it: an error of the run,
// and two more for the missing Debug value (or the key's own) and the repair the clerk
// refused to elevate for. The Debug value switches logging on without a switch.
TEST(LaunchFolder, AClerkWithoutRightsIsToldSetupMayBeRequired) {
  const struct {
    std::string registry;
    const char* command_line;
    std::vector<const char*> records;
  } cases[] = {
      {RegistryFile(), "-d",
       {"Tavix registry access failed: Error while creating/opening key \"SOFTWARE\\Veltrix Solutions Inc.\\Launcher\"; "
        "Setup may be",
        "Initialize: Warning: Failed to save working folder to registry."}},
      {LauncherKey("\"Debug\"=dword:00000001\r\n"), "",
       {"Initialize: Diagnostic Logging Enabled from Registry (LogLevel: 1)",
        "Tavix registry access failed: Error while opening key"}},
  };
  for (const auto& c : cases) {
    Machine m;
    m.Write("registry.reg", c.registry);
    m.Write("security.txt", kReadOnlyConfigKey);
    m.Run(c.command_line);
    const auto log = m.DebugLog();
    for (const char* record : c.records) EXPECT_TRUE(Contains(log, record)) << record;
    EXPECT_TRUE(Contains(log, "There were 3 non-fatal errors during startup.")) << c.command_line;
  }
}

// A value of the wrong type is an error; the 32-bit view's value is not read.
TEST(DebugLevel, NoOtherValueSwitchesLoggingOn) {
  for (const std::string& registry :
       {LauncherKey("\"Debug\"=\"1\"\r\n"),
        RegistryFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Veltrix Solutions Inc.\\Launcher]\r\n"
                     "\"Debug\"=dword:00000001\r\n\r\n")}) {
    Machine m;
    m.Write("registry.reg", registry);
    EXPECT_EQ(m.Run("").exit_status, 0);
    EXPECT_FALSE(fs::exists(m.C("Portavel/TavixDebug.log"))) << registry;
  }
}

}  // namespace
}  // namespace scenario
