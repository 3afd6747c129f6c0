// The system information object: the records a test machine's run does not show (a
// default workstation's, in their order, are the system inspection's scenario tests),
// the failures the loader goes on after, and those it does not.
#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "sysinfo/system_info_loader.h"
#include "tests/unit/inspection_test_run.h"

namespace {

using inspection_test::InspectionRun;
using inspection_test::BareRegistryFile;
using inspection_test::SystemKeys;

// Memory in whole megabytes, a processor brand empty or filling all 48 bytes (no
// terminator, kept whole), the architecture as the process sees it (a warning only for
// one it knows and does not support), and the integrity levels with and without a name.
TEST(SystemInfo, EachFactHasItsRecord) {
  const std::string brand(48, 'B');
  const struct {
    std::string ini;
    std::vector<std::string> records;  // in this order
  } cases[] = {
      {"[machine]\nmemory_bytes = 1048575\n", {"Detected Memory Capacity: 0 MB Physical, 2047 MB Virtual (approx)."}},
      {"[machine]\nmemory_bytes = 1048576\n", {"Detected Memory Capacity: 1 MB Physical, 2047 MB Virtual (approx)."}},
      {"[launcher]\nbits = 64\n", {"Detected Memory Capacity: 8192 MB Physical, 134217727 MB Virtual (approx)."}},
      {"[machine]\ncpu_brand =\nprocessor_level = 23\nprocessor_revision = 0x0102\n",
       {"Detected CPU:  (Level 23 Model 1 Stepping 2)"}},
      {"[machine]\ncpu_brand = " + brand + "X\n", {"Detected CPU: " + brand + " (Level 6 Model 158 Stepping 10)"}},
      {"[os]\narchitecture = 12\nwow64 = false\n",
       {"Detected Architecture: ARM-64", "WARNING!!! THIS ARCHITECTURE TYPE IS NOT SUPPORTED!"}},
      {"[os]\narchitecture = 5\n", {"Detected Architecture: Unknown", "Detected Memory Capacity: 8192 MB Physical, "
                                                                        "2047 MB Virtual (approx)."}},
  };
  for (const auto& c : cases) {
    InspectionRun run(c.ini);
    LoadSystemInfoObject(run.l);
    const auto messages = run.Messages();
    const auto at = std::find(messages.begin(), messages.end(), c.records.front());
    ASSERT_LE(c.records.size(), static_cast<std::size_t>(messages.end() - at)) << c.ini;
    EXPECT_EQ(std::vector<std::string>(at, at + c.records.size()), c.records) << c.ini;
  }
  for (const auto& [rid, name] : {std::pair{"0x1000", "Low"}, {"0x2FFF", "Medium"}, {"0x4000", "High"},
                                  {"0", ""}, {"0x1100", ""}}) {
    InspectionRun run(std::string("[user]\nintegrity_rid = ") + rid + "\n");
    LoadSystemInfoObject(run.l);
    EXPECT_TRUE(run.Logged(std::string("Process running non-elevated under UAC invoked as standard user with "
                                       "integrity level \"") + name + "\".")) << rid;
  }
}

struct UacCase {
  const char* name;
  std::string registry;
  bool enabled;
  const char* record;       // the IsUACEnabled step's record
  int error_records;
};

class UacState : public ::testing::TestWithParam<UacCase> {};

TEST_P(UacState, DecidesTheElevationLine) {
  const UacCase& c = GetParam();
  InspectionRun run("", c.registry);
  LoadSystemInfoObject(run.l);
  EXPECT_EQ(run.l.sys.IsUACEnabled, c.enabled);
  const auto errors = run.Errors();
  EXPECT_TRUE(run.Logged(c.record) || std::find(errors.begin(), errors.end(), c.record) != errors.end())
      << c.record;
  EXPECT_EQ(run.l.log.ErrorRecordCount, c.error_records);
  EXPECT_TRUE(run.Logged(std::string("Process running non-elevated ") +
                         (c.enabled ? "under UAC" : "without UAC requirements") +
                         " invoked as standard user with integrity level \"Medium\"."));
}

INSTANTIATE_TEST_SUITE_P(
    Registry, UacState,
    ::testing::Values(
        UacCase{"Off", BareRegistryFile(SystemKeys("\"EnableLUA\"=dword:00000000\r\n")), false,
                "IsUACEnabled: UAC appears to be disabled on this machine.", 0},
        UacCase{"ValueMissing", BareRegistryFile(SystemKeys("\"Other\"=dword:00000001\r\n")), false,
                "IsUACEnabled: WARNING: UAC Registry key does not exist. This may be ok on older non-UAC Windows "
                "systems.",
                0},
        UacCase{"ValueTooLong", BareRegistryFile(SystemKeys("\"EnableLUA\"=hex(b):01,00,00,00,00,00,00,00\r\n")), true,
                "IsUACEnabled: ERROR: Unable to determine if UAC is active. Unable to retrieve registry value.; "
                "[WIN32 0x000000ea/C0234]",
                1}), test_support::ByName);

TEST(SystemInfo, WithoutVersionDataTheSystemIsUnknownUntilALaterCallReadsIt) {
  InspectionRun run("[fail]\nGetVersionEx = 1\n", inspection_test::kFreshRegistry, 1);
  LoadSystemInfoObject(run.l);
  const SystemInfoObject& sys = run.l.sys;
  EXPECT_EQ(std::make_tuple(sys.HasVersionInfo, sys.IsLoaded, sys.OSName.view(), sys.IsSupportedOS),
            std::make_tuple(false, true, std::string_view("Unknown"), false));
  EXPECT_FALSE(sys.IsWin7OrGreater || sys.IsWinXPSP3OrGreater || sys.IsServer);
  EXPECT_EQ(run.Errors(), std::vector<std::string>{"Unable to retrieve OS version data using GetVersionEx()."});
  EXPECT_TRUE(run.Logged("Detected Operating System: \"Unknown\" (64-bit) Version 0.0.0 (Service Pack 0.0)"));
  EXPECT_EQ(run.Count("WARNING!!! THIS OPERATING SYSTEM IS NOT ON THE SUPPORTED OS LIST!"), 1u);
  // Without the Windows 7 test, the rights line of older systems.
  EXPECT_TRUE(run.Logged("Process running invoked as standard user"));

  LoadSystemInfoObject(run.l);
  EXPECT_EQ(std::make_tuple(sys.HasVersionInfo, sys.OSName.view()), std::make_tuple(true, std::string_view("Unknown")));
  EXPECT_TRUE(run.Logged("Detected Operating System: \"Unknown\" (64-bit) Version 10.0.19045 (Service Pack 0.0)"));
  EXPECT_EQ(run.Count("WARNING!!! THIS OPERATING SYSTEM IS NOT ON THE SUPPORTED OS LIST!"), 2u);
  EXPECT_EQ(run.Count("Detected CPU: Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz (Level 6 Model 158 Stepping 10)"), 1u);
}

TEST(SystemInfo, NamesAndWorkstationThatCannotBeReadAreUnknown) {
  InspectionRun run("[fail]\nGetComputerName = 1\nGetUserName = 1\nGlobalMemoryStatusEx = 1\n");
  LoadSystemInfoObject(run.l);
  EXPECT_EQ(std::make_tuple(run.l.sys.ComputerName.view(), run.l.sys.UserName.view(), run.l.sys.TotalPhysicalMemory),
            std::make_tuple(std::string_view("Unknown Computer"), std::string_view("Unknown User"), 0u));
  EXPECT_TRUE(run.Logged("Executing as \"Unknown User\" who has local administrator rights."));
  EXPECT_TRUE(run.l.sys.UserLoaded);
}

// The other kernel32 lookups are the launch's fault tests.
TEST(SystemInfo, AWow64QueryThatFailsAnswersNoWithADeveloperRecord) {
  // The second lookup is the bitness of the detection record's.
  InspectionRun run("[fail]\nGetModuleHandle = 2\n");
  LoadSystemInfoObject(run.l);
  EXPECT_TRUE(run.Logged("IsWow64: Failed to obtain handle for kernel32. This is an unusual error. Assuming process "
                         "is not WOW64 emulated."));
  EXPECT_TRUE(run.Logged("Detected Operating System: \"Windows 10 Professional 22H2 (2022 Update)\" (32-bit) "
                         "Version 10.0.19045 (Service Pack 0.0)"));
  EXPECT_TRUE(run.l.sys.IsWow64);
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

TEST(SystemInfo, AFailedEditionLookupOrVersionTestNamesTheSystemWithoutIt) {
  // The version tests in their order: XP SP3, 7, 7 SP1, 10, then the workstation question.
  const struct {
    const char* fail;
    const char* name;
    bool server;
  } cases[] = {
      {"GetProcAddress = 1", "Windows 10 22H2 (2022 Update)", false},
      {"VerifyVersionInfo = 5", "Windows Server", true},
  };
  for (const auto& c : cases) {
    InspectionRun run(std::string("[fail]\n") + c.fail + "\n");
    LoadSystemInfoObject(run.l);
    EXPECT_EQ(std::make_tuple(run.l.sys.OSName.view(), run.l.sys.IsServer),
              std::make_tuple(std::string_view(c.name), c.server)) << c.fail;
    if (std::string_view(c.fail).starts_with("Get")) {
      EXPECT_TRUE(run.l.sys.ProductCode == 0 && !run.l.sys.HasEditionName);
    }
  }
}

TEST(SystemInfo, ReleaseNameReadsAndTheirFailures) {
  const std::string key_only = BareRegistryFile(SystemKeys("\"EnableLUA\"=dword:00000001\r\n", ""));
  const struct {
    const char* label;
    std::string registry;
    const char* build;
    const char* name;
    std::vector<std::string> errors;
  } cases[] = {
      {"DisplayVersion", inspection_test::kFreshRegistry, "22100",
       "Windows 10/11 Professional CodeName 22H2 (Unknown Update Channe", {}},  // cut to 63
      {"ReleaseIdWhenDisplayVersionIsEmpty",
       BareRegistryFile(SystemKeys("\"EnableLUA\"=dword:00000001\r\n", "\"DisplayVersion\"=\"\"\r\n\"ReleaseId\"=\"2009\"\r\n")),
       "22100", "Windows 10/11 Professional CodeName 2009 (Unknown Update Channe", {}},
      {"NeitherValue", key_only, "22100", "Windows 10/11 Professional Build 22100 (Unknown Update Channel)", {}},
      {"ATooLongValueIsAnError",
       BareRegistryFile(SystemKeys("\"EnableLUA\"=dword:00000001\r\n",
                               "\"DisplayVersion\"=\"" + std::string(40, 'v') + "\"\r\n")),
       "22100", "Windows 10/11 Professional Build 22100 (Unknown Update Channel)",
       {"Registry access failed: Error while reading key \"DisplayVersion\" from \"Software\\Microsoft\\Windows "
        "NT\\CurrentVersion\"; [WIN32 0x000000ea/C0234] More data is available. "}},
  };
  for (const auto& c : cases) {
    InspectionRun run(std::string("[os]\nbuild = ") + c.build + "\n", c.registry);
    LoadSystemInfoObject(run.l);
    EXPECT_EQ(run.l.sys.OSName.view(), c.name) << c.label;
    EXPECT_EQ(run.Errors(), c.errors) << c.label;
  }
}

TEST(SystemInfo, TheReleaseNameIsReadInTheSixtyFourBitView) {
  // Only the 32-bit view holds a name: a 32-bit launcher does not see it.
  const std::string registry = BareRegistryFile(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
      "\"DisplayVersion\"=\"32BIT\"\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n"
      "\"EnableLUA\"=dword:00000001\r\n\r\n");
  InspectionRun run("[os]\nbuild = 22100\n", registry);
  LoadSystemInfoObject(run.l);
  EXPECT_FALSE(run.l.sys.HasCodeName);
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

struct TokenFailureCase {
  const char* fail;
  const char* ini;
  const char* call;
};

TEST(SystemInfo, EveryTokenQueryThatFailsEndsTheRunAndReleasesWhatItHeld) {
  const TokenFailureCase cases[] = {
      // Those the launch's fault tests leave out.
      {"OpenProcessToken = 2", "", "OpenProcessToken"},  // the elevation query's
      {"GetTokenInformation = 2", "", "GetTokenInformation"},  // the linked token
      {"GetTokenInformation = 4:87", "", "GetTokenInformation"},  // the integrity label's size
      {"GetTokenInformation = 5", "", "GetTokenInformation"},  // the integrity label
      {"CheckTokenMembership = 1", "", "CheckTokenMembership"},
  };
  for (const TokenFailureCase& c : cases) {
    InspectionRun run(std::string(c.ini) + "[fail]\n" + c.fail + "\n");
    EXPECT_THROW(LoadSystemInfoObject(run.l), ProcessExit) << c.fail;
    const auto errors = run.Errors();
    ASSERT_EQ(errors.size(), 1u) << c.fail;
    EXPECT_EQ(errors[0].rfind(std::string("LoadSystemInfoObject: *CRITICAL* Failed to query the process token (") +
                                  c.call + ")",
                              0),
              0u)
        << errors[0];
    EXPECT_FALSE(run.l.sys.UserLoaded) << c.fail;
  }
}

}  // namespace
