// Scenario tests of the runtime check: which vendor installers a standard start runs
// for what the registry says, how it reads their exit codes, and the systems .NET
// Framework 4.8 cannot be installed on.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kX86On64 =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86]\r\n";
constexpr const char* kX86On32 = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86]\r\n";
constexpr const char* kX64 =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64]\r\n";
constexpr const char* kNetfx = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full]\r\n";
constexpr const char* kCurrentRuntime = "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"\r\n\r\n";
constexpr const char* kCurrentNetfx = "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ea8\r\n\r\n";

// The installers that ran, by file name, in order.
std::vector<std::string> Installers(const Machine& m) {
  std::vector<std::string> started;
  for (const auto& line : m.Lines("processes.log")) {
    for (const char* name : {"vc_redist.x86.exe", "vc_redist.x64.exe", "ndp48-x86-x64-allos-enu.exe"})
      if (line.rfind("SHELL", 0) == 0 && line.find(name) != std::string::npos) started.push_back(name);
  }
  return started;
}

// An administrator's workstation with the three installers in redist\ and the given
// registry sections; `machine` is appended to machine.ini.
void Workstation(Machine& m, const std::string& sections, const std::string& machine = "") {
  m.Append("machine.ini", "[user]\ntoken_admin = true\nelevated = true\n" + machine);
  m.Write("registry.reg", WindowsRegistryFile(sections));
  for (const char* name : {"vc_redist.x86.exe", "vc_redist.x64.exe", "ndp48-x86-x64-allos-enu.exe"})
    m.WriteC(std::string("Portavel/redist/") + name, "installer");
}

struct DetectionCase {
  const char* name;
  std::string x86_values;  // the x86 key's section body; empty: no key
  bool installs_x86;
};

// The versions themselves are compared by the version rule's own tests.
class RuntimeDetection : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(RuntimeDetection, TheX86InstallerRunsExactlyWhenTheRuntimeIsMissingOrOld) {
  const DetectionCase& c = GetParam();
  Machine m;
  const std::string x86 = c.x86_values.empty() ? "" : kX86On64 + c.x86_values + "\r\n";
  Workstation(m, x86 + kX64 + kCurrentRuntime + kNetfx + kCurrentNetfx);
  m.Run("-d");
  EXPECT_EQ(Installers(m), c.installs_x86 ? std::vector<std::string>{"vc_redist.x86.exe"}
                                          : std::vector<std::string>{});
  EXPECT_EQ(Contains(m.DebugLog(), "All required dependencies are installed and up-to-date."), !c.installs_x86);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RuntimeDetection,
    ::testing::Values(
        DetectionCase{"KeyMissing", "", true},
        DetectionCase{"InstalledMissing", "\"Version\"=\"14.40.33810.00\"", true},
        DetectionCase{"InstalledZero", "\"Installed\"=dword:00000000\r\n\"Version\"=\"14.40.33810.00\"", true},
        DetectionCase{"InstalledAsText", "\"Installed\"=\"1\"\r\n\"Version\"=\"14.40.33810.00\"", true},
        DetectionCase{"VersionMissing", "\"Installed\"=dword:00000001", true},
        DetectionCase{"VersionLower", "\"Installed\"=dword:00000001\r\n\"Version\"=\"14.21.27702.1\"", true},
        DetectionCase{"VersionWithLetter", "\"Installed\"=dword:00000001\r\n\"Version\"=\"v14.40.33810.00\"", false}),
    ByName);

struct NetfxCase {
  const char* name;
  std::string values;  // the .NET key's section body; empty: no key
  bool installs;
};

class NetfxDetection : public ::testing::TestWithParam<NetfxCase> {};

TEST_P(NetfxDetection, TheFrameworkInstallerRunsExactlyWhenTheReleaseIsMissingOrOld) {
  const NetfxCase& c = GetParam();
  Machine m;
  const std::string netfx = c.values.empty() ? "" : kNetfx + c.values + "\r\n\r\n";
  Workstation(m, kX86On64 + std::string(kCurrentRuntime) + kX64 + kCurrentRuntime + netfx);
  m.Run("-d");
  EXPECT_EQ(Installers(m), c.installs ? std::vector<std::string>{"ndp48-x86-x64-allos-enu.exe"}
                                      : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetfxDetection,
    ::testing::Values(NetfxCase{"KeyMissing", "", true},
                      NetfxCase{"InstallZero", "\"Install\"=dword:00000000\r\n\"Release\"=dword:00080ea8", true},
                      NetfxCase{"ReleaseMissing", "\"Install\"=dword:00000001", true},
                      NetfxCase{"ReleaseAsText", "\"Install\"=dword:00000001\r\n\"Release\"=\"528040\"", true},
                      NetfxCase{"ReleaseLower", "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ea7", true},
                      NetfxCase{"ReleaseEqual", "\"Install\"=dword:00000001\r\n\"Release\"=dword:00080ea8", false}),
    ByName);

struct ExitCodeCase {
  const char* code;
  const char* record;  // in the debug log; empty: none of the outcome records
  bool error;
};

class NetfxExitCodes : public ::testing::TestWithParam<ExitCodeCase> {};

TEST_P(NetfxExitCodes, EachExitCodeOfTheFrameworkInstallerHasItsRecord) {
  const ExitCodeCase& c = GetParam();
  Machine m;
  Workstation(m, kX86On64 + std::string(kCurrentRuntime) + kX64 + kCurrentRuntime,
              std::string("[programs]\nC:\\Portavel\\redist\\ndp48-x86-x64-allos-enu.exe = ") + c.code + "\n");
  m.Run("-d");
  const auto debug = m.DebugLog();
  const auto errors = m.ErrorLog();
  if (*c.record == 0) {
    EXPECT_FALSE(Contains(debug, ".NET Framework 4.8 install "));
  } else {
    EXPECT_TRUE(Contains(debug, std::string("InstallRedistFiles: .NET Framework 4.8 ") + c.record));
    EXPECT_EQ(Contains(errors, c.record), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetfxExitCodes,
    ::testing::Values(
        ExitCodeCase{"0", "install succeeded.", false},
        ExitCodeCase{"1602", "install failed. The user cancelled installation.", false},
        ExitCodeCase{"1603", "install failed. A fatal error occurred during installation.", true},
        ExitCodeCase{"1641", "install succeeded. A restart is required to complete the installation.", false},
        ExitCodeCase{"3010", "install succeeded. A restart is required to complete the installation.", false},
        ExitCodeCase{"5100", "install failed. The user's computer does not meet system requirements.", true},
        ExitCodeCase{"7", "", false}),
    [](const auto& info) { return std::string("Code") + info.param.code; });

TEST(RuntimeInstall, AOneOfEveryInstallerRunsInOrderWithItsLogInTheCacheFolder) {
  Machine m;
  Workstation(m, "", "[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = 3010 after 90s\n");
  m.Run("-d");
  EXPECT_EQ(Installers(m), (std::vector<std::string>{"vc_redist.x86.exe", "vc_redist.x64.exe",
                                                     "ndp48-x86-x64-allos-enu.exe"}));
  const std::string cache = "C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\_tcache1";
  EXPECT_TRUE(Contains(m.Lines("processes.log"),
                       "file=\"C:\\Portavel\\redist\\vc_redist.x86.exe\" params=\"/passive /promptrestart /log \"\"" +
                           cache + "\\vc_redist.x86.exe.log\"\"\" show=1 wait=1 result=3010"));
  EXPECT_TRUE(Contains(m.Lines("processes.log"),
                       "params=\"/passive /promptrestart /showrmui /chainingpackage tavix /log \"\"" + cache +
                           "\\ndp48-x86-x64-allos-enu.exe.log\"\"\""));
}

TEST(RuntimeInstall, AThirtyTwoBitSystemReadsItsOwnKeyAndNeverTheX64One) {
  Machine m;
  Workstation(m, kX86On32 + std::string(kCurrentRuntime) + kNetfx + kCurrentNetfx, "[os]\narchitecture = 0\n");
  m.Run("-d");
  EXPECT_EQ(Installers(m), std::vector<std::string>{});
  EXPECT_FALSE(Contains(m.DebugLog(), "IsRuntime64Installed"));
}

TEST(RuntimeInstall, TheInstallerOptionsReachTheCommandLineWithSingleQuotes) {
  Machine m;
  Workstation(m,
              kX64 + std::string(kCurrentRuntime) + kNetfx + kCurrentNetfx +
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n"
                  "\"VCRuntimeMSIOpts\"=\"TARGETDIR=\\\"D:\\\\VC\\\"\"\r\n\"NetFxMSIOpts\"=\"   \"\r\n\r\n");
  m.Run("-d");
  EXPECT_TRUE(Contains(m.Lines("processes.log"), ".log\"\" /msioptions \"\"TARGETDIR='D:\\VC'\"\"\""));
  // The options are read, with their records, before the launch is recorded.
  const std::vector<std::string> log = m.DebugLog();
  EXPECT_LT(FindLine(log, "VCRuntimeMSIOpts"), FindLine(log, "InstallRuntime: Launching"));
}

TEST(RuntimeInstall, AMissingInstallerIsAnErrorAndTheOthersStillRun) {
  Machine m;
  Workstation(m, kNetfx + std::string(kCurrentNetfx));
  std::filesystem::remove(m.C("Portavel/redist/vc_redist.x86.exe"));
  m.Run("-d");
  EXPECT_EQ(Installers(m), std::vector<std::string>{"vc_redist.x64.exe"});
  EXPECT_TRUE(Contains(m.ErrorLog(), "InstallRuntime: WARNING!!! Visual C/C++ 2022+ Runtimes (32-bit) installer "
                                     "not found at C:\\Portavel\\redist\\vc_redist.x86.exe"));
}

TEST(RuntimeInstall, AnInstallerTheShellCannotStartIsReported) {
  Machine m;
  Workstation(m, kX86On64 + std::string(kCurrentRuntime) + kNetfx + kCurrentNetfx, "[fail]\nShellExecuteEx = 1\n");
  m.Run("-d");
  EXPECT_TRUE(Contains(m.ErrorLog(), "InstallRuntime: WARNING!!! Visual C/C++ 2022+ Runtimes (64-bit) installer at "
                                     "C:\\Portavel\\redist\\vc_redist.x64.exe failed to launch."));
}

TEST(RuntimeInstall, WithoutRightsNothingIsInstalled) {
  Machine m;
  Workstation(m, "");
  // A user under UAC who declines the elevation dialog.
  m.Write("machine.ini", "[machine]\nclock = 2026-12-06T08:30:00\n");
  m.Run("-d");
  EXPECT_EQ(Installers(m), std::vector<std::string>{});
  EXPECT_TRUE(Contains(m.ErrorLog(), "InstallRedistFiles: Tavix dependency install failed: Authority failure."));
}

struct SystemCase {
  const char* name;
  const char* os;            // the [os] section's keys
  bool x86_current;          // the 32-bit VC runtime is current
  std::vector<std::string> installers;
  bool dialog;               // the box about an unsupported system
};

class UnsupportedSystems : public ::testing::TestWithParam<SystemCase> {};

TEST_P(UnsupportedSystems, FrameworkInstallsOnlyWhereItsInstallerRuns) {
  const SystemCase& c = GetParam();
  Machine m;
  Workstation(m, (c.x86_current ? kX86On64 + std::string(kCurrentRuntime) : std::string()) + kX64 + kCurrentRuntime,
              std::string("[os]\n") + c.os);
  m.Run("-d");
  EXPECT_EQ(Installers(m), c.installers);
  EXPECT_EQ(Contains(m.Lines("ui.log"), "does not meet the requirements to automatically install the .NET "
                                        "Framework 4.8 runtimes.\\n\\nOne or more features may not function"),
            c.dialog);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnsupportedSystems,
    ::testing::Values(
        SystemCase{"Windows10_1809_RuntimesCurrent", "build = 17763\n", true, {}, false},
        SystemCase{"Windows10_1809_RuntimeMissing", "build = 17763\n", false, {"vc_redist.x86.exe"}, true},
        SystemCase{"Windows10_1909", "build = 18363\n", true, {"ndp48-x86-x64-allos-enu.exe"}, false},
        SystemCase{"Server2019", "build = 17763\nproduct_type = server\n", true, {"ndp48-x86-x64-allos-enu.exe"}, false},
        SystemCase{"Windows7_RuntimeMissing", "major = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\n", false,
                   {"vc_redist.x86.exe"}, true}), ByName);

}  // namespace
}  // namespace scenario
