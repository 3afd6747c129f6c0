// WOW64 file-system redirection: the simulated machine's rule, where files really
// land with the guard on and off, the guard's switch semantics and its failures, the
// two existence tests, and the rule that picks the folder for 32-bit system files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "install/file_checks.h"
#include "install/fs_redirection.h"
#include "platform/sim/fs_redirection.h"
#include "sysinfo/system_folder_rule.h"
#include "tests/unit/inspection_test_run.h"

namespace {

using inspection_test::InspectionRun;
namespace fs = std::filesystem;

struct RedirectCase {
  const char* path;
  const char* reached;
};

TEST(SimRedirectedPath, System32IsSysWOW64ExceptItsExemptFolders) {
  const RedirectCase cases[] = {
      {"C:\\Windows\\System32\\mscomctl.ocx", "C:\\Windows\\SysWOW64\\mscomctl.ocx"},
      {"C:\\WINDOWS\\SYSTEM32\\Sub\\x.dll", "C:\\Windows\\SysWOW64\\Sub\\x.dll"},
      {"C:\\Windows\\System32\\drivers\\etc\\hosts", "C:\\Windows\\System32\\drivers\\etc\\hosts"},
      {"C:\\Windows\\System32\\drivers\\x.sys", "C:\\Windows\\SysWOW64\\drivers\\x.sys"},
      {"C:\\Windows\\System32\\catroot\\a", "C:\\Windows\\System32\\catroot\\a"},
      {"C:\\Windows\\System32\\spool\\drivers", "C:\\Windows\\System32\\spool\\drivers"},
      {"C:\\Windows\\System32x\\a.dll", "C:\\Windows\\System32x\\a.dll"},
      {"C:\\Windows\\Sysnative\\a.dll", "C:\\Windows\\System32\\a.dll"},
      {"D:\\Windows\\System32\\a.dll", "D:\\Windows\\System32\\a.dll"},
  };
  for (const RedirectCase& c : cases) EXPECT_EQ(sim::RedirectedPath(c.path, "C:\\Windows"), c.reached) << c.path;
  EXPECT_EQ(sim::RedirectedPath("D:\\WINNT\\System32\\a.dll", "D:\\WINNT\\"), "D:\\WINNT\\SysWOW64\\a.dll");
}

constexpr const char* kProbe = "C:\\Windows\\System32\\probe.txt";

struct RedirectionMachine : InspectionRun {
  explicit RedirectionMachine(const std::string& ini = "") : InspectionRun(ini) {
    fs::create_directories(machine.folder() / "drives/C/Windows/System32");
    fs::create_directories(machine.folder() / "drives/C/Windows/SysWOW64");
  }
  bool In(const char* folder) const {
    return fs::exists(machine.folder() / "drives/C/Windows" / folder / "probe.txt");
  }
};

TEST(Redirection, TheSixtyFourBitLauncherIsNeverRedirectedAndExempt) {
  RedirectionMachine m("[launcher]\nbits = 64\n");
  ASSERT_TRUE(m.l.os.files.AppendToFile(kProbe, "x"));
  EXPECT_TRUE(m.In("System32"));
  EXPECT_TRUE(DisableFSCompatibility(m.l));
  EXPECT_TRUE(m.l.fs_redirection.exempt);
  EXPECT_TRUE(EnableFSCompatibility(m.l));
}

TEST(Redirection, OnA32BitSystemTheExemptNoticeIsWrittenOnce) {
  InspectionRun run("[os]\narchitecture = 0\n");
  const char* notice =
      "DisableFSCompatibility: This process is exempt from compatibility redirection. (This notice will not be "
      "repeated)";
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(DisableFSCompatibility(run.l));
    EXPECT_TRUE(EnableFSCompatibility(run.l));
  }
  EXPECT_EQ(run.Count(notice), 1u);
  EXPECT_FALSE(run.Logged("EnableFSCompatibility: WOW64 file system emulation compatibility redirection already enabled."));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

TEST(Redirection, TheGuardIsASwitchNotACounter) {
  RedirectionMachine m;
  EXPECT_TRUE(DisableFSCompatibility(m.l));
  EXPECT_TRUE(DisableFSCompatibility(m.l));
  EXPECT_TRUE(m.Logged("DisableFSCompatibility: WOW64 file system emulation compatibility redirection already "
                       "disabled (Token 0x1)."));
  EXPECT_TRUE(EnableFSCompatibility(m.l));
  // One switch back on ends both sections.
  ASSERT_TRUE(m.l.os.files.AppendToFile(kProbe, "x"));
  EXPECT_TRUE(m.In("SysWOW64"));
  EXPECT_TRUE(EnableFSCompatibility(m.l));
  EXPECT_TRUE(m.Logged("EnableFSCompatibility: WOW64 file system emulation compatibility redirection already enabled."));
  EXPECT_TRUE(m.Logged("DisableFSCompatibility: Disabled WOW64 file system emulation compatibility redirection "
                       "(Token 0x1)."));
  EXPECT_TRUE(m.Logged("EnableFSCompatibility: Enabling WOW64 file system emulation compatibility redirection "
                       "(Token 0x1)."));
}

TEST(Redirection, AFailureToSwitchOffIsAnErrorAndNothingIsSearched) {
  RedirectionMachine m("[fail]\nWow64DisableWow64FsRedirection = 1\nFindFirstFile = 1\n");
  m.machine.PutFile("C:\\Portavel\\here.txt", "x");
  EXPECT_FALSE(FileExist(m.l, "C:\\Portavel\\here.txt"));
  EXPECT_EQ(m.Errors(), std::vector<std::string>{"DisableFSCompatibility failed: Failed to disable WOW64 FS "
                                                 "redirection; [WIN32 0x00000005/C0005] Access is denied. "});
  // Switching back on is asked for on every path, and finds redirection on.
  EXPECT_TRUE(m.Logged("EnableFSCompatibility: WOW64 file system emulation compatibility redirection already enabled."));
  // The first search was not made: the second call's search is the first and fails.
  EXPECT_FALSE(FileExist(m.l, "C:\\Portavel\\here.txt"));
  EXPECT_TRUE(FileExist(m.l, "C:\\Portavel\\here.txt"));
}

TEST(Redirection, AFailureToSwitchBackOnEndsTheRunWithTheCriticalBox) {
  RedirectionMachine m("[fail]\nWow64RevertWow64FsRedirection = 1:87\n");
  EXPECT_TRUE(DisableFSCompatibility(m.l));
  try {
    EnableFSCompatibility(m.l);
    ADD_FAILURE() << "the run goes on";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 6);
  }
  EXPECT_EQ(m.Errors(), std::vector<std::string>{
                            "EnableFSCompatibility failed: *CRITICAL* Failed to re-enable WOW64 file system "
                            "emulation compatibility redirection for this process. Process integrity may be "
                            "compromised and application must close; [WIN32 0x00000057/C0087] The parameter is "
                            "incorrect. "});
  EXPECT_TRUE(m.Logged("Application is being aborted due to a critical error."));
  EXPECT_NE(m.Journal("ui.log").find("MESSAGEBOX"), std::string::npos);
}

TEST(Redirection, TheGuardDoesNotSwitchBackWhileTheRunIsEnding) {
  RedirectionMachine m("[fail]\nWow64RevertWow64FsRedirection = 1\n");
  try {
    FsRedirectionOff off(m.l);
    throw ProcessExit{1};
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 1);
  }
  EXPECT_EQ(m.l.log.ErrorRecordCount, 0);
}

TEST(FileExist, SeesTheRealSystemFolderAndFoldersAndWildcards) {
  RedirectionMachine m;
  m.machine.PutFile("C:\\Windows\\System32\\only64.dll", "x");
  fs::create_directories(m.machine.folder() / "drives/C/Windows/System32/only64dir");
  EXPECT_TRUE(FileExist(m.l, "C:\\Windows\\System32\\only64.dll"));
  EXPECT_TRUE(m.Logged("FileExist: \"C:\\Windows\\System32\\only64.dll\" is present."));
  EXPECT_TRUE(FileExist(m.l, "C:\\Windows\\System32\\only64dir"));
  EXPECT_TRUE(FileExist(m.l, "C:\\Windows\\System32\\ONLY*.?LL"));
  EXPECT_FALSE(FileExist(m.l, "C:\\Windows\\System32\\*.ocx"));
  EXPECT_FALSE(FileExist(m.l, "C:\\Windows\\System32\\missing.dll"));
  EXPECT_TRUE(m.Logged("FileExist: \"C:\\Windows\\System32\\missing.dll\" does not exist (INVALID_HANDLE_VALUE)."));
  EXPECT_TRUE(m.Logged("@ FileExist() {"));
  // Without the guard the same folder is redirected.
  EXPECT_FALSE(DirectoryExists(m.l, "C:\\Windows\\System32\\only64dir"));
  EXPECT_EQ(m.l.log.LogNestingDepth, 0);
}

TEST(DirectoryExists, TellsFoldersFromFilesAndAlwaysPauses) {
  InspectionRun run;
  run.machine.PutFile("C:\\Portavel\\file.txt", "x");
  auto elapsed = [&](auto check) {
    const auto before = run.l.os.system.GetLocalTime();
    check();
    const auto after = run.l.os.system.GetLocalTime();
    return (after.second * 1000 + after.milliseconds) - (before.second * 1000 + before.milliseconds);
  };
  EXPECT_EQ(elapsed([&] { EXPECT_TRUE(DirectoryExists(run.l, "C:\\Portavel")); }), 100);
  EXPECT_TRUE(run.Logged("DirectoryExists: GetFileAttributes \"C:\\Portavel\" resulted in 16."));
  EXPECT_TRUE(run.Logged("DirectoryExists: \"C:\\Portavel\" is an existing folder."));
  EXPECT_EQ(elapsed([&] { EXPECT_FALSE(DirectoryExists(run.l, "C:\\Portavel\\file.txt")); }), 100);
  EXPECT_TRUE(run.Logged("DirectoryExists: \"C:\\Portavel\\file.txt\" is not a folder."));
  EXPECT_EQ(elapsed([&] { EXPECT_FALSE(DirectoryExists(run.l, "C:\\Portavel\\missing")); }), 100);
  EXPECT_TRUE(run.Logged("DirectoryExists: GetFileAttributes \"C:\\Portavel\\missing\" resulted in -1."));
  EXPECT_TRUE(run.Logged("DirectoryExists: Path check for \"C:\\Portavel\\missing\" resulted in "
                         "INVALID_FILE_ATTRIBUTES; [WIN32 0x00000002/C0002] The system cannot find the file "
                         "specified. "));
  EXPECT_EQ(run.DepthOf("DirectoryExists: \"C:\\Portavel\" is an existing folder."),
            run.DepthOf("DirectoryExists: GetFileAttributes \"C:\\Portavel\" resulted in 16.") + 1);
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

TEST(DirectoryExists, AFailedAttributeQueryIsAMissingFolder) {
  InspectionRun run("[fail]\nGetFileAttributes = 1:5\n");
  EXPECT_FALSE(DirectoryExists(run.l, "C:\\Portavel"));
  EXPECT_TRUE(run.Logged("DirectoryExists: Path check for \"C:\\Portavel\" resulted in INVALID_FILE_ATTRIBUTES; "
                         "[WIN32 0x00000005/C0005] Access is denied. "));
  EXPECT_TRUE(DirectoryExists(run.l, "C:\\Portavel"));
}

struct FolderRuleCase {
  bool is_64_bit_process;
  bool wow64;
  std::uint16_t architecture;
  bool sys_wow64;
};

// The folder a run installs into on each kind of system is the archive install's test.
TEST(ThirtyTwoBitSystemFolder, FollowsTheBuildTheWow64StateAndTheArchitectureSeen) {
  const FolderRuleCase cases[] = {
      {false, true, 0, true},    // the 32-bit launcher under WOW64
      {false, false, 0, false},  // 32-bit Windows
      {false, true, 9, false},   // WOW64 said yes, the process sees x64
      {false, true, 12, false},
      {true, false, 9, true},    // the 64-bit launcher
      {true, true, 0, true},
  };
  for (const FolderRuleCase& c : cases) {
    SystemInfoObject sys;
    sys.Is64BitProcess = c.is_64_bit_process;
    sys.IsWow64 = c.wow64;
    sys.SystemInfo.ProcessorArchitecture = c.architecture;
    EXPECT_EQ(Uses32BitSystemFolder(sys), c.sys_wow64)
        << c.is_64_bit_process << c.wow64 << " " << c.architecture;
  }
}

}  // namespace
