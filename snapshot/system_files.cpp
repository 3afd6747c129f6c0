#include "snapshot/system_files.h"

#include "base/text_case.h"
#include "install/tab_format.h"
#include "snapshot/archive_listing.h"
#include "snapshot/capture_files.h"
#include "snapshot/file_reading.h"

namespace snapshot {
namespace {

// The folder an archive destination names; the 32-bit system folder is SysWOW64 on
// a 64-bit Windows, "S64" the native one.
std::string DestinationFolder(const MachineRecord& facts, std::string_view code) {
  if (EqualsIgnoreCase(code, "FON")) return FolderOf(facts, "fonts");
  if (EqualsIgnoreCase(code, "WIN")) return FolderOf(facts, "windows");
  if (EqualsIgnoreCase(code, "SYS"))
    return FolderOf(facts, facts.Is64BitMachine() ? "system_x86" : "system");
  if (EqualsIgnoreCase(code, "S64")) return FolderOf(facts, "system");
  return {};
}

}  // namespace

std::string Below(std::string_view folder, std::string_view name) {
  if (folder.empty()) return {};
  std::string path(folder);
  if (path.back() != '\\') path += '\\';
  return path + std::string(name);
}

std::string FolderOf(const MachineRecord& facts, std::string_view key) {
  for (const auto& [name, path] : facts.folders)
    if (name == key) return path;
  return {};
}

std::vector<std::string> SystemFilesTouched(platform::Platform& os, const MachineRecord& facts,
                                            std::string_view launcher_folder) {
  std::vector<std::string> paths;
  const std::vector<std::uint8_t> listing =
      ReadFileStart(os, Below(launcher_folder, kTABArchiveName), kArchiveListingBytes);
  for (const ArchiveEntry& entry : ParseArchiveListing(listing)) {
    const std::string folder = DestinationFolder(facts, entry.destination);
    if (!folder.empty() && IsPlainName(entry.name)) paths.push_back(Below(folder, entry.name));
  }

  const std::string com_folder = FolderOf(facts, facts.Is64BitMachine() ? "system_x86" : "system");
  platform::FindData found;
  const platform::Handle search =
      os.files.FindFirstFile(Below(launcher_folder, "redist\\*.DLL"), &found);
  if (search == platform::kInvalidHandle) return paths;
  do {
    if (!(found.attributes & platform::kFileAttributeDirectory) && IsPlainName(found.name) &&
        !com_folder.empty())
      paths.push_back(Below(com_folder, found.name));
  } while (paths.size() < 1000 && os.files.FindNextFile(search, &found));
  os.files.FindClose(search);
  return paths;
}

}  // namespace snapshot
