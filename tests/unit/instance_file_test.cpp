// The instance file on a simulated workstation: every section, key and value in
// order with CR LF line ends, the lines that depend on what was loaded, its two
// places, and the C-runtime error when it cannot be created.
#include <gtest/gtest.h>

#include <string>

#include "diag/log.h"
#include "launcher/instance_file.h"
#include "base/launcher.h"
#include "tests/unit/test_machine.h"

namespace {

// The launcher of a clerk's run with `-i clear list`, nothing about the machine loaded.
struct InstanceRun : unit::LoggedRun {
  explicit InstanceRun(const std::string& ini = "") : LoggedRun(ini) {
    l.run.LauncherPath.assign_cut("C:\\Portavel\\Tavix.exe");
    l.run.LauncherFolder.assign_cut("C:\\Portavel");
    l.folders.CurrDir.assign_cut("C:\\Portavel\\");
    l.run.EngineCommands = commands;
    l.run.EngineCommandCount = 2;
  }
  ~InstanceRun() {
    l.run.EngineCommands = nullptr;
    l.run.EngineCommandCount = 0;
  }

  // Every part of the system information and the folders, as a loaded run has them.
  void LoadEverything() {
    KnownFoldersList& f = l.folders;
    f.FoldersLoaded = true;
    f.WinDir.assign_cut("C:\\Windows");
    f.SysDir.assign_cut("C:\\Windows\\system32");
    f.UserDir.assign_cut("C:\\Users\\clerk\\AppData\\Local");
    f.ProgDataDir.assign_cut("C:\\ProgramData\\Veltrix\\");
    f.TCacheParentDir.assign_cut("C:\\Users\\clerk\\AppData\\Local\\Veltrix\\");
    SystemInfoObject& s = l.sys;
    s.IsLoaded = s.HasVersionInfo = s.HardwareLoaded = s.NetworkLoaded = s.UserLoaded = true;
    s.UserName.assign_cut("clerk");
    s.OSName.assign_cut("Windows 10 Pro");
    s.VersionInfo.MajorVersion = 10;
    s.VersionInfo.MinorVersion = 0;
    s.VersionInfo.BuildNumber = 19045;
    s.ComputerName.assign_cut("WORKSTATION01");
    s.CPUName.assign_cut("Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz");
    s.IPAddress.assign_cut("192.168.20.57");
    s.IsUserLocalAdmin = true;
    s.IsUACEnabled = true;
  }

  char clear[6] = "CLEAR";
  char list[5] = "LIST";
  char* commands[3] = {clear, list, nullptr};
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

constexpr const char* kCommandLine = "-i clear list";

TEST(CreateT1File, WritesEverySectionKeyAndValueInOrder) {
  InstanceRun run;
  run.LoadEverything();
  PathBuffer path;
  ASSERT_TRUE(CreateT1File(run.l, false, kCommandLine, path));
  EXPECT_STREQ(path.c_str(), "C:\\Portavel\\instance.t1");
  EXPECT_EQ(run.machine.File("C:\\Portavel\\instance.t1"),
            "[INSTANCE]\r\n"
            "LAUNCHER=TAVIX\r\n"
            "TAVIX=C:\\Portavel\\Tavix.exe\r\n"
            "TAVIXVER=1.2.3.4\r\n"
            "TAVIXTYPE=32\r\n"
            "ARGS=-i clear list\r\n"
            "CMDLINE=CLEAR,LIST\r\n"
            "WFOLDER=C:\\Portavel\r\n"
            "[ENVIRONMENT]\r\n"
            "WINDIR=C:\\Windows\r\n"
            "SYSDIR=C:\\Windows\\system32\r\n"
            "USERDIR=C:\\Users\\clerk\\AppData\\Local\r\n"
            "PROGDATADIR=C:\\ProgramData\\Veltrix\\\r\n"
            "TCACHEPARENTDIR=C:\\Users\\clerk\\AppData\\Local\\Veltrix\\\r\n"
            "TAVIXDEBUGLOG=C:\\Portavel\\TavixDebug.log\r\n"
            "TAVIXERRORLOG=C:\\Portavel\\TavixError.log\r\n"
            "[METRICS]\r\n"
            "USERNAME=clerk\r\n"
            "OSNAME=Windows 10 Pro\r\n"
            "OSVERSION=10.0.19045\r\n"
            "COMPUTERNAME=WORKSTATION01\r\n"
            "CPUNAME=Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz\r\n"
            "IPADDRESS=192.168.20.57\r\n"
            "ISUSERLOCALADMIN=Y\r\n"
            "ISUSERDOMAINADMIN=N\r\n"
            "ISPROCESSELEVATED=N\r\n"
            "ISUACENABLED=Y\r\n"
            "ADMININVOKED=N\r\n");
  EXPECT_TRUE(Has(run.Debug(),
                  "CreateT1File: Using local install folder location for output: C:\\Portavel\\instance.t1\r\n"));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

TEST(CreateT1File, WithNothingLoadedTheLogsEndTheFirstSectionAndNoFactsFollow) {
  InstanceRun run;
  run.l.run.EngineCommandCount = 0;
  PathBuffer path;
  ASSERT_TRUE(CreateT1File(run.l, false, "-i", path));
  EXPECT_EQ(run.machine.File("C:\\Portavel\\instance.t1"),
            "[INSTANCE]\r\n"
            "LAUNCHER=TAVIX\r\n"
            "TAVIX=C:\\Portavel\\Tavix.exe\r\n"
            "TAVIXVER=1.2.3.4\r\n"
            "TAVIXTYPE=32\r\n"
            "ARGS=-i\r\n"
            "CMDLINE=\r\n"
            "WFOLDER=C:\\Portavel\r\n"
            "TAVIXDEBUGLOG=C:\\Portavel\\TavixDebug.log\r\n"
            "TAVIXERRORLOG=C:\\Portavel\\TavixError.log\r\n"
            "[METRICS]\r\n"
            "USERNAME=\r\n"
            "OSNAME=\r\n");
}

TEST(CreateT1File, WithTheCacheItLiesInTheCacheFolderAndOverwritesTheLastOne) {
  InstanceRun run;
  run.LoadEverything();
  std::filesystem::create_directories(run.machine.folder() / "drives/C/Users/clerk/AppData/Local/Veltrix/_tcache1");
  const char* file = "C:\\Users\\clerk\\AppData\\Local\\Veltrix\\_tcache1\\instance.t1";
  run.machine.PutFile(file, std::string(5000, 'o'));
  PathBuffer path;
  ASSERT_TRUE(CreateT1File(run.l, true, kCommandLine, path));
  EXPECT_STREQ(path.c_str(), file);
  const std::string written = run.machine.File(file).value_or("");
  EXPECT_EQ(written.substr(0, 12), "[INSTANCE]\r\n");
  EXPECT_EQ(written.find("oooo"), std::string::npos);
  EXPECT_TRUE(Has(run.Debug(), std::string("CreateT1File: Using _tcache1 folder location for output: ") + file));
}

struct CreationFailure {
  const char* name;
  const char* ini;
  bool folder_in_the_way;
  bool cache_flag;
  const char* file;
  const char* description;
};

constexpr CreationFailure kCreationFailures[] = {
    {"AFolderOfThatName", "", true, false, "C:\\Portavel\\instance.t1",
     "[ERRNO 0x0000000d/C0013] The data is invalid. "},
    // The cache folder was never made.
    {"NoSuchFolder", "", false, true, "C:\\Users\\clerk\\AppData\\Local\\_tcache1\\instance.t1",
     "[ERRNO 0x00000002/C0002] The system cannot find the file specified. "},
    {"Injected", "[fail]\nWriteTextFile = 1:13\n", false, false, "C:\\Portavel\\instance.t1",
     "[ERRNO 0x0000000d/C0013] The data is invalid. "},
};

class InstanceFileNotCreated : public ::testing::TestWithParam<CreationFailure> {};

TEST_P(InstanceFileNotCreated, IsAnErrorWithTheRuntimesErrorAndLeavesThePathAlone) {
  const CreationFailure& c = GetParam();
  InstanceRun run(c.ini);
  if (c.folder_in_the_way) std::filesystem::create_directories(run.machine.folder() / "drives/C/Portavel/instance.t1");
  run.l.folders.TCacheParentDir.assign_cut("C:\\Users\\clerk\\AppData\\Local\\");
  PathBuffer path;
  path.assign_cut("untouched");
  EXPECT_FALSE(CreateT1File(run.l, c.cache_flag, kCommandLine, path));
  EXPECT_STREQ(path.c_str(), "untouched");
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
  EXPECT_TRUE(Has(run.ErrorText(), "Failed to create T1 instance file \"" + std::string(c.file) + "\"; " +
                                    c.description + "\r\n"))
      << run.ErrorText();
}

INSTANTIATE_TEST_SUITE_P(Causes, InstanceFileNotCreated, ::testing::ValuesIn(kCreationFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CreateT1File, APathThatDoesNotFitIsRefused) {
  InstanceRun run;
  run.l.folders.CurrDir.assign_cut("C:\\" + std::string(250, 'f') + "\\");
  PathBuffer path;
  EXPECT_FALSE(CreateT1File(run.l, false, kCommandLine, path));
  EXPECT_TRUE(path.empty());
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
}

}  // namespace
