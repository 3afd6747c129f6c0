// Routines of the launch sequence driven directly on a simulated workstation: the
// launcher's own version, the product's command line and the settings file.
#include <gtest/gtest.h>

#include <array>

#include "deps/library_version.h"
#include "base/launcher.h"
#include "launcher/product_launch.h"
#include "launcher/settings_file.h"
#include "tests/unit/test_machine.h"

namespace {

using unit::TestMachine;

TEST(LibraryVersionTest, ReadsTheLauncherAndListedFiles) {
  TestMachine m("[launcher]\nversion = 2.5.300.4\n[versions]\nC:\\Portavel\\redist\\A.dll = 1.10.0.65535\n");
  m.PutFile("C:\\Portavel\\Other.dll", "x");
  std::filesystem::create_directories(m.folder() / "drives/C/Portavel/redist");
  m.PutFile("C:\\Portavel\\redist\\A.dll", "x");
  Launcher l(m.platform());

  LibraryVersion own = GetLibraryVersion(l, "c:\\portavel\\TAVIX.EXE");
  EXPECT_EQ((std::array{own.Major, own.Minor, own.Build, own.Revision}), (std::array{2, 5, 300, 4}));
  EXPECT_STREQ(own.FileDescription.c_str(), "Portavel Desktop Launcher");
  EXPECT_STREQ(own.CompanyName.c_str(), "Veltrix Solutions Inc.");

  LibraryVersion listed = GetLibraryVersion(l, "C:\\Portavel\\redist\\A.dll");
  EXPECT_EQ((std::array{listed.Major, listed.Minor, listed.Build, listed.Revision}),
            (std::array{1, 10, 0, 65535}));
  EXPECT_TRUE(listed.ProductName.empty());

  // No version resource, or no file at all: every field zero or empty.
  for (const char* path : {"C:\\Portavel\\Other.dll", "C:\\Portavel\\Missing.dll"}) {
    LibraryVersion none = GetLibraryVersion(l, path);
    EXPECT_EQ(none.Major + none.Minor + none.Build + none.Revision, 0) << path;
    EXPECT_TRUE(none.FileDescription.empty()) << path;
  }
}

TEST(ProductLaunch, BuildsTheLegacyCommandLineAndRefusesWhatDoesNotFit) {
  TestMachine m;
  Launcher l(m.platform());
  (void)l.run.LauncherPath.assign("C:\\Portavel\\Tavix.exe");
  (void)l.folders.CurrDir.assign("C:\\Portavel\\");
  (void)l.folders.TCacheParentDir.assign("C:\\Users\\clerk\\AppData\\Local\\");
  char clear[] = "CLEAR";
  char list[] = "LIST";
  char* commands[] = {clear, list, nullptr};
  l.run.EngineCommands = commands;
  l.run.EngineCommandCount = 2;

  ProductLaunch launch;
  ASSERT_TRUE(BuildProductLaunch(l, false, "", launch));
  EXPECT_STREQ(launch.path.c_str(), "C:\\Portavel\\tsystem1.exe");
  EXPECT_STREQ(launch.command_line.c_str(), "C:\\Portavel\\Tavix.exe CLEAR LIST");

  ASSERT_TRUE(BuildProductLaunch(l, true, "", launch));
  EXPECT_STREQ(launch.path.c_str(), "C:\\Users\\clerk\\AppData\\Local\\_tcache1\\tsystem1.exe");

  (void)l.run.LauncherPath.assign(std::string(250, 'p'));
  EXPECT_FALSE(BuildProductLaunch(l, false, "", launch));
  EXPECT_EQ(l.log.ErrorRecordCount, 1);
  l.run.EngineCommands = nullptr;
  l.run.EngineCommandCount = 0;
}

TEST(SettingsFile, OnlyTrueInAnyCaseIsTrue) {
  for (const char* yes : {"TRUE", "true", "True"}) EXPECT_TRUE(IsTrue(yes)) << yes;
  for (const char* no : {"FALSE", "", "TRUE ", "1", "yes"}) EXPECT_FALSE(IsTrue(no)) << no;
}

TEST(SettingsFile, MissingFileSectionOrKeyGivesTrue) {
  TestMachine m;
  Launcher l(m.platform());
  (void)l.folders.CurrDir.assign("C:\\Portavel\\");
  PathBuffer path;
  ASSERT_TRUE(SettingsFilePath(l, path));
  EXPECT_STREQ(ReadFileAccessValue(l, path, "RunLocal").c_str(), "TRUE");
  m.PutFile("C:\\Portavel\\pv_main.ini", "[FileAccess]\r\nRunLocal = false\r\nRunNPELocal=ABCDEFGHIJKLMN\r\n");
  EXPECT_STREQ(ReadFileAccessValue(l, path, "runlocal").c_str(), "false");
  // The value is read into ten characters.
  EXPECT_STREQ(ReadFileAccessValue(l, path, "RunNPELocal").c_str(), "ABCDEFGHI");
}

}  // namespace
