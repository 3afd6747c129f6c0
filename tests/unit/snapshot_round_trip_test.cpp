// A snapshot of a simulated workstation, loaded again as a machine folder, shows the
// same facts, registry values, descriptors and files, and nothing it should not
// collect; a failing query leaves only its own fact out, and a denied one is recorded
// so that the launcher meets the same denial on the snapshot.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>

#include "launcher/win_main.h"
#include "platform/sim/sim_platform.h"
#include "snapshot/capture_security.h"
#include "snapshot/host_folder_output.h"
#include "snapshot/platform_folder_output.h"
#include "snapshot/take_snapshot.h"
#include "tests/support/test_workstation.h"

namespace {

using test_support::RegistryFile;
using test_support::Workstation;

constexpr const char* kIni =
    "[os]\nmajor = 6\nminor = 1\nbuild = 7601\nservice_pack_major = 1\nproduct_code = 0x4\n"
    "[machine]\ncomputer_name = PC7\nmemory_bytes = 4294967296\ncpu_brand = Brand; X\n"
    "processors = 4\ndpi = 120\nutc_offset = 60\n"
    "[user]\nname = anna\ndomain = OFFICE\nsid = S-1-5-21-1-2-3-1104\ntoken_admin = true\n"
    "elevated = true\nintegrity_rid = 0x3000\n"
    "[versions]\nC:\\Portavel\\redist\\a.dll = 2.1.0.5\n"
    "[network]\ninterface.1 = 10.1.2.3 255.255.0.0 7 primary,dynamic\nbest_interface = 7\n"
    "drive.S = \\\\srv\\share\ndrive.T = disconnected \\\\srv\\old\n";

constexpr const char* kOwnKeys =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.]\r\n\"InstallPath\"=\"C:\\\\Portavel\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n"
    "\"Debug\"=dword:0000012c\r\n\"Options\"=\"-q\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n\"Password\"=\"secret\"\r\n\r\n";

constexpr const char* kSecurity =
    "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BU)\n"
    "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:(A;CI;KR;;;BU)\n";

// A workstation with the launcher's files, settings and a user's document.
void Furnish(const Workstation& w, const std::string& fail, const char* security = kSecurity) {
  w.Write("machine.ini", test_support::kMachineIni + std::string(kIni) + fail);
  w.Write("registry.reg", RegistryFile(kOwnKeys));
  w.Write("security.txt", security);
  w.WriteC("Portavel/Tavix.exe", "MZ launcher");
  w.WriteC("Portavel/pv_main.ini", "[main]\r\nserver=db7\r\n");
  w.WriteC("Portavel/redist/a.dll", std::string(100 * 1024, 'a'));
  // An archive larger than the copied files, sending one file to the 32-bit system
  // folder; and a COM library of redist\ installed there.
  w.PutArchive({test_support::ArchiveFile("big.dat", "CUR", 103, std::string(100 * 1024, 't')),
                test_support::ArchiveFile("sys.dll", "SYS", 103, "new")});
  w.WriteC("Windows/SysWOW64/sys.dll", "old");
  w.WriteC("Windows/SysWOW64/a.dll", "com");
  w.WriteC("ProgramData/Veltrix/settings.ini", "x=1\r\n");
  w.WriteC("Windows/win.ini", "; for 16-bit app support\r\n");
  w.WriteC("Windows/Fonts/CODE128W.ttf", "font");
  w.WriteC("Users/anna/Documents/secret.txt", "do not collect");
  w.WriteC("Users/anna/AppData/Local/notes.txt", "do not collect");
}

struct Snapshot {
  explicit Snapshot(const std::string& fail = "", const char* security = kSecurity) {
    Furnish(from, fail, security);
    std::ostringstream report;
    snapshot::HostFolderOutput out(to.root(), report);
    written = snapshot::TakeSnapshot(from.Load(), "C:\\Portavel\\Tavix.exe", out);
    printed = report.str();
  }
  Workstation from;
  Workstation to;
  bool written = false;
  std::string printed;
};

std::uint32_t Dword(platform::Platform& os, const char* key, const char* name) {
  std::uint32_t value = 0;
  std::uint32_t size = sizeof value;
  os.registry.RegGetValue(platform::kHKeyLocalMachine, key, name, platform::kRrfRtAny | platform::kRrfSubkeyWow6464Key, nullptr,
                          &value, &size);
  return value;
}

TEST(SnapshotRoundTrip, TheLoadedSnapshotShowsTheSameWorkstation) {
  Snapshot s;
  ASSERT_TRUE(s.written);
  const auto original = sim::SimWorkstation::Load(s.from.root());
  const auto copy = sim::SimWorkstation::Load(s.to.root());
  const sim::Machine& a = original->machine();
  const sim::Machine& b = copy->machine();
  EXPECT_EQ(b.os.build, a.os.build);
  EXPECT_EQ(b.os.service_pack_major, a.os.service_pack_major);
  EXPECT_EQ(b.os.product_code, a.os.product_code);
  EXPECT_EQ(b.Wow64(), a.Wow64());
  EXPECT_EQ(b.machine.computer_name, a.machine.computer_name);
  EXPECT_EQ(b.machine.memory_bytes, a.machine.memory_bytes);
  EXPECT_EQ(b.machine.cpu_brand, a.machine.cpu_brand);
  EXPECT_EQ(b.machine.processors, a.machine.processors);
  EXPECT_EQ(b.machine.dpi, a.machine.dpi);
  EXPECT_EQ(b.machine.utc_offset, a.machine.utc_offset);
  EXPECT_EQ(b.user.name, a.user.name);
  EXPECT_EQ(b.user.domain, a.user.domain);
  EXPECT_EQ(b.user.sid, a.user.sid);
  EXPECT_EQ(b.user.administrators_member, a.user.administrators_member);
  EXPECT_EQ(b.user.token_admin, a.user.token_admin);
  EXPECT_EQ(b.user.elevated, a.user.elevated);
  EXPECT_EQ(b.user.integrity_rid, a.user.integrity_rid);
  EXPECT_EQ(b.launcher.path, a.launcher.path);
  EXPECT_EQ(b.launcher.version, a.launcher.version);
  EXPECT_EQ(b.versions, a.versions);
  ASSERT_EQ(b.network.interfaces.size(), 1u);
  EXPECT_EQ(b.network.interfaces[0].address, "10.1.2.3");
  EXPECT_EQ(b.network.interfaces[0].flags, a.network.interfaces[0].flags);
  EXPECT_EQ(b.network.best_interface, a.network.best_interface);
  ASSERT_EQ(b.network.drives.size(), 2u);
  EXPECT_FALSE(b.network.drives[1].connected);

  platform::Platform& x = original->platform();
  platform::Platform& y = copy->platform();
  for (auto folder : {platform::KnownFolder::System, platform::KnownFolder::SystemX86,
                      platform::KnownFolder::ProgramData, platform::KnownFolder::Fonts}) {
    std::string p, q;
    x.system_info.SHGetKnownFolderPath(folder, &p);
    y.system_info.SHGetKnownFolderPath(folder, &q);
    EXPECT_EQ(q, p);
  }
  const char* kLauncherKey = "SOFTWARE\\Veltrix Solutions Inc.\\Launcher";
  EXPECT_EQ(Dword(y, kLauncherKey, "Debug"), 300u);
  EXPECT_EQ(Dword(y, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "EnableLUA"), 1u);
  EXPECT_EQ(snapshot::FileSddl(y, "C:\\ProgramData\\Veltrix"), snapshot::FileSddl(x, "C:\\ProgramData\\Veltrix"));
  EXPECT_EQ(s.to.Text("registry.reg").find("Password"), std::string::npos);
  EXPECT_NE(s.to.Text("security.txt").find("HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:"),
            std::string::npos);

  // Small files and the archive whole, larger ones as zeros of their size, times kept.
  for (const char* path : {"Portavel/pv_main.ini", "Portavel/tsystem0.dll",
                           "ProgramData/Veltrix/settings.ini", "Windows/win.ini",
                           "Windows/Fonts/CODE128W.ttf", "Windows/SysWOW64/sys.dll",
                           "Windows/SysWOW64/a.dll"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(test_support::ReadText(s.to.C(path)), test_support::ReadText(s.from.C(path)));
    // Windows keeps file times in steps of 100 nanoseconds.
    const auto step = std::filesystem::last_write_time(s.from.C(path)) -
                      std::filesystem::last_write_time(s.to.C(path));
    EXPECT_LT(std::chrono::abs(step), std::chrono::nanoseconds(100));
  }
  EXPECT_EQ(test_support::ReadText(s.to.C("Portavel/redist/a.dll")), std::string(100 * 1024, '\0'));
  // The known folders are there, without their contents.
  EXPECT_TRUE(std::filesystem::is_directory(s.to.C("Users/anna/AppData/Local")));
  EXPECT_FALSE(std::filesystem::exists(s.to.C("Users/anna/AppData/Local/notes.txt")));
  EXPECT_FALSE(std::filesystem::exists(s.to.C("Users/anna/Documents")));
  EXPECT_NE(s.printed.find("file C:\\Portavel\\redist\\a.dll (102400 bytes, zero-filled)"),
            std::string::npos);
}

TEST(SnapshotOnTheMachine, WrittenBelowTheLauncherFolderLeavesItselfOut) {
  Workstation w;
  Furnish(w, "");
  platform::Platform& os = w.Load();
  os.files.CreateDirectory("C:\\Portavel\\snap");
  snapshot::PlatformFolderOutput out(os, "C:\\Portavel\\snap\\");
  ASSERT_TRUE(snapshot::TakeSnapshot(os, "C:\\Portavel\\Tavix.exe", out));
  const auto snap = w.C("Portavel/snap");
  EXPECT_EQ(test_support::ReadText(snap / "drives/C/Portavel/pv_main.ini"),
            test_support::ReadText(w.C("Portavel/pv_main.ini")));
  EXPECT_EQ(std::filesystem::file_size(snap / "drives/C/Portavel/redist/a.dll"), 100u * 1024);
  EXPECT_FALSE(std::filesystem::exists(snap / "drives/C/Portavel/snap"));
  EXPECT_NO_THROW(sim::SimWorkstation::Load(snap));
  EXPECT_NE(w.Text("stdout.log").find("wrote security.txt"), std::string::npos);
}

struct FailedQuery {
  const char* fail;      // the [fail] line
  const char* file;      // the snapshot file that lacks the fact
  const char* left_out;  // the fact's text
};

class SnapshotFault : public ::testing::TestWithParam<FailedQuery> {};

TEST_P(SnapshotFault, LeavesOnlyItsOwnFactOut) {
  const FailedQuery& row = GetParam();
  Snapshot s(std::string("[fail]\n") + row.fail + "\n");
  ASSERT_TRUE(s.written);
  EXPECT_EQ(s.to.Text(row.file).find(row.left_out), std::string::npos);
  EXPECT_NE(s.to.Text("machine.ini").find("computer_name = PC7"), std::string::npos);
  EXPECT_NO_THROW(sim::SimWorkstation::Load(s.to.root()));
}

constexpr FailedQuery kFailedQueries[] = {
    {"RegEnumValue = 1", "registry.reg", "\"InstallPath\""},
    {"ConvertSidToStringSid = 1", "machine.ini", "sid ="},
    {"LookupAccountSid = 1", "machine.ini", "domain ="},
    {"ConvertSecurityDescriptorToSddl = 1", "security.txt", "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\t"},
};
INSTANTIATE_TEST_SUITE_P(Queries, SnapshotFault, ::testing::ValuesIn(kFailedQueries));

struct DeniedQuery {
  const char* fail;      // the [fail] lines of the captured machine
  const char* security;  // its security.txt
  const char* file;      // the snapshot file that records the denial
  const char* recorded;  // the record
  const char* reported;  // what the report says of it
  bool same_run = true;  // whether the launcher's run on the snapshot logs the same errors
};

class SnapshotDenial : public ::testing::TestWithParam<DeniedQuery> {};

// The launcher, run on the captured machine and on its snapshot, logs the same errors.
TEST_P(SnapshotDenial, IsRecordedSoThatTheLauncherMeetsItAgain) {
  const DeniedQuery& row = GetParam();
  Snapshot s(row.fail, row.security);
  ASSERT_TRUE(s.written);
  EXPECT_NE(s.to.Text(row.file).find(row.recorded), std::string::npos) << s.to.Text(row.file);
  EXPECT_NE(s.printed.find(row.reported), std::string::npos) << s.printed;
  EXPECT_NO_THROW(sim::SimWorkstation::Load(s.to.root()));
  if (!row.same_run) return;
  const int code = RunLauncher(s.from.Load(), "-d");
  EXPECT_EQ(RunLauncher(s.to.Load(), "-d"), code);
  const auto errors = test_support::ErrorMessages(s.from.ErrorLog());
  EXPECT_FALSE(errors.empty());
  EXPECT_EQ(test_support::ErrorMessages(s.to.ErrorLog()), errors);
}

constexpr DeniedQuery kDeniedQueries[] = {
    // The user holds Administrators: only SYSTEM keeps access.
    {"", "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:P(A;CI;KA;;;SY)\n", "security.txt",
     "HKLM\\SOFTWARE\\Veltrix Solutions Inc.\tD:P(A;CI;KA;;;SY)",
     "denied HKLM\\SOFTWARE\\Veltrix Solutions Inc.: security.txt denies it (D:P(A;CI;KA;;;SY))"},
    {"", "C:\\ProgramData\\Veltrix\tD:P(A;OICI;FA;;;SY)\n", "security.txt",
     "C:\\ProgramData\\Veltrix\tD:P(A;OICI;FA;;;SY)",
     "denied C:\\ProgramData\\Veltrix: security.txt denies it (D:P(A;OICI;FA;;;SY))"},
    {"[fail]\nOpenProcessToken = 1\n", kSecurity, "machine.ini", "OpenProcessToken = *:5",
     "failed OpenProcessToken with error 5: machine.ini fails every call"},
    {"[fail]\nGetTokenInformation = 2:1\n", kSecurity, "machine.ini", "GetTokenInformation = *:1",
     "[fail] GetTokenInformation = *:1"},
    // Every listing of the replay fails, not only the one the snapshot met.
    {"[fail]\nFindFirstFile = 2\n", kSecurity, "machine.ini", "FindFirstFile = *:5",
     "[fail] FindFirstFile = *:5", false},
};
INSTANTIATE_TEST_SUITE_P(Queries, SnapshotDenial, ::testing::ValuesIn(kDeniedQueries));

}  // namespace
