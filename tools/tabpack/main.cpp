// tabpack: packs, lists and verifies the launcher's install archive tsystem0.dll.
//
//   tabpack pack MANIFEST FOLDER OUT
//   tabpack list ARCHIVE
//   tabpack verify ARCHIVE
//
// Exit status 0 on success, 1 when the archive is refused or unsound, 2 for a
// command line it does not understand.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tabpack/archive_reader.h"
#include "tools/tabpack/archive_writer.h"
#include "tools/tabpack/manifest.h"
#include "tools/tabpack/shown_text.h"

namespace {

constexpr const char* kUsage =
    "usage: tabpack pack MANIFEST FOLDER OUT\n"
    "       tabpack list ARCHIVE\n"
    "       tabpack verify ARCHIVE\n"
    "\n"
    "Builds and inspects the install archive tsystem0.dll of the Portavel launcher.\n"
    "\n"
    "  pack    packs the files of FOLDER named by MANIFEST into the archive OUT\n"
    "  list    lists the records of ARCHIVE\n"
    "  verify  checks that the launcher can open ARCHIVE and install every file as\n"
    "          recorded; prints the problems found\n"
    "\n"
    "MANIFEST holds one line per file, fields separated by blanks:\n"
    "  NAME  DESTINATION  RULE  [TIME]\n"
    "  NAME         the file in FOLDER, at most 49 characters (in double quotes when\n"
    "               it holds blanks)\n"
    "  DESTINATION  CUR, FON, WIN, SYS or S64\n"
    "  RULE         101 Different, 102 Newer, 103 Always or 109 DoesNotExist (the\n"
    "               number or the name)\n"
    "  TIME         last-write time in UTC, YYYY-MM-DDTHH:MM:SS[.mmm]; default: the\n"
    "               file's own modification time\n"
    "Lines starting with # and blank lines are ignored.\n"
    "\n"
    "Exit status: 0 done, 1 refused or unsound archive, 2 bad command line.\n";

int Refuse(const std::string& message) {
  std::fprintf(stderr, "tabpack: %s\n", message.c_str());
  return 1;
}

// A path of the command line as messages show it.
std::string Path(const char* path) { return tabpack::Shown(path, tabpack::kShownPath); }

int Pack(const char* manifest_path, const char* folder, const char* out) {
  std::error_code ec;
  std::FILE* file = std::filesystem::is_regular_file(manifest_path, ec)
                        ? std::fopen(manifest_path, "rb")
                        : nullptr;
  if (!file)
    return Refuse("cannot read the manifest \"" + Path(manifest_path) + "\": not a readable file");
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  const bool read_whole = !std::ferror(file);
  std::fclose(file);
  if (!read_whole) return Refuse("cannot read the manifest \"" + Path(manifest_path) + "\"");

  tabpack::Manifest manifest = tabpack::ParseManifest(text);
  if (!manifest.error.empty()) return Refuse(Path(manifest_path) + ": " + manifest.error);
  std::string error;
  if (!tabpack::PackArchive(manifest.lines, folder, out, &error)) return Refuse(error);
  std::printf("%s: %zu files packed\n", Path(out).c_str(), manifest.lines.size());
  return 0;
}

std::optional<tabpack::ArchiveView> Open(const char* path, int* status) {
  std::uint64_t file_size = 0;
  auto head = tabpack::ReadArchiveHead(path, &file_size);
  if (!head) {
    *status = Refuse("cannot read \"" + Path(path) + "\"");
    return std::nullopt;
  }
  std::string error;
  auto view = tabpack::ReadArchive(*head, file_size, &error);
  if (!view) *status = Refuse(Path(path) + ": " + error);
  return view;
}

int List(const char* path) {
  int status = 0;
  auto view = Open(path, &status);
  if (!view) return status;
  std::printf("%s: %zu records, HeaderSize %u, ArchiveSize %u, %llu bytes\n", Path(path).c_str(),
              view->records.size(), view->header_size, view->archive_size,
              static_cast<unsigned long long>(view->file_size));
  std::printf("%6s  %-24s  %-4s  %-16s  %10s  %10s  %s\n", "Record", "Name", "Dest", "Rule", "Size",
              "Offset", "Time (UTC)");
  for (std::size_t i = 0; i < view->records.size(); ++i) {
    const tabpack::Record& r = view->records[i];
    if (r.name.empty()) {
      std::printf("%6zu  (unused)\n", i + 1);
      continue;
    }
    const std::string rule = std::to_string(r.rule) + " " + std::string(tabpack::RuleName(r.rule));
    std::printf("%6zu  %-24s  %-4s  %-16s  %10u  %10u  %s\n", i + 1, tabpack::Shown(r.name).c_str(),
                tabpack::Shown(r.destination).c_str(), rule.c_str(), r.size, r.data_offset,
                tabpack::FormatUtcTime(r.time).c_str());
  }
  return 0;
}

int Verify(const char* path) {
  std::uint64_t file_size = 0;
  auto head = tabpack::ReadArchiveHead(path, &file_size);
  if (!head) return Refuse("cannot read \"" + Path(path) + "\"");
  const std::vector<std::string> problems = tabpack::VerifyArchive(*head, file_size);
  for (const std::string& problem : problems) Refuse(Path(path) + ": " + problem);
  if (!problems.empty()) return 1;
  std::string error;
  const auto view = tabpack::ReadArchive(*head, file_size, &error);
  std::size_t used = 0;
  for (const tabpack::Record& r : view->records) used += r.name.empty() ? 0 : 1;
  std::printf("%s: sound, %zu records (%zu used), %llu bytes\n", Path(path).c_str(),
              view->records.size(), used, static_cast<unsigned long long>(file_size));
  return 0;
}

// A command line it does not understand: what is wrong with it, then the usage.
int Usage(const std::string& what) {
  std::fprintf(stderr, "tabpack: %s\n\n%s", what.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command (one of pack, list, verify)");
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  struct Command {
    std::string_view name;
    std::vector<std::string_view> operands;
  };
  const Command commands[] = {{"pack", {"MANIFEST", "FOLDER", "OUT"}},
                              {"list", {"ARCHIVE"}},
                              {"verify", {"ARCHIVE"}}};
  for (const Command& command : commands) {
    if (args[0] != command.name) continue;
    const std::size_t given = args.size() - 1;
    const std::size_t wanted = command.operands.size();
    if (given < wanted)
      return Usage(std::string(command.name) + ": " + std::string(command.operands[given]) +
                   " is missing");
    if (given > wanted)
      return Usage(std::string(command.name) + ": one argument too many, " +
                   tabpack::QuotedShown(args[wanted + 1]) + " after " +
                   std::string(command.operands.back()));
    if (command.name == "pack") return Pack(argv[2], argv[3], argv[4]);
    return command.name == "list" ? List(argv[2]) : Verify(argv[2]);
  }
  return Usage("unknown command " + tabpack::QuotedShown(args[0]) + " (one of pack, list, verify)");
}
