// The machine folder is untrusted: whatever links, pipes and folders it holds, a run
// reads and writes nothing outside it and never waits on a pipe.
#include <sys/stat.h>

#include <iterator>
#include <string>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

// A file outside the machine folder that a link in it names.
class OutsideFile {
 public:
  OutsideFile() {
    char pattern[] = "/tmp/portavel-outside-XXXXXX";
    folder_ = mkdtemp(pattern);
    WriteFile(path(), kContents);
  }
  ~OutsideFile() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  fs::path path() const { return folder_ / "precious.txt"; }
  const fs::path& folder() const { return folder_; }
  // The file as it was, and nothing beside it.
  bool Untouched() const {
    return ReadText(path()) == kContents &&
           std::distance(fs::directory_iterator(folder_), fs::directory_iterator()) == 1;
  }

  static constexpr const char* kContents = "not the machine's\n";

 private:
  fs::path folder_;
};

TEST(MachineFolderConfinement, AFolderFileThatIsALinkOrNoFileEndsTheRunNamingIt) {
  for (const char* name : {"machine.ini", "registry.reg", "security.txt", "ui.log", "processes.log",
                           "system.log", "debugger.log", "stdout.log", "faults.log"}) {
    for (const char* form : {"link", "folder", "pipe"}) {
      Machine m;
      OutsideFile outside;
      const fs::path entry = m.root() / name;
      fs::remove(entry);
      if (std::string(form) == "link") fs::create_symlink(outside.path(), entry);
      if (std::string(form) == "folder") fs::create_directory(entry);
      if (std::string(form) == "pipe") {
        ASSERT_EQ(mkfifo(entry.c_str(), 0600), 0);
      }
      const RunResult run = m.Run("-d");
      EXPECT_EQ(run.exit_status, 2) << name << " " << form;
      EXPECT_EQ(run.err, "launcher-sim: " + m.root().string() + "/" + name +
                             ": not a regular file (a link, a folder, a pipe or a device)\n")
          << name << " " << form;
      EXPECT_TRUE(outside.Untouched()) << name << " " << form;
    }
  }
}

TEST(MachineFolderConfinement, DriveCAsALinkEndsTheRunNamingIt) {
  Machine m;
  OutsideFile outside;
  fs::remove_all(m.root() / "drives" / "C");
  fs::create_symlink(outside.folder(), m.root() / "drives" / "C");
  const RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_EQ(run.err, "launcher-sim: " + m.root().string() +
                         "/drives/C: not a folder (a link, a file, a pipe or a device)\n");
  EXPECT_TRUE(outside.Untouched());
}

// Files the launcher writes on drive C: a link in their place is access denied, and
// the file it names stays as it was.
TEST(MachineFolderConfinement, ALinkOnADriveIsAccessDenied) {
  struct Case {
    const char* file;          // below C:\Portavel
    const char* command_line;
    const char* shown;         // part of what reports the refusal: printed or logged
  } cases[] = {
      {"TavixDebug.log", "-d", nullptr},
      {"filelist.txt", "-d list", "Failed to open output file."},
      {"instance.t1", "-d -i",
       "Failed to create T1 instance file \"C:\\Portavel\\instance.t1\"; [ERRNO 0x0000000d/C0013]"},
  };
  for (const Case& c : cases) {
    Machine m;
    OutsideFile outside;
    m.PutArchive({ArchiveFile("tsystem1.cfg", "CUR", 0, "config")});
    fs::create_symlink(outside.path(), m.C(std::string("Portavel/") + c.file));
    const RunResult run = m.Run(c.command_line);
    EXPECT_NE(run.exit_status, -1) << c.file;
    EXPECT_TRUE(outside.Untouched()) << c.file;
    EXPECT_TRUE(fs::is_symlink(m.C(std::string("Portavel/") + c.file))) << c.file;
    EXPECT_TRUE(!c.shown || run.out.find(c.shown) != std::string::npos || m.Shows("debug", c.shown)) << c.file;
  }
}

TEST(MachineFolderConfinement, AFolderLinkOnTheWayIsAccessDenied) {
  Machine m;
  OutsideFile outside;
  fs::remove_all(m.C("Portavel"));
  fs::create_symlink(outside.folder(), m.C("Portavel"));
  const RunResult run = m.Run("-d -i list");
  EXPECT_NE(run.exit_status, -1);
  EXPECT_TRUE(outside.Untouched());
}

TEST(MachineFolderConfinement, APipeForTheArchiveDoesNotHangTheListMode) {
  Machine m;
  fs::remove(m.C("Portavel/tsystem0.dll"));
  ASSERT_EQ(mkfifo(m.C("Portavel/tsystem0.dll").c_str(), 0600), 0);
  const RunResult run = m.Run("-d list");
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "Failed to open input file.\a\nexit code 0\n");
}

}  // namespace
}  // namespace scenario
