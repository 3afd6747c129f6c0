// Scenario tests of the system inspection: the debug log of a run on one machine per
// kind of operating system (its name's forms are the naming routine's own tests),
// 32-bit and 64-bit, with and without WOW64, and for every kind of user, elevated or
// not, with UAC on and off.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kWindows7Statement = "*** WARNING!!! WINDOWS 7 END OF LIFE SUPPORT STATEMENT ***";
constexpr const char* kNotSupported = "WARNING!!! THIS OPERATING SYSTEM IS NOT ON THE SUPPORTED OS LIST!";

// A machine with the product whose machine.ini ends with `ini`, run with `command_line`;
// the records of its debug log.
std::vector<Record> RunRecords(Machine& m, const std::string& ini, const char* command_line = "-d",
                               int exit_status = 0) {
  m.Append("machine.ini", ini);
  const RunResult run = m.Run(command_line);
  EXPECT_EQ(run.exit_status, exit_status) << run.out << run.err;
  return m.Records();
}

struct OsCase {
  const char* name;
  const char* os;  // the [os] section's lines
  const char* detected;
  const char* follows;  // the warning one level deeper, or nullptr
  int exit_status;
};

class OperatingSystem : public ::testing::TestWithParam<OsCase> {};

TEST_P(OperatingSystem, IsDetectedByNameWithItsVerdict) {
  const OsCase& c = GetParam();
  Machine m;
  const auto records = RunRecords(m, std::string("[os]\n") + c.os, "-d", c.exit_status);
  const auto detected = std::find_if(records.begin(), records.end(), [](const Record& r) {
    return r.message.rfind("Detected Operating System: ", 0) == 0;
  });
  ASSERT_LT(detected + 1, records.end());
  EXPECT_EQ(detected->message, std::string("Detected Operating System: ") + c.detected);
  if (c.follows) {
    EXPECT_EQ(detected[1].message, c.follows);
    EXPECT_EQ(detected[1].depth, detected->depth + 1);
  } else {
    EXPECT_EQ(detected[1].message.rfind("Detected CPU: ", 0), 0u) << detected[1].message;
  }
  const auto messages = MessagesOf(records);
  for (const char* warning : {kWindows7Statement, kNotSupported})
    EXPECT_EQ(std::count(messages.begin(), messages.end(), warning), c.follows == warning ? 1 : 0) << warning;
}

// Before Windows Vista the process token has no integrity label: querying it fails,
// and the launcher ends its run as after any critical error (exit code 6).
constexpr OsCase kSystems[] = {
    {"WindowsXPSP3", "major = 5\nminor = 1\nbuild = 2600\nservice_pack_major = 3\narchitecture = 0\n",
     "\"Windows XP SP3\" (32-bit) Version 5.1.2600 (Service Pack 3.0)", kNotSupported, 6},
    {"WindowsVista", "major = 6\nminor = 0\nbuild = 6002\nservice_pack_major = 2\nproduct_code = 6\n",
     "\"Windows Vista Business\" (64-bit) Version 6.0.6002 (Service Pack 2.0)", kNotSupported, 0},
    {"Windows7SP1ThirtyTwoBit",
     "major = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\nproduct_code = 3\narchitecture = 0\n",
     "\"Windows 7 SP1 Home Premium\" (32-bit) Version 6.1.7601 (Service Pack 1.0)", kWindows7Statement, 0},
    {"WindowsServer2008R2",
     "major = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\nproduct_type = server\nproduct_code = 7\n",
     "\"Windows Server 2008 R2 Standard\" (64-bit) Version 6.1.7601 (Service Pack 1.0)", nullptr, 0},
    {"Windows11_24H2OnArm", "build = 26100\narchitecture = 12\n",
     "\"Windows 11 Professional (23H2 Or Newer)\" (64-bit) Version 10.0.26100 (Service Pack 0.0)", nullptr, 0},
    // The test machines' registry holds the release name 22H2.
    {"UnknownUpdateChannel", "build = 22100\nproduct_code = 0\n",
     "\"Windows 10/11 CodeName 22H2 (Unknown Update Channel)\" (64-bit) Version 10.0.22100 (Service Pack 0.0)",
     nullptr, 0},
    {"WindowsServer2022", "build = 20348\nproduct_type = domain_controller\nproduct_code = 7\n",
     "\"Windows Server Standard 2022\" (64-bit) Version 10.0.20348 (Service Pack 0.0)", nullptr, 0},
};

INSTANTIATE_TEST_SUITE_P(Names, OperatingSystem, ::testing::ValuesIn(kSystems), ByName);

constexpr const char* kAdministrator = "Executing as \"clerk\" who has local administrator rights.";
constexpr const char* kUnderUac =
    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".";
constexpr const char* kEligible =
    "Process is eligible for WOW64 File System redirection. This redirection will be disabled for each file "
    "operation under this environment.";
constexpr const char* kNotEligible = "Process is not eligible for WOW64 File System redirection.";
constexpr const char* kNote =
    "Note: Even though the user is an administrator, the current OS settings require that the user explicitly "
    "launch Tavix as an administrator to get full rights. Any admin requirements will prompt for elevation.";

struct RightsCase {
  const char* name;
  const char* machine;     // appended to machine.ini
  const char* enable_lua;  // the EnableLUA value
  std::vector<std::string> records;  // from "Executing as" on, in order
  const char* architecture;          // the architecture record
};

class Rights : public ::testing::TestWithParam<RightsCase> {};

TEST_P(Rights, AreRecordedForTheUserTheProcessAndItsWow64State) {
  const RightsCase& c = GetParam();
  Machine m;
  m.Write("registry.reg", BareRegistryFile(SystemKeys(std::string("\"EnableLUA\"=dword:0000000") + c.enable_lua +
                                                      "\r\n") +
                                           kCurrentRuntimeKeys + kConfigKey));
  const auto messages = MessagesOf(RunRecords(m, c.machine));
  const auto executing = std::find_if(messages.begin(), messages.end(), [](const std::string& message) {
    return message.rfind("Executing as ", 0) == 0;
  });
  ASSERT_LE(c.records.size(), static_cast<std::size_t>(messages.end() - executing));
  EXPECT_EQ(std::vector<std::string>(executing, executing + c.records.size()), c.records);
  EXPECT_NE(std::find(messages.begin(), messages.end(), c.architecture), messages.end()) << c.architecture;
  // The Note and WOW64 lines stand only in the lists of their cases.
  for (const char* line : {kNote, kEligible, kNotEligible})
    EXPECT_EQ(std::count(messages.begin(), messages.end(), line), std::count(c.records.begin(), c.records.end(), line))
        << line;
}

INSTANTIATE_TEST_SUITE_P(
    Users, Rights,
    ::testing::Values(
        RightsCase{"AdministratorUnderUac", "", "1", {kAdministrator, kUnderUac, kNote, kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"ElevatedAdministrator", "[user]\ntoken_admin = true\nelevated = true\nintegrity_rid = 0x3000\n",
                   "1",
                   {kAdministrator,
                    "Process running elevated under UAC invoked as administrator with integrity level \"High\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"StandardUserWithoutUac", "[user]\nname = packer\nadministrators_member = false\n", "0",
                   {"Executing as \"packer\" who has local user rights.",
                    "Process running non-elevated without UAC requirements invoked as standard user with integrity "
                    "level \"Medium\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"ThirtyTwoBitWindows", "[os]\narchitecture = 0\n", "1", {kAdministrator, kUnderUac, kNote, kNotEligible},
                   "Detected Architecture: x86"},
        RightsCase{"SixtyFourBitLauncherOnArm", "[os]\narchitecture = 12\n[launcher]\nbits = 64\n", "1",
                   {kAdministrator, kUnderUac, kNote, kNotEligible}, "Detected Architecture: ARM-64"},
        RightsCase{"WithoutWow64OnA64BitMachine", "[os]\nwow64 = false\n", "1",
                   {kAdministrator, kUnderUac, kNote, kNotEligible}, "Detected Architecture: x86-64"},
        RightsCase{"VistaStandardUser", "[os]\nmajor = 6\nminor = 0\nbuild = 6002\n[user]\nadministrators_member = false\n",
                   "1", {"Executing as \"clerk\" who has local user rights.", "Process running invoked as standard user"},
                   "Detected Architecture: x86"}), ByName);

// Names are data: conversions in them reach the log as written and read nothing.
TEST(SystemInspection, NamesWithPercentSignsAreLoggedAsWritten) {
  Machine m;
  RunRecords(m, "computer_name = 100%done\n[user]\nname = %s%s%n%n\n", "-d100");
  for (const char* record : {"Detected workstation name: 100%done",
                             "Executing as \"%s%s%n%n\" who has local administrator rights."})
    EXPECT_TRUE(m.Shows("debug", record)) << record;
}

TEST(SystemInspection, RunsInInitializeAndTheStepFindsEverythingLoaded) {
  Machine m;
  const auto records = RunRecords(
      m,
      "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary, dynamic\nbest_interface = 11\n"
      "drive.S = \\\\fileserver\\shipping\ndrive.T = disconnected \\\\fileserver\\archive\n",
      "-d100");
  const auto messages = MessagesOf(records);
  auto index = [&](const std::string& message) {
    return std::find(messages.begin(), messages.end(), message) - messages.begin();
  };
  // The known folders load the system information for the cache parent folder.
  const auto folders = index("@ LoadKnownFoldersList() {");
  const auto detected = index(
      "Detected Operating System: \"Windows 10 Professional 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 "
      "(Service Pack 0.0)");
  const auto executing = index("Initialize: Application executing from \"C:\\Portavel\\\".");
  const auto drives = index("Mapped Drive(s) Present:");
  const auto step = index("UpdateSubStatus: Inspecting operating system environment...");
  ASSERT_LT(step + 2, static_cast<std::ptrdiff_t>(records.size()));
  EXPECT_LT(folders, detected);
  EXPECT_LT(detected, executing);
  EXPECT_EQ(drives, executing + 1);
  EXPECT_EQ(messages[drives + 1], "'S:' -> '\\\\fileserver\\shipping'");
  EXPECT_EQ(messages[drives + 2], "'T:' -> Not Connected");
  EXPECT_EQ(records[drives + 1].depth, records[drives].depth + 1);
  EXPECT_GT(index("0: Interface 11:   IP: 192.168.20.57, Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), "
                  "Type/State:Default;Primary;Dynamic "),
            folders);
  // The step's own call one level deeper finds every part loaded.
  EXPECT_GT(step, executing);
  EXPECT_EQ(messages[step + 1], "@ LoadSystemInfoObject() {");
  EXPECT_EQ(records[step + 1].depth, records[step].depth + 1);
  EXPECT_EQ(messages[step + 2], "@ } LoadSystemInfoObject");
  EXPECT_TRUE(m.ErrorLog().empty());
}

TEST(SystemInspection, ThePreloadInspectsTheSameWay) {
  Machine m;
  EXPECT_EQ(m.Run("-d preload").exit_status, 0);
  EXPECT_TRUE(m.Shows("drives/C/Portavel/TavixPreload.log", "Detected workstation name: WORKSTATION01"));
}

TEST(SystemInspection, AnEmptyRegistryCostsThreeErrorRecords) {
  Machine m;
  m.Write("registry.reg", BareRegistryFile(std::string(kCurrentRuntimeKeys) + kConfigKey));
  RunRecords(m, "");
  // Without any system values: the release name's key (twice) and UAC's key.
  const auto errors = ErrorMessages(m.ErrorLog());
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0],
            "Registry access failed: Error while opening key \"Software\\Microsoft\\Windows NT\\CurrentVersion\"; "
            "[WIN32 0x00000002/C0002] The system cannot find the file specified. ");
  EXPECT_EQ(errors[2],
            "IsUACEnabled: ERROR: Unable to determine if UAC is active. Unable to access registry key.; "
            "[WIN32 0x00000002/C0002]");
}

}  // namespace
}  // namespace scenario
