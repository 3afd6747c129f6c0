// Scenario tests of the local cache: a launcher on another drive than Windows' copies
// the product's files into _tcache1 when they differ and starts the product from there;
// a launcher on Windows' drive leaves the cache alone; a preload records which it was.
#include <chrono>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

using namespace std::chrono;

constexpr const char* kCache = "Users/clerk/AppData/Local/Norvane/Portavel/_tcache1/";
constexpr const char* kCachedFiles[] = {"tavix.chm",    "nvpv.chm",     "readme.htm",   "ups_sp.chm",
                                        "tsystem1.exe", "tsystem2.dll", "tsystem5.dll", "tsystem6.exe",
                                        "tsystem7.exe", "tsystemx.dll", "tsystemu.dll"};
// The launcher's files were written at 08:00:30 on the day of the run.
const fs::file_time_type kShipped = HostTime({2026, 12, 6, 8, 0, 30, 0});

// The launcher at `drive`:\Portavel, with the machine's archive, utility and redist
// folder, the product's eleven files and, with `tpe`, a tpe folder of two files; the
// cache's parent folder exists.
void Launcher(Machine& m, char drive, bool tpe = true) {
  const std::string folder = std::string("drives/") + drive + "/Portavel/";
  for (const std::string name : {"tsystem0.dll", "UTL/InstCOM.exe"})
    m.Write(folder + name, ReadText(m.C("Portavel/" + name)));
  fs::create_directories(m.root() / (folder + "redist"));
  for (const char* name : kCachedFiles) {
    m.Write(folder + name, std::string("shipped ") + name);
    fs::last_write_time(m.root() / (folder + name), kShipped);
  }
  if (tpe)
    for (const char* name : {"engine.dat", "ports.ini"}) m.Write(folder + "tpe/" + name, name);
  m.Append("machine.ini", std::string("[launcher]\npath = ") + drive + ":\\Portavel\\Tavix.exe\n");
  fs::create_directories(m.C("Users/clerk/AppData/Local/Norvane/Portavel"));
}

std::string CreatedApp(const Machine& m) {
  for (const auto& line : m.Lines("processes.log"))
    if (line.rfind("CREATE", 0) == 0) return line.substr(0, line.find(" cmdline="));
  return "";
}

TEST(CacheSync, ALauncherOnAnotherDriveStartsTheProductFromAFilledCache) {
  Machine m;
  Launcher(m, 'D');
  m.Run("-d -i");
  for (const char* name : kCachedFiles) EXPECT_EQ(ReadText(m.C(std::string(kCache) + name)), std::string("shipped ") + name);
  EXPECT_EQ(ReadText(m.C(std::string(kCache) + "tpe/ports.ini")), "ports.ini");
  EXPECT_EQ(CreatedApp(m), "CREATE app=\"C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\_tcache1\\tsystem1.exe\"");
  // The instance file lies beside the copy that is started.
  EXPECT_TRUE(fs::exists(m.C(std::string(kCache) + "instance.t1")));
  EXPECT_FALSE(fs::exists(m.root() / "drives/D/Portavel/TavixError.log"));
}

TEST(CacheSync, ALauncherOnWindowsDriveHasNoCache) {
  Machine m;
  Launcher(m, 'C');
  m.Run("-d");
  // The runtime step makes the cache folder; nothing is copied into it.
  EXPECT_FALSE(fs::exists(m.C(std::string(kCache) + "tsystem1.exe")));
  EXPECT_EQ(CreatedApp(m), "CREATE app=\"C:\\Portavel\\tsystem1.exe\"");
}

TEST(CacheSync, WithoutATpeFolderOnlyTheProductFilesAreCached) {
  Machine m;
  Launcher(m, 'D', false);
  m.Run("-d");
  EXPECT_TRUE(fs::exists(m.C(std::string(kCache) + "tsystem1.exe")));
  EXPECT_TRUE(fs::is_empty(m.C(std::string(kCache) + "tpe")));
  EXPECT_FALSE(fs::exists(m.root() / "drives/D/Portavel/TavixError.log"));
}

struct CachedCase {
  const char* name;
  const char* bytes;  // the cached copy of tavix.chm
  seconds shift;      // its time against the launcher's copy
  bool copied;
};

class CachedCopy : public ::testing::TestWithParam<CachedCase> {};

TEST_P(CachedCopy, IsReplacedWhenItsMinuteOrSizeDiffers) {
  const CachedCase& c = GetParam();
  Machine m;
  Launcher(m, 'D');
  const std::string cached = std::string(kCache) + "tavix.chm";
  m.WriteC(cached, c.bytes);
  fs::last_write_time(m.C(cached), kShipped + c.shift);
  m.Run("-d");
  EXPECT_EQ(ReadText(m.C(cached)), c.copied ? "shipped tavix.chm" : c.bytes);
  EXPECT_EQ(Contains(m.Lines("drives/D/Portavel/TavixDebug.log"), "InstallFileName: Copying \"D:\\Portavel\\tavix.chm\""), c.copied);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CachedCopy,
    ::testing::Values(CachedCase{"Same", "shipped tavix.chm", 0s, false},
                      CachedCase{"SecondsOnly", "cached tavix.chm!", 20s, false},
                      CachedCase{"OtherMinute", "cached tavix.chm!", 60s, true},
                      CachedCase{"OtherSize", "cached", 0s, true}), ByName);

struct PreloadCase {
  const char* name;
  char drive;
  const char* using_tcache;  // the registry's UsingTCache after the preload
};

class PreloadCache : public ::testing::TestWithParam<PreloadCase> {};

TEST_P(PreloadCache, FillsTheCacheOnlyFromAnotherDriveAndRecordsIt) {
  const PreloadCase& c = GetParam();
  Machine m;
  Launcher(m, c.drive);
  m.Append("machine.ini", "[user]\ntoken_admin = true\nelevated = true\n");
  m.Run("-d preload");
  EXPECT_EQ(fs::exists(m.C(std::string(kCache) + "tsystem1.exe")), c.drive != 'C');
  EXPECT_NE(m.Text("registry.reg").find(c.using_tcache), std::string::npos) << m.Text("registry.reg");
  EXPECT_EQ(CreatedApp(m), "");
}

INSTANTIATE_TEST_SUITE_P(Drives, PreloadCache,
                         ::testing::Values(PreloadCase{"WindowsDrive", 'C', "\"UsingTCache\"=dword:00000000"},
                                           PreloadCase{"OtherDrive", 'D', "\"UsingTCache\"=dword:00000001"}), ByName);

}  // namespace
}  // namespace scenario
