// Scenario tests of the system inspection: the debug log of a run on one machine per
// row of the operating-system names (Windows 2000 to Windows 11 and the servers),
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

enum class Follows { Nothing, Windows7Statement, NotSupportedWarning };

struct OsCase {
  const char* name;
  const char* os;  // the [os] section's lines
  const char* detected;
  Follows follows;
  int exit_status;
};

class OperatingSystem : public ::testing::TestWithParam<OsCase> {};

// The record that follows the detection record, one level deeper.
TEST_P(OperatingSystem, IsDetectedByNameWithItsVerdict) {
  const OsCase& c = GetParam();
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini", std::string("[os]\n") + c.os);
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, c.exit_status) << run.out << run.err;
  const std::vector<Record> records = ParseDebugLog(m.DebugLog());
  const auto detected = std::find_if(records.begin(), records.end(), [&](const Record& r) {
    return r.message.rfind("Detected Operating System: ", 0) == 0;
  });
  ASSERT_NE(detected, records.end());
  EXPECT_EQ(detected->message, std::string("Detected Operating System: ") + c.detected);
  ASSERT_NE(detected + 1, records.end());
  const Record& next = *(detected + 1);
  switch (c.follows) {
    case Follows::Windows7Statement:
      EXPECT_EQ(next.message, kWindows7Statement);
      EXPECT_EQ(next.depth, detected->depth + 1);
      EXPECT_EQ((detected + 3)->message.rfind("Please see https://", 0), 0u);
      break;
    case Follows::NotSupportedWarning:
      EXPECT_EQ(next.message, kNotSupported);
      EXPECT_EQ(next.depth, detected->depth + 1);
      break;
    case Follows::Nothing:
      EXPECT_EQ(next.message.rfind("Detected CPU: ", 0), 0u) << next.message;
      break;
  }
  const auto all = MessagesOf(ParseDebugLog(m.DebugLog()));
  EXPECT_EQ(std::count(all.begin(), all.end(), kWindows7Statement),
            c.follows == Follows::Windows7Statement ? 1 : 0);
  EXPECT_EQ(std::count(all.begin(), all.end(), kNotSupported), c.follows == Follows::NotSupportedWarning ? 1 : 0);
}

// Before Windows Vista the process token has no integrity label: querying it fails,
// and the launcher ends its run as after any critical error (exit code 6).
constexpr OsCase kSystems[] = {
    {"Windows2000", "major = 5\nminor = 0\nbuild = 2195\nservice_pack_major = 4\narchitecture = 0\n",
     "\"Windows 2000\" (32-bit) Version 5.0.2195 (Service Pack 4.0)", Follows::NotSupportedWarning, 6},
    {"WindowsXP", "major = 5\nminor = 1\nbuild = 2600\nservice_pack_major = 2\narchitecture = 0\n",
     "\"Windows XP\" (32-bit) Version 5.1.2600 (Service Pack 2.0)", Follows::NotSupportedWarning, 6},
    {"WindowsXPSP3", "major = 5\nminor = 1\nbuild = 2600\nservice_pack_major = 3\narchitecture = 0\n",
     "\"Windows XP SP3\" (32-bit) Version 5.1.2600 (Service Pack 3.0)", Follows::NotSupportedWarning, 6},
    {"WindowsServer2003",
     "major = 5\nminor = 2\nbuild = 3790\nservice_pack_major = 2\nproduct_type = server\n",
     "\"Windows Server 2003\" (64-bit) Version 5.2.3790 (Service Pack 2.0)", Follows::NotSupportedWarning, 6},
    {"WindowsVista", "major = 6\nminor = 0\nbuild = 6002\nservice_pack_major = 2\nproduct_code = 6\n",
     "\"Windows Vista Business\" (64-bit) Version 6.0.6002 (Service Pack 2.0)", Follows::NotSupportedWarning, 0},
    {"WindowsServer2008",
     "major = 6\nminor = 0\nbuild = 6002\nservice_pack_major = 2\nproduct_type = server\nproduct_code = 7\n",
     "\"Windows Server 2008\" (64-bit) Version 6.0.6002 (Service Pack 2.0)", Follows::NotSupportedWarning, 0},
    {"Windows7", "major = 6\nminor = 1\nbuild = 7600\nproduct_code = 1\n",
     "\"Windows 7 Ultimate\" (64-bit) Version 6.1.7600 (Service Pack 0.0)", Follows::Windows7Statement, 0},
    {"Windows7SP1", "major = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\nproduct_code = 48\n",
     "\"Windows 7 SP1 Professional\" (64-bit) Version 6.1.7601 (Service Pack 1.0)", Follows::Windows7Statement, 0},
    {"Windows7SP1ThirtyTwoBit",
     "major = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\nproduct_code = 3\narchitecture = 0\n",
     "\"Windows 7 SP1 Home Premium\" (32-bit) Version 6.1.7601 (Service Pack 1.0)", Follows::Windows7Statement, 0},
    {"WindowsServer2008R2",
     "major = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\nproduct_type = server\nproduct_code = 7\n",
     "\"Windows Server 2008 R2 Standard\" (64-bit) Version 6.1.7601 (Service Pack 1.0)", Follows::Nothing, 0},
    {"Windows8", "major = 6\nminor = 2\nbuild = 9200\n",
     "\"Windows 8 Or Newer\" (64-bit) Version 6.2.9200 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows81", "major = 6\nminor = 3\nbuild = 9600\n",
     "\"Windows 8 Or Newer\" (64-bit) Version 6.3.9600 (Service Pack 0.0)", Follows::Nothing, 0},
    {"WindowsServer2012R2", "major = 6\nminor = 3\nbuild = 9600\nproduct_type = server\nproduct_code = 7\n",
     "\"Windows 8 Or Newer\" (64-bit) Version 6.3.9600 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows10_1507", "build = 10240\n",
     "\"Windows 10 Professional 1507 (RTM)\" (64-bit) Version 10.0.10240 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows10_1511", "build = 10586\nproduct_code = 101\n",
     "\"Windows 10 Home 1511 (November Update)\" (64-bit) Version 10.0.10586 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows10_1607", "build = 14393\nproduct_code = 4\n",
     "\"Windows 10 Enterprise 1607 (Anniversary Update)\" (64-bit) Version 10.0.14393 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_1703", "build = 15063\n",
     "\"Windows 10 Professional 1703 (Creators Update)\" (64-bit) Version 10.0.15063 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_1709", "build = 16299\n",
     "\"Windows 10 Professional 1709 (Fall Creators Update)\" (64-bit) Version 10.0.16299 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_1803", "build = 17134\n",
     "\"Windows 10 Professional 1803 (April 2018 Update)\" (64-bit) Version 10.0.17134 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_1809", "build = 17763\nproduct_code = 125\n",
     "\"Windows 10 Enterprise LTSC 1809 (October 2018 Update)\" (64-bit) Version 10.0.17763 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_1903", "build = 18362\n",
     "\"Windows 10 Professional 1903 (May 2019 Update)\" (64-bit) Version 10.0.18362 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_1909", "build = 18363\n",
     "\"Windows 10 Professional 1909 (November 2019 Update)\" (64-bit) Version 10.0.18363 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_2004", "build = 19041\n",
     "\"Windows 10 Professional 2004 (May 2020 Update)\" (64-bit) Version 10.0.19041 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_20H2", "build = 19042\n",
     "\"Windows 10 Professional 20H2 (October 2020 Update)\" (64-bit) Version 10.0.19042 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_21H1", "build = 19043\n",
     "\"Windows 10 Professional 21H1 (May 2021 Update)\" (64-bit) Version 10.0.19043 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_21H2", "build = 19044\nproduct_code = 121\n",
     "\"Windows 10 Education 21H2 (November 2021 Update)\" (64-bit) Version 10.0.19044 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_22H2", "build = 19045\n",
     "\"Windows 10 Professional 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows10_22H2ThirtyTwoBit", "build = 19045\nproduct_code = 101\narchitecture = 0\n",
     "\"Windows 10 Home 22H2 (2022 Update)\" (32-bit) Version 10.0.19045 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows10_22H2WithoutEdition", "build = 19045\nproduct_code = 0\n",
     "\"Windows 10 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows10NewerThan22H2", "build = 19046\n",
     "\"Windows 10 Professional (22H2 Or Newer)\" (64-bit) Version 10.0.19046 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows11_21H2", "build = 22000\n",
     "\"Windows 11 Professional 21H2\" (64-bit) Version 10.0.22000 (Service Pack 0.0)", Follows::Nothing, 0},
    {"Windows11_22H2", "build = 22621\nproduct_code = 161\n",
     "\"Windows 11 Pro for Workstations 22H2 (2022 Update)\" (64-bit) Version 10.0.22621 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows11_23H2", "build = 22631\n",
     "\"Windows 11 Professional 23H2 (2023 Update)\" (64-bit) Version 10.0.22631 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"Windows11_24H2OnArm", "build = 26100\narchitecture = 12\n",
     "\"Windows 11 Professional (23H2 Or Newer)\" (64-bit) Version 10.0.26100 (Service Pack 0.0)",
     Follows::Nothing, 0},
    // The test machines' registry holds the release name 22H2.
    {"UnknownUpdateChannel", "build = 22100\nproduct_code = 0\n",
     "\"Windows 10/11 CodeName 22H2 (Unknown Update Channel)\" (64-bit) Version 10.0.22100 (Service Pack 0.0)",
     Follows::Nothing, 0},
    {"WindowsServer2016", "build = 14393\nproduct_type = server\nproduct_code = 7\n",
     "\"Windows Server Standard 2016\" (64-bit) Version 10.0.14393 (Service Pack 0.0)", Follows::Nothing, 0},
    {"WindowsServer2019", "build = 17763\nproduct_type = server\nproduct_code = 8\n",
     "\"Windows Server Datacenter 2019\" (64-bit) Version 10.0.17763 (Service Pack 0.0)", Follows::Nothing, 0},
    {"WindowsServer2022", "build = 20348\nproduct_type = domain_controller\nproduct_code = 7\n",
     "\"Windows Server Standard 2022\" (64-bit) Version 10.0.20348 (Service Pack 0.0)", Follows::Nothing, 0},
    {"WindowsServer2025", "build = 26100\nproduct_type = server\nproduct_code = 8\n",
     "\"Windows Server 2022 Or Newer\" (64-bit) Version 10.0.26100 (Service Pack 0.0)", Follows::Nothing, 0},
    {"WindowsServerOtherBuild", "build = 20000\nproduct_type = server\n",
     "\"Windows Server\" (64-bit) Version 10.0.20000 (Service Pack 0.0)", Follows::Nothing, 0},
};

INSTANTIATE_TEST_SUITE_P(Names, OperatingSystem, ::testing::ValuesIn(kSystems),
                         [](const auto& info) { return std::string(info.param.name); });

struct RightsCase {
  const char* name;
  const char* machine;   // appended to machine.ini
  const char* enable_lua;  // the EnableLUA value in both views
  std::vector<std::string> records;  // from "Executing as" on, in order
  const char* architecture;  // the architecture record
};

class Rights : public ::testing::TestWithParam<RightsCase> {};

constexpr const char* kEligible =
    "Process is eligible for WOW64 File System redirection. This redirection will be disabled for each file "
    "operation under this environment.";
constexpr const char* kNotEligible = "Process is not eligible for WOW64 File System redirection.";
constexpr const char* kNote =
    "Note: Even though the user is an administrator, the current OS settings require that the user explicitly "
    "launch Tavix as an administrator to get full rights. Any admin requirements will prompt for elevation.";

TEST_P(Rights, AreRecordedForTheUserTheProcessAndItsWow64State) {
  const RightsCase& c = GetParam();
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini", c.machine);
  std::string registry = RegistryFile();
  const std::string on = "\"EnableLUA\"=dword:00000001";
  for (std::size_t at = 0; (at = registry.find(on, at)) != std::string::npos; at += on.size())
    registry.replace(at, on.size(), std::string("\"EnableLUA\"=dword:0000000") + c.enable_lua);
  m.Write("registry.reg", registry);
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
  const auto messages = MessagesOf(ParseDebugLog(m.DebugLog()));
  const auto executing = std::find_if(messages.begin(), messages.end(), [](const std::string& message) {
    return message.rfind("Executing as ", 0) == 0;
  });
  ASSERT_NE(executing, messages.end());
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
        RightsCase{"AdministratorUnderUac", "", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".",
                    kNote, kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"ElevatedAdministrator",
                   "[user]\ntoken_admin = true\nelevated = true\nintegrity_rid = 0x3000\n", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running elevated under UAC invoked as administrator with integrity level \"High\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"StandardUser", "[user]\nname = packer\nadministrators_member = false\n", "1",
                   {"Executing as \"packer\" who has local user rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"LowIntegrityStandardUser",
                   "[user]\nadministrators_member = false\nintegrity_rid = 0x1000\n", "1",
                   {"Executing as \"clerk\" who has local user rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Low\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"AdministratorWithoutUac", "[user]\ntoken_admin = true\nintegrity_rid = 0x3000\n", "0",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running non-elevated without UAC requirements invoked as administrator with integrity "
                    "level \"High\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"StandardUserWithoutUac", "[user]\nadministrators_member = false\n", "0",
                   {"Executing as \"clerk\" who has local user rights.",
                    "Process running non-elevated without UAC requirements invoked as standard user with integrity "
                    "level \"Medium\".",
                    kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"ThirtyTwoBitWindows", "[os]\narchitecture = 0\n", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".",
                    kNote, kNotEligible},
                   "Detected Architecture: x86"},
        RightsCase{"SixtyFourBitLauncher", "[launcher]\nbits = 64\n[user]\ntoken_admin = true\nelevated = true\n", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running elevated under UAC invoked as administrator with integrity level \"Medium\".",
                    kNotEligible},
                   "Detected Architecture: x86-64"},
        RightsCase{"ThirtyTwoBitLauncherOnArm", "[os]\narchitecture = 12\n", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".",
                    kNote, kEligible},
                   "Detected Architecture: x86"},
        RightsCase{"SixtyFourBitLauncherOnArm", "[os]\narchitecture = 12\n[launcher]\nbits = 64\n", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".",
                    kNote, kNotEligible},
                   "Detected Architecture: ARM-64"},
        RightsCase{"WithoutWow64OnA64BitMachine", "[os]\nwow64 = false\n", "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running non-elevated under UAC invoked as standard user with integrity level \"Medium\".",
                    kNote, kNotEligible},
                   "Detected Architecture: x86-64"},
        RightsCase{"VistaAdministrator",
                   "[os]\nmajor = 6\nminor = 0\nbuild = 6002\nservice_pack_major = 2\n[user]\ntoken_admin = true\n",
                   "1",
                   {"Executing as \"clerk\" who has local administrator rights.",
                    "Process running invoked as administrator"},
                   "Detected Architecture: x86"},
        RightsCase{"VistaStandardUser", "[os]\nmajor = 6\nminor = 0\nbuild = 6002\n[user]\nadministrators_member = false\n",
                   "1",
                   {"Executing as \"clerk\" who has local user rights.", "Process running invoked as standard user"},
                   "Detected Architecture: x86"}),
    [](const auto& info) { return std::string(info.param.name); });

// Names are data: conversions in them reach the log as written and read nothing.
TEST(SystemInspection, NamesWithPercentSignsAreLoggedAsWritten) {
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini", "computer_name = 100%done\n[user]\nname = %s%s%n%n\n");
  RunResult run = m.Run("-d100");
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
  const auto messages = MessagesOf(ParseDebugLog(m.DebugLog()));
  for (const char* record : {"Detected workstation name: 100%done",
                             "Executing as \"%s%s%n%n\" who has local administrator rights."})
    EXPECT_NE(std::find(messages.begin(), messages.end(), record), messages.end()) << record;
}

TEST(SystemInspection, RunsInInitializeAndTheStepFindsEverythingLoaded) {
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Append("machine.ini",
           "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary, dynamic\nbest_interface = 11\n"
           "drive.S = \\\\fileserver\\shipping\ndrive.T = disconnected \\\\fileserver\\archive\n");
  RunResult run = m.Run("-d100");
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
  const auto records = ParseDebugLog(m.DebugLog());
  auto index = [&](const std::string& message) {
    const auto at = std::find_if(records.begin(), records.end(),
                                 [&](const Record& r) { return r.message == message; });
    return at == records.end() ? -1 : static_cast<int>(at - records.begin());
  };
  // The known folders load the system information for the cache parent folder.
  const int folders = index("@ LoadKnownFoldersList() {");
  const int detected = index(
      "Detected Operating System: \"Windows 10 Professional 22H2 (2022 Update)\" (64-bit) Version 10.0.19045 "
      "(Service Pack 0.0)");
  const int executing = index("Initialize: Application executing from \"C:\\Portavel\\\".");
  const int drives = index("Mapped Drive(s) Present:");
  const int step = index("UpdateSubStatus: Inspecting operating system environment...");
  ASSERT_GE(folders, 0);
  EXPECT_LT(folders, detected);
  EXPECT_LT(detected, executing);
  EXPECT_EQ(drives, executing + 1);
  EXPECT_EQ(records[drives + 1].message, "'S:' -> '\\\\fileserver\\shipping'");
  EXPECT_EQ(records[drives + 2].message, "'T:' -> Not Connected");
  EXPECT_EQ(records[drives + 1].depth, records[drives].depth + 1);
  EXPECT_TRUE(index("0: Interface 11:   IP: 192.168.20.57, Mask: 255.255.255.0, Broadcast: 1.0.0.0 (1), "
                    "Type/State:Default;Primary;Dynamic ") > folders);
  // The step's own call one level deeper finds every part loaded.
  ASSERT_GT(step, executing);
  EXPECT_EQ(records[step + 1].message, "@ LoadSystemInfoObject() {");
  EXPECT_EQ(records[step + 1].depth, records[step].depth + 1);
  EXPECT_EQ(records[step + 2].message, "@ } LoadSystemInfoObject");
  EXPECT_TRUE(m.ErrorLog().empty());
}

TEST(SystemInspection, ThePreloadInspectsTheSameWay) {
  Machine m;
  RunResult run = m.Run("-d preload");
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
  const auto messages = MessagesOf(ParseDebugLog(m.Lines("drives/C/Portavel/TavixPreload.log")));
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Detected workstation name: WORKSTATION01"), messages.end());
}

TEST(SystemInspection, AnEmptyRegistryCostsThreeErrorRecords) {
  Machine m;
  m.WriteC("Portavel/tsystem1.exe");
  m.Write("registry.reg", std::string("Windows Registry Editor Version 5.00\r\n\r\n") + kCurrentRuntimeKeys);
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 0);
  const auto errors = m.ErrorLog();
  // Without any system values: the release name's key (twice) and UAC's key.
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0].substr(34),
            "Registry access failed: Error while opening key \"Software\\Microsoft\\Windows NT\\CurrentVersion\"; "
            "[WIN32 0x00000002/C0002] The system cannot find the file specified. ");
  EXPECT_EQ(errors[2].substr(34),
            "IsUACEnabled: ERROR: Unable to determine if UAC is active. Unable to access registry key.; "
            "[WIN32 0x00000002/C0002]");
}

}  // namespace
}  // namespace scenario
