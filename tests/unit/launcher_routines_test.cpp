// Routines of the launch sequence driven directly on a simulated workstation: the
// launcher's own version, the error boxes, the product's command line and the ends
// of a run.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>

#include "deps/library_version.h"
#include "diag/log.h"
#include "lifetime/dispose_app.h"
#include "base/launcher.h"
#include "launcher/modes.h"
#include "launcher/product_launch.h"
#include "launcher/settings_file.h"
#include "tests/unit/test_machine.h"
#include "ui/message_boxes.h"
#include "ui/status_window.h"

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

TEST(ErrorDialog, IsAnErrorRecordOfTheRunAndKeepsALongMessageWhole) {
  TestMachine m;
  Launcher l(m.platform());
  l.log.DebugLevel = 1;
  OpenLogFiles(l, "C:\\Portavel\\");
  ShowErrorDialog(l, "Failed to open %s for installation.", "tsystem0.dll");
  EXPECT_EQ(l.log.ErrorRecordCount, 1);
  auto errors = m.File("C:\\Portavel\\TavixError.log").value_or("");
  EXPECT_NE(errors.find("Error Dialog: An error has occurred:; Failed to open tsystem0.dll for installation."),
            std::string::npos);

  std::string long_text(3000, 'x');
  ShowErrorDialog(l, "%s", long_text.c_str());
  EXPECT_EQ(l.log.ErrorRecordCount, 2);
}

TEST(StatusWindow, TextsAreKeptAndLoggedWithoutAWindow) {
  TestMachine m;
  Launcher l(m.platform());
  UpdateStatus(l, std::string(5000, 's'));
  UpdateSubStatus(l, "Step", 0);
  EXPECT_EQ(l.run.StatusText.size(), 2047u);
  EXPECT_STREQ(l.run.SubStatusText.c_str(), "Step");
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

TEST(EndOfRun, AbortShowsTheCriticalBoxAndEndsWithSix) {
  TestMachine m;
  Launcher l(m.platform());
  try {
    AbortApplication(l);
    FAIL() << "AbortApplication returned";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 6);
  }
  EXPECT_EQ(l.log.ErrorRecordCount, 0);  // the box writes no record of its own
}

TEST(EndOfRun, ReplaceModeReportsFilesThatWereNotReplaced) {
  TestMachine m;
  Launcher l(m.platform());
  (void)l.run.LauncherPath.assign("C:\\Portavel\\Tavix.exe");
  l.SystemFilesReplaced = false;
  try {
    RunReplaceMode(l);
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 1627);
  }
  std::ifstream ui(m.folder() / "ui.log");
  std::stringstream text;
  text << ui.rdbuf();
  EXPECT_NE(text.str().find("MESSAGEBOX caption=\"C:\\Portavel\\Tavix.exe\" style=0x00050000 "
                            "text=\"Not all system files could be replaced.\\nCheck replace.log for details.\" answer=ok"),
            std::string::npos)
      << text.str();
}

}  // namespace
