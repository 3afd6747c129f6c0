// tabpack: packs, lists and verifies the launcher's install archive tsystem0.dll.
//
//   tabpack pack MANIFEST FOLDER OUT
//   tabpack list ARCHIVE
//   tabpack verify ARCHIVE
//
// Exit status 0 on success, 1 when the archive is refused or unsound, 2 for a
// command line it does not understand.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tabpack/archive_reader.h"
#include "tools/tabpack/archive_writer.h"
#include "tools/tabpack/manifest.h"

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

int Pack(const char* manifest_path, const char* folder, const char* out) {
  std::FILE* file = std::fopen(manifest_path, "rb");
  if (!file) return Refuse(std::string("cannot read the manifest \"") + manifest_path + "\"");
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);

  tabpack::Manifest manifest = tabpack::ParseManifest(text);
  if (!manifest.error.empty()) return Refuse(std::string(manifest_path) + ": " + manifest.error);
  std::string error;
  if (!tabpack::PackArchive(manifest.lines, folder, out, &error)) return Refuse(error);
  std::printf("%s: %zu files packed\n", out, manifest.lines.size());
  return 0;
}

std::optional<tabpack::ArchiveView> Open(const char* path, int* status) {
  std::uint64_t file_size = 0;
  auto head = tabpack::ReadArchiveHead(path, &file_size);
  if (!head) {
    *status = Refuse(std::string("cannot read \"") + path + "\"");
    return std::nullopt;
  }
  std::string error;
  auto view = tabpack::ReadArchive(*head, file_size, &error);
  if (!view) *status = Refuse(std::string(path) + ": " + error);
  return view;
}

int List(const char* path) {
  int status = 0;
  auto view = Open(path, &status);
  if (!view) return status;
  std::printf("%s: %zu records, HeaderSize %u, ArchiveSize %u, %llu bytes\n", path,
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
    std::printf("%6zu  %-24s  %-4s  %-16s  %10u  %10u  %s\n", i + 1, r.name.c_str(),
                r.destination.c_str(), rule.c_str(), r.size, r.data_offset,
                tabpack::FormatUtcTime(r.time).c_str());
  }
  return 0;
}

int Verify(const char* path) {
  std::uint64_t file_size = 0;
  auto head = tabpack::ReadArchiveHead(path, &file_size);
  if (!head) return Refuse(std::string("cannot read \"") + path + "\"");
  const std::vector<std::string> problems = tabpack::VerifyArchive(*head, file_size);
  for (const std::string& problem : problems) std::fprintf(stderr, "tabpack: %s: %s\n", path, problem.c_str());
  if (!problems.empty()) return 1;
  std::string error;
  const auto view = tabpack::ReadArchive(*head, file_size, &error);
  std::size_t used = 0;
  for (const tabpack::Record& r : view->records) used += r.name.empty() ? 0 : 1;
  std::printf("%s: sound, %zu records (%zu used), %llu bytes\n", path, view->records.size(), used,
              static_cast<unsigned long long>(file_size));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() == 4 && args[0] == "pack") return Pack(argv[2], argv[3], argv[4]);
  if (args.size() == 2 && args[0] == "list") return List(argv[2]);
  if (args.size() == 2 && args[0] == "verify") return Verify(argv[2]);
  std::fprintf(stderr, "%s", kUsage);
  return 2;
}
