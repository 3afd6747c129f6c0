// The instance file on a simulated workstation: the lines that depend on what was
// loaded, its place in the cache folder, and the C-runtime error when it cannot be
// created. The whole file of a loaded run is checked by the product start's tests.
#include <gtest/gtest.h>

#include <string>

#include "diag/log.h"
#include "launcher/instance_file.h"
#include "base/launcher.h"
#include "tests/support/test_text.h"
#include "tests/unit/test_machine.h"

namespace {

using test_support::Has;

// The launcher of a clerk's run with `-i clear list`, nothing about the machine loaded.
struct InstanceRun : unit::LoggedRun {
  explicit InstanceRun(const std::string& ini = "") : LoggedRun(ini) {
    l.run.LauncherPath.assign_cut("C:\\Portavel\\Tavix.exe");
    l.run.LauncherFolder.assign_cut("C:\\Portavel");
    l.folders.CurrDir.assign_cut("C:\\Portavel\\");
    l.folders.TCacheParentDir.assign_cut("C:\\Users\\clerk\\AppData\\Local\\Veltrix\\");
    l.run.EngineCommands = commands;
    l.run.EngineCommandCount = 2;
  }
  ~InstanceRun() {
    l.run.EngineCommands = nullptr;
    l.run.EngineCommandCount = 0;
  }

  char clear[6] = "CLEAR";
  char list[5] = "LIST";
  char* commands[3] = {clear, list, nullptr};
};

constexpr const char* kCommandLine = "-i clear list";

TEST(CreateT1File, WithNothingLoadedTheLogsEndTheFirstSectionAndNoFactsFollow) {
  InstanceRun run;
  run.l.run.EngineCommandCount = 0;
  PathBuffer path;
  ASSERT_TRUE(CreateT1File(run.l, false, "-i", path));
  EXPECT_STREQ(path.c_str(), "C:\\Portavel\\instance.t1");
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
  std::filesystem::create_directories(run.machine.folder() / "drives/C/Users/clerk/AppData/Local/Veltrix/_tcache1");
  const char* file = "C:\\Users\\clerk\\AppData\\Local\\Veltrix\\_tcache1\\instance.t1";
  run.machine.PutFile(file, std::string(5000, 'o'));
  PathBuffer path;
  ASSERT_TRUE(CreateT1File(run.l, true, kCommandLine, path));
  EXPECT_STREQ(path.c_str(), file);
  const std::string written = run.machine.File(file).value_or("");
  EXPECT_EQ(written.substr(0, 12), "[INSTANCE]\r\n");
  EXPECT_FALSE(Has(written, "oooo"));
  EXPECT_TRUE(Has(run.Debug(), std::string("CreateT1File: Using _tcache1 folder location for output: ") + file));
}

// A folder in the file's place is the product start's test.
TEST(CreateT1File, AFileThatCannotBeCreatedIsTheRuntimesErrorAndLeavesThePathAlone) {
  const struct {
    const char* ini;
    bool cache;
    const char* file;
    const char* description;
  } cases[] = {
      // The cache folder was never made.
      {"", true, "C:\\Users\\clerk\\AppData\\Local\\Veltrix\\_tcache1\\instance.t1",
       "[ERRNO 0x00000002/C0002] The system cannot find the file specified. "},
      {"[fail]\nWriteTextFile = 1:13\n", false, "C:\\Portavel\\instance.t1",
       "[ERRNO 0x0000000d/C0013] The data is invalid. "},
  };
  for (const auto& c : cases) {
    InstanceRun run(c.ini);
    PathBuffer path;
    path.assign_cut("untouched");
    EXPECT_FALSE(CreateT1File(run.l, c.cache, kCommandLine, path)) << c.ini;
    EXPECT_STREQ(path.c_str(), "untouched");
    EXPECT_EQ(run.Errors(), std::vector<std::string>{"Failed to create T1 instance file \"" + std::string(c.file) +
                                                     "\"; " + c.description});
  }
}

TEST(CreateT1File, APathThatDoesNotFitIsRefused) {
  InstanceRun run;
  run.l.folders.CurrDir.assign_cut("C:\\" + std::string(250, 'f') + "\\");
  PathBuffer path;
  EXPECT_FALSE(CreateT1File(run.l, false, kCommandLine, path));
  EXPECT_TRUE(path.empty());
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
}

}  // namespace
