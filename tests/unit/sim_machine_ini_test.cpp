// machine.ini, read from strings: every section and value form the scenarios do not
// use, and every kind of malformed file refused with the right line.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "tests/unit/machine_folder_refusal.h"
#include "platform/sim/machine.h"
#include "platform/sim/machine_folder_error.h"

namespace sim {
namespace {

const std::vector<std::string_view> kOperations = {"CopyFile", "RegOpenKeyEx", "CreateProcess", "ReadFile", "WriteFile"};

Machine Parse(std::string_view text) { return ParseMachineIni(text, "machine.ini", kOperations); }

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
  EXPECT_EQ(std::tie(m.os.major, m.os.product_type, m.os.wow64), std::make_tuple(6u, ProductType::Server, false));
  EXPECT_EQ(std::tie(m.machine.memory_bytes, m.machine.cpu_brand, m.machine.utc_offset, m.machine.clock),
            std::make_tuple(0x100000000ull, std::string("Intel(R) Xeon(R) #2; fast"), -300,
                            std::string("2024-02-29T23:59:59")));
  EXPECT_EQ(m.user.sid, "S-1-5-21-1-2-3-500");
  EXPECT_TRUE(m.user.administrators_member && m.user.token_admin && m.user.elevated && !m.user.token_query_fails);
  EXPECT_EQ(m.launcher.path + " " + m.launcher.version, "D:\\Apps\\Tavix64.exe 2.5.0.117");
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
  const std::tuple<const char*, std::int32_t, std::uint32_t> rows[] = {
      {"C:\\a.exe", 0, 400000}, {"C:\\b.exe", 259, 1500}, {"C:\\c.exe", -1, 0},
      {"C:\\d.exe", static_cast<std::int32_t>(0xC0000005), 0}};
  for (const auto& [path, exit_code, milliseconds] : rows)
    EXPECT_EQ(std::tie(m.programs.at(path).exit_code, m.programs.at(path).run_milliseconds),
              std::tie(exit_code, milliseconds)) << path;
}

// A repeated section continues the first; a byte order mark is ignored; the clock
// covers the Windows calendar.
TEST(SimMachineIni, RepeatedSectionsMarksAndTheCalendarsEnds) {
  const Machine m = Parse("\xEF\xBB\xBF[os]\nmajor=6\n[user]\nname=x\n[OS]\nminor=3\n");
  EXPECT_EQ(std::tie(m.os.major, m.os.minor), std::make_tuple(6u, 3u));
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
