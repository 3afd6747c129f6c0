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

}  // namespace

Drives::Drives(std::filesystem::path machine_folder) : root_(std::move(machine_folder) / "drives") {}

std::optional<std::string> Drives::Normalize(std::string_view windows_path,
                                             std::string_view current_directory) {
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
  std::filesystem::path host = root_ / std::string(1, (*normal)[0]);
  // Nothing on the way may lead out of the machine folder or be other than a file or
  // a folder: the drives folder, the drive's folder and every existing component.
  if (KindOf(root_) == EntryKind::Refused || KindOf(host) == EntryKind::Refused) {
    *error = platform::kErrorAccessDenied;
    return std::nullopt;
  }
  if (KindOf(root_) != EntryKind::Folder || KindOf(host) != EntryKind::Folder) {
    *error = platform::kErrorPathNotFound;
    return std::nullopt;
  }
  std::error_code ec;
  bool exists_so_far = true;
  for (const auto& part : SplitComponents(std::string_view(*normal).substr(3))) {
    if (!IsValidName(part)) {
      *error = kErrorInvalidName;
      return std::nullopt;
    }
    std::filesystem::path next = host / part;
    EntryKind kind = exists_so_far ? KindOf(next) : EntryKind::Missing;
    if (exists_so_far && kind == EntryKind::Missing) {
      exists_so_far = false;
      for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
        // The entry's name is the tail of its path, compared in place.
        const std::string& entry_path = entry.path().native();
        if (EqualsIgnoreCase(std::string_view(entry_path).substr(entry_path.rfind('/') + 1), part)) {
          next = entry.path();
          exists_so_far = true;
          kind = KindOf(next);
          break;
        }
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

}  // namespace sim
