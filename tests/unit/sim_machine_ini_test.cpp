// machine.ini, read from strings: the defaults of an empty file, every section and
// value form, and every kind of malformed file refused with the right line.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/unit/machine_folder_refusal.h"
#include "platform/sim/machine.h"
#include "platform/sim/machine_folder_error.h"

namespace sim {
namespace {

const std::vector<std::string_view> kOperations = {"CopyFile", "RegOpenKeyEx", "CreateProcess", "ReadFile", "WriteFile"};

Machine Parse(std::string_view text) { return ParseMachineIni(text, "machine.ini", kOperations); }

TEST(SimMachineIni, Wow64IsDerivedFromLauncherBitsAndArchitecture) {
  struct Row {
    const char* ini;
    bool wow64;
  };
  constexpr Row kRows[] = {
      {"", true},
      {"[os]\narchitecture=12", true},
      {"[os]\narchitecture=6", true},
      {"[os]\narchitecture=0", false},
      {"[os]\narchitecture=5", false},
      {"[os]\narchitecture=9\n[launcher]\nbits=64", false},
      {"[os]\narchitecture=0\nwow64=true", true},
      {"[os]\narchitecture=9\nwow64=false", false},
  };
  for (const Row& row : kRows) EXPECT_EQ(Parse(row.ini).Wow64(), row.wow64) << row.ini;
}

// Comments of both styles, keys in any case, blanks around keys and values, booleans
// and choices in any spelling, and the maps whose keys are paths in any case.
TEST(SimMachineIni, ReadsEverySection) {
  const Machine m = Parse(
      "; a machine\r\n"
      "# another comment style\r\n"
      "\r\n"
      "[OS]\r\n"
      "  Major = 6 \r\n"
      "product_type = Server\r\n"
      "wow64 = no\r\n"
      "[machine]\r\n"
      "memory_bytes = 0x100000000\r\n"
      "cpu_brand = Intel(R) Xeon(R) #2; fast\r\n"
      "utc_offset = -300\r\n"
      "clock = 2024-02-29T23:59:59\r\n"
      "[user]\r\n"
      "sid = S-1-5-21-1-2-3-500\r\n"
      "administrators_member = 1\r\n"
      "token_admin = YES\r\n"
      "elevated = True\r\n"
      "token_query_fails = 0\r\n"
      "[launcher]\r\n"
      "path = D:\\Apps\\Tavix64.exe\r\n"
      "version = 2.5.0.117\r\n"
      "[versions]\r\n"
      "C:\\Portavel\\redist\\Foo.dll = 2.1.0.5\r\n"
      "[folders]\r\n"
      "appdata =\r\n"
      "[ui]\r\n"
      "message_box = Retry\r\n"
      "[programs]\r\n"
      "C:\\Portavel\\UTL\\Refused.exe = refuse\r\n");
  EXPECT_EQ(m.os.major, 6u);
  EXPECT_EQ(m.os.product_type, ProductType::Server);
  EXPECT_EQ(m.os.wow64, false);
  EXPECT_EQ(m.machine.memory_bytes, 0x100000000ull);
  EXPECT_EQ(m.machine.cpu_brand, "Intel(R) Xeon(R) #2; fast");
  EXPECT_EQ(m.machine.utc_offset, -300);
  EXPECT_EQ(m.machine.clock, "2024-02-29T23:59:59");
  EXPECT_EQ(m.user.sid, "S-1-5-21-1-2-3-500");
  EXPECT_TRUE(m.user.administrators_member && m.user.token_admin && m.user.elevated);
  EXPECT_FALSE(m.user.token_query_fails);
  EXPECT_EQ(m.launcher.path, "D:\\Apps\\Tavix64.exe");
  EXPECT_EQ(m.launcher.version, "2.5.0.117");
  EXPECT_EQ(m.versions.at("c:\\portavel\\REDIST\\foo.dll"), "2.1.0.5");
  EXPECT_EQ(m.folders.appdata, "");  // present and empty: fails to resolve
  EXPECT_FALSE(m.folders.system.has_value());
  EXPECT_EQ(m.ui.message_box, "retry");
  EXPECT_TRUE(m.programs.at("c:\\portavel\\utl\\refused.exe").refuse);
}

TEST(SimMachineIni, NumbersAreDecimalOrHexadecimal) {
  struct Row {
    const char* value;
    std::uint32_t build;
  };
  constexpr Row kRows[] = {
      {"19045", 19045}, {"0X4a65", 0x4A65}, {"4294967295", 0xFFFFFFFF}, {"007", 7},
  };
  for (const Row& row : kRows)
    EXPECT_EQ(Parse(std::string("[os]\nbuild=") + row.value).os.build, row.build) << row.value;
}

TEST(SimMachineIni, ProgramsMayRunForATime) {
  const Machine m = Parse(
      "[programs]\n"
      "C:\\a.exe = 0 after 400s\n"
      "C:\\b.exe = 259 AFTER 1500ms\n"
      "C:\\c.exe = -1\n"
      "C:\\d.exe = 0xC0000005\n");
  EXPECT_EQ(m.programs.at("C:\\a.exe").exit_code, 0);
  EXPECT_EQ(m.programs.at("C:\\a.exe").run_milliseconds, 400000u);
  EXPECT_EQ(m.programs.at("C:\\b.exe").exit_code, 259);
  EXPECT_EQ(m.programs.at("C:\\b.exe").run_milliseconds, 1500u);
  EXPECT_EQ(m.programs.at("C:\\c.exe").exit_code, -1);
  EXPECT_EQ(m.programs.at("C:\\c.exe").run_milliseconds, 0u);
  EXPECT_EQ(static_cast<std::uint32_t>(m.programs.at("C:\\d.exe").exit_code), 0xC0000005u);
}

TEST(SimMachineIni, FaultRulesNameOperationsAndCalls) {
  const Machine m = Parse(
      "[fail]\n"
      "copyfile = 4, 2:0x20\n"
      "RegOpenKeyEx = 1:2\n"
      "CreateProcess = 3\n"
      "WriteFile = 2:Short\n"
      "[files]\n"
      "C:\\a.dll = locked, READONLY\n"
      "C:\\b.dll = locked\n");
  ASSERT_EQ(m.faults.size(), 4u);
  EXPECT_TRUE(m.faults.at("WriteFile")[0].short_transfer);
  EXPECT_FALSE(m.faults.at("CreateProcess")[0].short_transfer);
  EXPECT_TRUE(m.files.at("c:\\A.DLL").read_only && m.files.at("C:\\a.dll").locked);
  EXPECT_TRUE(!m.files.at("C:\\b.dll").read_only && m.files.at("C:\\b.dll").locked);
  // Stored under the operation's own spelling, found in any case.
  EXPECT_EQ(m.faults.begin()->first, "CopyFile");
  const std::vector<FaultRule>& copy = m.faults.at("COPYFILE");
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_EQ(copy[0].call, 2u);  // sorted by call
  EXPECT_EQ(copy[0].error, 0x20u);
  EXPECT_EQ(copy[1].call, 4u);
  EXPECT_EQ(copy[1].error, 5u);  // access denied unless told
  EXPECT_EQ(m.faults.at("RegOpenKeyEx")[0].call, 1u);
  EXPECT_EQ(m.faults.at("RegOpenKeyEx")[0].error, 2u);
  EXPECT_EQ(m.faults.at("CreateProcess")[0].call, 3u);
}

TEST(SimMachineIni, NetworkInterfacesAndDrives) {
  const Machine m = Parse(
      "[network]\n"
      "interface.2 = 10.0.0.7 255.0.0.0 12 dynamic, disconnected\n"
      "interface.1 = 192.168.1.20 255.255.255.0 7 Primary\n"
      "interface.3 = 0.0.0.0 0.0.0.0 0x10\n"
      "best_interface = 7\n"
      "drive.z = \\\\files\\public\n"
      "drive.H = disconnected \\\\home server\\clerk share\n");
  ASSERT_EQ(m.network.interfaces.size(), 3u);
  const NetworkInterface& first = m.network.interfaces[0];  // in the order of N
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(first.address, "192.168.1.20");
  EXPECT_EQ(first.mask, "255.255.255.0");
  EXPECT_EQ(first.index, 7u);
  EXPECT_EQ(first.flags, std::vector<std::string>{"primary"});
  EXPECT_EQ(m.network.interfaces[1].flags, (std::vector<std::string>{"dynamic", "disconnected"}));
  EXPECT_EQ(m.network.interfaces[2].index, 16u);
  EXPECT_TRUE(m.network.interfaces[2].flags.empty());
  EXPECT_EQ(m.network.best_interface, 7u);
  ASSERT_EQ(m.network.drives.size(), 2u);
  EXPECT_EQ(m.network.drives[0].letter, 'H');
  EXPECT_EQ(m.network.drives[0].remote, "\\\\home server\\clerk share");
  EXPECT_FALSE(m.network.drives[0].connected);
  EXPECT_EQ(m.network.drives[1].letter, 'Z');
  EXPECT_EQ(m.network.drives[1].remote, "\\\\files\\public");
  EXPECT_TRUE(m.network.drives[1].connected);
}

TEST(SimMachineIni, ARepeatedSectionContinuesTheFirst) {
  const Machine m = Parse("[os]\nmajor=6\n[user]\nname=x\n[OS]\nminor=3\n");
  EXPECT_EQ(m.os.major, 6u);
  EXPECT_EQ(m.os.minor, 3u);
}

TEST(SimMachineIni, AByteOrderMarkIsIgnored) {
  EXPECT_EQ(Parse("\xEF\xBB\xBF[os]\nmajor=5\n").os.major, 5u);
}

TEST(SimMachineIni, TheClockCoversTheWindowsCalendar) {
  for (const char* time : {"1601-01-01T00:00:00", "30827-12-31T23:59:59"})
    EXPECT_EQ(Parse(std::string("[machine]\nclock=") + time).machine.clock, time);
}

TEST(SimMachineIni, MalformedFilesAreRefusedNamingTheLine) {
  struct Row {
    const char* ini;
    int line;
    const char* message;  // a part of the message
  };
  constexpr Row kRows[] = {
      // The file's shape.
      {"major = 6", 1, "before the first section"},
      {"[os]\nmajor 6", 2, "not a section, a comment or key = value"},
      {"[os\nmajor=6", 1, "closing ']'"},
      {"[ ]", 1, "section without a name"},
      {"[os]\n= 6", 2, "entry without a key"},
      {"[os]\nmajor=6\n\nMAJOR=7", 4, "given twice in [os] (first on line 2)"},
      {"[os]\n[colours]\nred=1", 2, "unknown section [colours]"},
      {"[os]\nmajr=6", 2, "unknown key \"majr\" in [os]"},
      // Numbers.
      {"[os]\nmajor=ten", 2, "major: \"ten\" is not a number"},
      {"[os]\nmajor=4294967296", 2, "is not a number from 0 to 4294967295"},
      {"[os]\nmajor=1 2", 2, "is not a number"},
      {"[os]\narchitecture=0x10000", 2, "from 0 to 65535"},
      {"[machine]\nmemory_bytes=18446744073709551616", 2, "is not a number"},
      {"[machine]\nutc_offset=1441", 2, "from -1440 to 1440"},
      // Booleans and choices.
      {"[os]\nwow64=maybe", 2, "wow64: \"maybe\" is not true or false"},
      {"[os]\nproduct_type=desktop", 2, "is not one of workstation, server, domain_controller"},
      {"[launcher]\nbits=16", 2, "is not one of 32, 64"},
      // Texts with a form.
      {"[machine]\nclock=2023-02-29T00:00:00", 2, "is not a UTC time"},
      {"[machine]\nclock=2024-01-01T24:00:00", 2, "is not a UTC time"},
      {"[machine]\nclock=30828-01-01T00:00:00", 2, "is not a UTC time YYYY-MM-DDTHH:MM:SS from 1601 to 30827"},
      // A file with CR-only line ends is not one long comment.
      {"; a machine\r[os]\rmajor=5\r", 1, "a carriage return inside a line"},
      {"[user]\nsid=S-1-5-x", 2, "is not a SID"},
      {"[user]\nsid=S-1-5-4294967296", 2, "is not a SID"},
      {"[launcher]\npath=Tavix.exe", 2, "is not a path on a drive"},
      {"[launcher]\nversion=1.0.0", 2, "is not a version a.b.c.d"},
      {"[versions]\nC:\\a.dll = 1.2.3.65536", 2, "is not a version"},
      // [programs].
      {"[programs]\nC:\\a.exe = runs", 2, "is not an exit code, \"refuse\""},
      {"[programs]\nC:\\a.exe = 4294967296", 2, "is not an exit code"},
      {"[programs]\nC:\\a.exe = refuse after 4s", 2, "is not an exit code"},
      {"[programs]\nC:\\a.exe = 0 after 4", 2, "\"4\" is not a time"},
      {"[programs]\nC:\\a.exe = 0 after 4294968s", 2, "is not a time"},
      // [fail].
      {"[fail]\nCopyFiles = 1", 2, "CopyFiles: not a platform operation"},
      {"[fail]\nCopyFile = 0", 2, "is not N or N:ERROR"},
      {"[fail]\nCopyFile = 2:0", 2, "does not name an error"},
      {"[fail]\nCopyFile = 2,,3", 2, "is not N or N:ERROR"},
      {"[fail]\nCopyFile = 2:5, 2:6", 2, "call 2 is given twice"},
      {"[fail]\nCopyFile = 1\ncopyfile = 2", 3, "given twice in [fail]"},
      {"[fail]\nCopyFile = 1:short", 2, "only ReadFile and WriteFile can be short"},
      {"[fail]\nReadFile = short", 2, "is not N or N:ERROR"},
      {"[fail]\nCopyFile = 2, *:32", 2, "\"*\" stands alone"},
      // [files].
      {"[files]\nC:\\a.dll = hidden", 2, "\"hidden\" is not readonly or locked"},
      {"[files]\nC:\\a.dll = readonly,", 2, "\"\" is not readonly or locked"},
      // [network].
      {"[network]\ninterface = 1.2.3.4 255.0.0.0 1", 2, "not interface.N, best_interface"},
      {"[network]\ninterface.x = 1.2.3.4 255.0.0.0 1", 2, "interface number"},
      {"[network]\ninterface.1 = 1.2.3.4 255.0.0.0", 2, "is not \"ADDRESS MASK INDEX"},
      {"[network]\ninterface.1 = 1.2.3.256 255.0.0.0 1", 2, "is not an IPv4 address"},
      {"[network]\ninterface.1 = 1.2.3.4 255.0.0 1", 2, "is not an IPv4 mask"},
      {"[network]\ninterface.1 = 1.2.3.4 255.0.0.0 one", 2, "is not an interface index"},
      {"[network]\ninterface.1 = 1.2.3.4 255.0.0.0 1 primary, wifi", 2, "\"wifi\" is not a flag"},
      {"[network]\ninterface.1 = 1.2.3.4 255.0.0.0 1\ninterface.01 = 1.2.3.5 255.0.0.0 2", 3,
       "interface 1 is given twice"},
      {"[network]\nbest_interface = none", 2, "is not a number"},
      {"[network]\ndrive.ZZ = \\\\a\\b", 2, "is not a drive letter"},
      {"[network]\ndrive.Z = C:\\share", 2, "is not a share"},
      {"[network]\ndrive.Z = disconnected", 2, "is not a share"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.ini);
    ExpectRefusal([&] { Parse(row.ini); }, "machine.ini", row.line, row.message);
  }
}

}  // namespace
}  // namespace sim
