// Simulated workstation: Windows paths on the folder's drives/<LETTER>/ trees.
#include "platform/sim/drives.h"

#include <cctype>
#include <system_error>
#include <vector>

#include "platform/error_codes.h"
#include "platform/sim/folder_entries.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

constexpr platform::ErrorCode kErrorInvalidName = 123;

bool IsDriveSpec(std::string_view s) {
  return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':';
}

bool IsValidName(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return false;
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
  }
  return true;
}

std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

// A name folded to lower case, as Windows compares names.
std::string Folded(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

}  // namespace

Drives::Drives(std::filesystem::path machine_folder) : root_(std::move(machine_folder) / "drives") {}

std::optional<std::string> Drives::Normalize(std::string_view windows_path,
                                             std::string_view current_directory) {
  // Windows finds nothing under an empty name (3), not the current folder.
  if (windows_path.empty()) return std::nullopt;
  std::string full;
  if (IsDriveSpec(windows_path) && windows_path.size() > 2 &&
      (windows_path[2] == '\\' || windows_path[2] == '/')) {
    full = windows_path;
  } else if (IsDriveSpec(windows_path)) {
    return std::nullopt;  // "C:x", relative to a drive's own current folder: not used
  } else if (!windows_path.empty() && (windows_path[0] == '\\' || windows_path[0] == '/')) {
    if (windows_path.size() > 1 && (windows_path[1] == '\\' || windows_path[1] == '/'))
      return std::nullopt;  // UNC names have no drive here
    if (!IsDriveSpec(current_directory)) return std::nullopt;
    full = std::string(current_directory.substr(0, 2)) + std::string(windows_path);
  } else {
    if (!IsDriveSpec(current_directory)) return std::nullopt;
    full = std::string(current_directory) + "\\" + std::string(windows_path);
  }
  std::vector<std::string> kept;
  auto parts = SplitComponents(std::string_view(full).substr(2));
  for (auto& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    // Windows drops trailing dots and spaces of a name.
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty()) continue;
    kept.push_back(part);
  }
  std::string result(1, static_cast<char>(std::toupper(static_cast<unsigned char>(full[0]))));
  result += ":\\";
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i) result += '\\';
    result += kept[i];
  }
  return result;
}

std::optional<std::filesystem::path> Drives::Resolve(std::string_view windows_path,
                                                     std::string_view current_directory,
                                                     platform::ErrorCode* error) const {
  auto normal = Normalize(windows_path, current_directory);
  if (!normal) {
    *error = platform::kErrorPathNotFound;
    return std::nullopt;
  }
  const std::string letter(1, (*normal)[0]);
  std::filesystem::path host = root_ / letter;
  // Nothing on the way may lead out of the machine folder or be other than a file or
  // a folder: the drives folder, the drive's folder and every existing component.
  if (!root_kind_) root_kind_ = KindOf(root_);
  auto drive = *root_kind_ == EntryKind::Folder ? Lookup(root_, letter) : std::nullopt;
  // The drive's folder is named by its letter in upper case only.
  const EntryKind drive_kind = drive && drive->name == letter ? drive->kind : KindOf(host);
  if (*root_kind_ == EntryKind::Refused || drive_kind == EntryKind::Refused) {
    *error = platform::kErrorAccessDenied;
    return std::nullopt;
  }
  if (*root_kind_ != EntryKind::Folder || drive_kind != EntryKind::Folder) {
    *error = platform::kErrorPathNotFound;
    return std::nullopt;
  }
  bool exists_so_far = true;
  for (const auto& part : SplitComponents(std::string_view(*normal).substr(3))) {
    if (!IsValidName(part)) {
      *error = kErrorInvalidName;
      return std::nullopt;
    }
    std::filesystem::path next = host / part;
    EntryKind kind = EntryKind::Missing;
    if (exists_so_far) {
      if (auto found = Lookup(host, part)) {
        if (found->name != part) next = host / found->name;
        kind = found->kind;
      } else {
        exists_so_far = false;
      }
    }
    if (exists_so_far && kind == EntryKind::Refused) {
      *error = platform::kErrorAccessDenied;
      return std::nullopt;
    }
    host = next;
  }
  return host;
}

Drives::Listing& Drives::List(const std::filesystem::path& folder) const {
  Listing& listing = listings_[folder.native()];
  listing.clear();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().native();
    const auto [it, added] = listing.try_emplace(Folded(name), Entry{name, KindOf(entry), false});
    if (!added) it->second.ambiguous = true;
  }
  return listing;
}

std::optional<Drives::Entry> Drives::Lookup(const std::filesystem::path& folder,
                                            const std::string& part) const {
  auto listed = listings_.find(folder.native());
  Listing& listing = listed != listings_.end() ? listed->second : List(folder);
  auto found = listing.find(Folded(part));
  if (found == listing.end()) {
    // Not there when listed: only a name put there from outside since is listed again.
    if (KindOf(folder / part) == EntryKind::Missing) return std::nullopt;
    found = List(folder).find(Folded(part));
    if (found == listing.end()) return std::nullopt;
  }
  // Of names that differ only in case, the one spelt as asked wins.
  if (found->second.ambiguous && found->second.name != part) {
    const EntryKind exact = KindOf(folder / part);
    if (exact != EntryKind::Missing) return Entry{part, exact, true};
  }
  return found->second;
}

void Drives::Changed(const std::filesystem::path& host) {
  auto listed = listings_.find(host.parent_path().native());
  if (listed == listings_.end()) return;
  Listing& listing = listed->second;
  const std::string name = host.filename().native();
  auto found = listing.find(Folded(name));
  // Names that differ only in case are rare: their folder is listed afresh.
  if (found != listing.end() && (found->second.ambiguous || found->second.name != name)) {
    listings_.erase(listed);
    return;
  }
  const EntryKind kind = KindOf(host);
  if (kind == EntryKind::Missing)
    listing.erase(Folded(name));
  else
    listing.insert_or_assign(Folded(name), Entry{name, kind, false});
}

}  // namespace sim
