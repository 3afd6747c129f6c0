// tabpack, the archive packer, run as IT staff run it: pack a folder by its manifest,
// list and verify the archive; every refusal with its message and exit status.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_rules.h"
#include "tests/scenario/scenario_machine.h"
#include "tools/tabpack/archive_reader.h"
#include "tools/tabpack/archive_writer.h"

namespace scenario {
namespace {

RunResult RunTabpack(const std::vector<std::string>& args) { return RunProgram(TABPACK, args); }

// A working folder with the files to pack in files/.
class Workbench : public Workstation {
 public:
  Workbench() { fs::create_directories(root() / "files"); }
  void Put(const std::string& name, const std::string& bytes) const { Write("files/" + name, bytes); }
  void Manifest(const std::string& text) const { Write("manifest.txt", text); }
  std::string manifest() const { return (root() / "manifest.txt").string(); }
  std::string files() const { return (root() / "files").string(); }
  std::string out() const { return (root() / "tsystem0.dll").string(); }

  RunResult Pack() const { return RunTabpack({"pack", manifest(), files(), out()}); }
};

TEST(Tabpack, PacksListsAndVerifiesAManifestsFiles) {
  Workbench w;
  w.Put("tsystem1.cfg", "[Station]\n");
  w.Put("Shipping Labels.xml", "<labels/>");
  w.Put("empty.txt", "");
  fs::last_write_time(fs::path(w.files()) / "empty.txt", HostTime({2026, 7, 4, 13, 2, 3, 456}));
  w.Manifest("# product files\n"
             "tsystem1.cfg  cur  Newer  2026-11-30T16:20:05.125Z\n"
             "\n"
             "\"Shipping Labels.xml\"\tWIN\t101\t2026-12-01T03:15:00\n"
             "empty.txt  S64  INSTALL_DOES_NOT_EXIST\r\n");
  RunResult pack = w.Pack();
  ASSERT_EQ(pack.exit_status, 0) << pack.err;
  EXPECT_EQ(pack.out, w.out() + ": 3 files packed\n");
  EXPECT_EQ(pack.err, "");

  const std::string bytes = ReadText(w.out());
  std::string error;
  auto view = tabpack::ReadArchive(bytes, bytes.size(), &error);
  ASSERT_TRUE(view) << error;
  EXPECT_EQ(view->archive_size, 400u + 10 + 9);
  // Without a time in the manifest the file's own, in UTC to the millisecond; 1 a Monday.
  std::vector<std::string> records;
  for (const tabpack::Record& r : view->records) {
    char time[64];
    std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:%02d.%03d/%d", r.time.year, r.time.month, r.time.day,
                  r.time.hour, r.time.minute, r.time.second, r.time.millisecond, r.day_of_week);
    records.push_back(r.name + " " + r.destination + " " + std::to_string(r.rule) + " " + time + " " +
                      bytes.substr(r.data_offset, r.size));
  }
  EXPECT_EQ(records, (std::vector<std::string>{
                         "tsystem1.cfg CUR 102 2026-11-30T16:20:05.125/1 [Station]\n",
                         "Shipping Labels.xml WIN 101 2026-12-01T03:15:00.000/2 <labels/>",
                         "empty.txt S64 109 2026-07-04T13:02:03.456/6 "}));

  RunResult list = RunTabpack({"list", w.out()});
  EXPECT_EQ(list.exit_status, 0) << list.err;
  EXPECT_NE(list.out.find("3 records, HeaderSize 400, ArchiveSize 419, 419 bytes"), std::string::npos);
  EXPECT_NE(list.out.find("Shipping Labels.xml       WIN   101 Different"), std::string::npos)
      << list.out;
  EXPECT_NE(list.out.find("2026-07-04T13:02:03.456Z"), std::string::npos);

  RunResult verify = RunTabpack({"verify", w.out()});
  EXPECT_EQ(verify.exit_status, 0) << verify.err;
  EXPECT_EQ(verify.out, w.out() + ": sound, 3 records (3 used), 419 bytes\n");
}

TEST(Tabpack, AnArchiveItPacksIsListedByTheLauncher) {
  Workbench w;
  w.Put("tsystem1.cfg", "[Station]\n");
  w.Put("VeltrixShippingLabelsTemplate.xml", "<labels/>");
  w.Manifest("tsystem1.cfg CUR Newer 2026-11-30T16:20:05.125\n"
             "VeltrixShippingLabelsTemplate.xml FON DoesNotExist 2026-12-01T03:15:00\n");
  ASSERT_EQ(w.Pack().exit_status, 0);

  Machine m;
  m.WriteC("Portavel/tsystem0.dll", ReadText(w.out()));
  ASSERT_EQ(m.Run("list").exit_status, 0);
  const std::vector<std::string> report = m.Lines("drives/C/Portavel/filelist.txt");
  ASSERT_EQ(report.size(), 8u);
  EXPECT_EQ(report[6],
            "tsystem1.cfg                11/30/2026    16:20:05          10    CUR           Newer        ");
  EXPECT_EQ(report[7],
            "VeltrixShippingLabelsTemplate.xml    12/01/2026    03:15:00           9    FON           "
            "DoesNotExist ");
}

struct RefusalRow {
  const char* what;
  std::string manifest;
  std::string message;  // after "tabpack: "
};

// The manifest's lines are the manifest reader's own tests; these refusals need the
// whole manifest or the files beside it.
TEST(Tabpack, RefusesWhatNoArchiveCanHoldWithAClearMessage) {
  std::string many_files;
  for (int i = 0; i <= 65535; ++i) many_files += "f" + std::to_string(i) + ".dll CUR 103\n";
  const RefusalRow rows[] = {
      {"a time outside the calendar", "a.dll CUR 101 2026-02-30T00:00:00\n",
       "MANIFEST: line 1: the time \"2026-02-30T00:00:00\" is not a UTC time "
       "YYYY-MM-DDTHH:MM:SS[.mmm] from 1601 to 30827"},
      {"a file listed twice", "a.dll CUR 101\nA.DLL cur 103\n", "MANIFEST: line 2: \"A.DLL\" is listed twice for CUR"},
      {"a missing file", "missing.dll CUR 101\n", "manifest line 1: \"FILES/missing.dll\" is not a file"},
      {"a manifest of comments", "# nothing yet\n\n   \r\n",
       "MANIFEST: no file to pack: the manifest holds only blank lines and comments"},
      {"too many files", many_files, "the manifest lists 65536 files; an archive holds at most 65535"},
  };
  for (const RefusalRow& row : rows) {
    SCOPED_TRACE(row.what);
    Workbench w;
    w.Put("a.dll", "a");
    w.Manifest(row.manifest);
    RunResult pack = w.Pack();
    EXPECT_EQ(pack.exit_status, 1);
    std::string expected = "tabpack: " + row.message + "\n";
    for (auto [word, path] : {std::pair{std::string("MANIFEST"), w.manifest()},
                              std::pair{std::string("FILES"), w.files()}}) {
      if (auto at = expected.find(word); at != std::string::npos) expected.replace(at, word.size(), path);
    }
    EXPECT_EQ(pack.err, expected);
    EXPECT_EQ(pack.out, "");
    EXPECT_FALSE(fs::exists(w.out()));
  }
}

TEST(Tabpack, RefusesAFolderAsTheManifest) {
  Workbench w;
  w.Put("a.dll", "a");
  RunResult pack = RunTabpack({"pack", w.files(), w.files(), w.out()});
  EXPECT_EQ(pack.exit_status, 1);
  EXPECT_EQ(pack.err, "tabpack: cannot read the manifest \"" + w.files() + "\": not a readable file\n");
  EXPECT_FALSE(fs::exists(w.out()));
}

TEST(Tabpack, AcceptsTheLastDayOfTheTimeRange) {
  Workbench w;
  w.Put("a.dll", "a");
  w.Manifest("a.dll CUR 101 30827-12-31T23:59:59.999Z\n");
  RunResult pack = w.Pack();
  ASSERT_EQ(pack.exit_status, 0) << pack.err;
  EXPECT_EQ(RunTabpack({"verify", w.out()}).exit_status, 0);
  EXPECT_NE(RunTabpack({"list", w.out()}).out.find("30827-12-31T23:59:59.999Z"), std::string::npos);
}

TEST(Tabpack, NeverWritesThroughALinkPlantedAsThePartialArchive) {
  Workbench w;
  w.Put("a.dll", "a");
  w.Manifest("a.dll CUR 101\n");
  const fs::path victim = w.root() / "victim.txt";
  WriteFile(victim, "precious");
  fs::create_symlink(victim, w.out() + ".partial");
  RunResult pack = w.Pack();
  EXPECT_EQ(pack.exit_status, 1);
  EXPECT_EQ(pack.err, "tabpack: cannot create \"" + w.out() +
                          ".partial\" (it exists: left by an interrupted pack? remove it and pack "
                          "again)\n");
  EXPECT_EQ(ReadText(victim), "precious");
  EXPECT_FALSE(fs::exists(w.out()));

  // A dangling link is not followed either: nothing appears where it points.
  fs::remove(w.out() + ".partial");
  fs::create_symlink(w.root() / "planted.dll", w.out() + ".partial");
  EXPECT_EQ(w.Pack().exit_status, 1);
  EXPECT_FALSE(fs::exists(w.root() / "planted.dll"));
}

TEST(Tabpack, ListShowsArchiveNamesEscaped) {
  Workbench w;
  WriteFile(w.out(), tabpack::BuildArchive({ArchiveFile("evil\x1b[31m\x9b" "2J.dll", "CUR", INSTALL_NEWER, "")}));
  RunResult list = RunTabpack({"list", w.out()});
  EXPECT_EQ(list.exit_status, 0) << list.err;
  EXPECT_NE(list.out.find("evil\\x1B[31m\\x9B2J.dll"), std::string::npos) << list.out;
  EXPECT_EQ(list.out.find('\x1b'), std::string::npos);
  RunResult verify = RunTabpack({"verify", w.out()});
  EXPECT_EQ(verify.err, "tabpack: " + w.out() +
                            ": record 1: the name \"evil\\x1B[31m\\x9B2J.dll\" is not a bare Windows "
                            "file name\n");
}

TEST(Tabpack, RefusesAnArchiveOver4GiB) {
  Workbench w;
  // Sparse files: their size counts, their bytes take no room.
  for (const char* name : {"big1.bin", "big2.bin"}) {
    w.Put(name, "");
    fs::resize_file(fs::path(w.files()) / name, (std::uint64_t{1} << 31));
  }
  w.Manifest("big1.bin CUR 103\nbig2.bin CUR 103\n");
  RunResult pack = w.Pack();
  EXPECT_EQ(pack.exit_status, 1);
  EXPECT_EQ(pack.err,
            "tabpack: the archive would be 4294967596 bytes; an archive holds at most 4294967295 "
            "bytes (4 GiB less one byte)\n");
  EXPECT_FALSE(fs::exists(w.out()));
}

TEST(Tabpack, VerifyNamesWhatIsWrongWithADamagedArchive) {
  Workbench w;
  std::string bytes = tabpack::BuildArchive({ArchiveFile("a.dll", "CUR", INSTALL_NEWER, "abc")});
  bytes[14] = 99;  // ArchiveSize
  bytes[100 + 50] = 'X';  // Destination "XUR"
  WriteFile(w.out(), bytes);
  RunResult verify = RunTabpack({"verify", w.out()});
  EXPECT_EQ(verify.exit_status, 1);
  EXPECT_EQ(verify.err, "tabpack: " + w.out() + ": ArchiveSize 99 but the file has 203 bytes\n" +
                            "tabpack: " + w.out() + ": record 1: unknown destination \"XUR\"\n");

  WriteFile(w.out(), "MZ not an archive");
  verify = RunTabpack({"verify", w.out()});
  EXPECT_EQ(verify.exit_status, 1);
  EXPECT_EQ(verify.err,
            "tabpack: " + w.out() + ": not an install archive (no \"TRACERFILE\" header)\n");
  EXPECT_EQ(RunTabpack({"list", w.out()}).exit_status, 1);

  WriteFile(w.out(), "TRACERFILE" + std::string(40, '\0'));
  verify = RunTabpack({"verify", w.out()});
  EXPECT_EQ(verify.err,
            "tabpack: " + w.out() + ": too short for its header (50 bytes; the header takes 100)\n");
}

struct CommandLineRow {
  std::vector<std::string> args;
  std::string what;  // the first line on standard error, after "tabpack: "
};

TEST(Tabpack, ExplainsItselfAndSaysWhatIsWrongWithACommandLine) {
  RunResult help = RunTabpack({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.out.rfind("usage: tabpack pack MANIFEST FOLDER OUT\n", 0), 0u);
  const CommandLineRow rows[] = {
      {{}, "no command (one of pack, list, verify)"},
      {{"pack", "only-one"}, "pack: FOLDER is missing"},
      {{"pack", "m", "f"}, "pack: OUT is missing"},
      {{"list"}, "list: ARCHIVE is missing"},
      {{"verify", "a", "b\x1b[2J"}, "verify: one argument too many, \"b\\x1B[2J\" after ARCHIVE"},
      {{"unpack", "a"}, "unknown command \"unpack\" (one of pack, list, verify)"},
  };
  for (const CommandLineRow& row : rows) {
    RunResult wrong = RunTabpack(row.args);
    EXPECT_EQ(wrong.exit_status, 2) << row.what;
    EXPECT_EQ(wrong.err, "tabpack: " + row.what + "\n\n" + help.out);
  }
}

}  // namespace
}  // namespace scenario
