// Simulated workstation: the machine folder's own entries.
#include "platform/sim/folder_entries.h"

#include <iterator>
#include <system_error>

#include "platform/sim/machine_folder_error.h"

namespace sim {
namespace fs = std::filesystem;

namespace {

EntryKind KindOfStatus(const fs::file_status& status) {
  switch (status.type()) {
    case fs::file_type::not_found: return EntryKind::Missing;
    case fs::file_type::regular: return EntryKind::File;
    case fs::file_type::directory: return EntryKind::Folder;
    default: return EntryKind::Refused;
  }
}

}  // namespace

EntryKind KindOf(const fs::path& host) {
  std::error_code ec;
  return KindOfStatus(fs::symlink_status(host, ec));
}

EntryKind KindOf(const fs::directory_entry& entry) {
  std::error_code ec;
  return KindOfStatus(entry.symlink_status(ec));
}

std::optional<std::ofstream> OpenRegularFile(const fs::path& host, std::ios::openmode mode) {
  const EntryKind kind = KindOf(host);
  if (kind != EntryKind::File && kind != EntryKind::Missing) return std::nullopt;
  std::ofstream out(host, mode);
  if (!out) return std::nullopt;
  return out;
}

void RequireRegularOrMissing(const fs::path& folder, const std::string& name) {
  const EntryKind kind = KindOf(folder / name);
  if (kind != EntryKind::File && kind != EntryKind::Missing)
    throw MachineFolderError(name, 0, "not a regular file (a link, a folder, a pipe or a device)");
}

std::optional<std::string> ReadFolderFile(const fs::path& folder, const std::string& name) {
  RequireRegularOrMissing(folder, name);
  const fs::path host = folder / name;
  if (KindOf(host) == EntryKind::Missing) return std::nullopt;
  std::ifstream in(host, std::ios::binary);
  if (!in) throw MachineFolderError(name, 0, "cannot be read");
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw MachineFolderError(name, 0, "cannot be read");
  return bytes;
}

}  // namespace sim
