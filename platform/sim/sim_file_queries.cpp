// Simulated workstation: existence tests and the WOW64 file-system redirection switch.
#include <algorithm>
#include <cstdint>
#include <vector>
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

constexpr platform::ErrorCode kErrorInvalidFunction = 1;
using platform::kErrorInvalidHandle;
using platform::kErrorNoMoreFiles;
constexpr std::uint32_t kFileAttributeArchive = 0x20;

// The opaque values handed out by Wow64DisableWow64FsRedirection: the state to go
// back to.
void* const kRedirectionWasOn = reinterpret_cast<void*>(std::uintptr_t{0x1});
void* const kRedirectionWasOff = reinterpret_cast<void*>(std::uintptr_t{0x2});

// Wildcard match of a file name, without regard to case: "*" any run, "?" one character.
bool Matches(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern.front() == '*')
    return Matches(pattern.substr(1), name) || (!name.empty() && Matches(pattern, name.substr(1)));
  if (name.empty()) return false;
  if (pattern.front() != '?' && FoldCase(pattern.front()) != FoldCase(name.front())) return false;
  return Matches(pattern.substr(1), name.substr(1));
}

// The error Windows gives for a name that is not there: its folder is, or is not.
platform::ErrorCode MissingError(const fs::path& host) {
  std::error_code ec;
  return fs::is_directory(host.parent_path(), ec) ? platform::kErrorFileNotFound
                                                  : platform::kErrorPathNotFound;
}

}  // namespace

std::uint32_t SimFiles::AttributesOf(const fs::path& host, bool folder) const {
  if (folder) return platform::kFileAttributeDirectory;
  return s_.read_only.count(host) ? kFileAttributeArchive | kFileAttributeReadOnly : kFileAttributeArchive;
}

platform::Handle SimFiles::FindFirstFile(std::string_view pattern, platform::FindData* first) {
  if (s_.Fails("FindFirstFile", nullptr, pattern)) return platform::kInvalidHandle;
  auto normal = Drives::Normalize(pattern, s_.current_directory);
  if (!normal) {
    s_.last_error = platform::kErrorPathNotFound;
    return platform::kInvalidHandle;
  }
  const std::size_t slash = normal->rfind('\\');
  const std::string_view name = std::string_view(*normal).substr(slash + 1);
  std::error_code ec;
  std::deque<platform::FindData> matches;
  if (name.find_first_of("*?") != std::string_view::npos) {
    // "*.*" also matches names without an extension, as on Windows.
    const std::string_view wanted = name == "*.*" ? std::string_view("*") : name;
    auto folder = s_.Resolve(normal->substr(0, slash + 1));
    if (!folder) return platform::kInvalidHandle;
    if (!fs::is_directory(*folder, ec)) {
      s_.last_error = platform::kErrorPathNotFound;
      return platform::kInvalidHandle;
    }
    // A folder below a drive's root lists itself and its parent first, as NTFS does.
    if (wanted == "*" && slash > 2) {
      matches.push_back({".", platform::kFileAttributeDirectory});
      matches.push_back({"..", platform::kFileAttributeDirectory});
    }
    std::vector<platform::FindData> found;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
      const std::string entry_name = entry.path().filename().string();
      if (!Matches(wanted, entry_name)) continue;
      const bool folder_entry = entry.is_directory(ec) && !entry.is_symlink(ec);
      found.push_back({entry_name, AttributesOf(entry.path(), folder_entry)});
    }
    // NTFS lists names in order without regard to case.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
      return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                          [](char x, char y) { return FoldCase(x) < FoldCase(y); });
    });
    matches.insert(matches.end(), found.begin(), found.end());
    if (matches.empty()) s_.last_error = platform::kErrorFileNotFound;
  } else {
    auto host = s_.Resolve(*normal);
    if (!host) return platform::kInvalidHandle;
    if (fs::exists(*host, ec))
      matches.push_back({host->filename().string(), AttributesOf(*host, fs::is_directory(*host, ec))});
    else
      s_.last_error = MissingError(*host);
  }
  if (matches.empty()) return platform::kInvalidHandle;
  const platform::Handle search = next_search_;
  next_search_ += 4;
  if (first != nullptr) *first = matches.front();
  matches.pop_front();
  searches_[search] = std::move(matches);
  return search;
}

bool SimFiles::FindNextFile(platform::Handle search, platform::FindData* next) {
  if (s_.Fails("FindNextFile")) return false;
  auto it = searches_.find(search);
  if (it == searches_.end()) {
    s_.last_error = kErrorInvalidHandle;
    return false;
  }
  if (it->second.empty()) {
    s_.last_error = kErrorNoMoreFiles;
    return false;
  }
  *next = std::move(it->second.front());
  it->second.pop_front();
  return true;
}

bool SimFiles::FindClose(platform::Handle search) {
  if (s_.Fails("FindClose")) return false;
  if (searches_.erase(search) == 0) {
    s_.last_error = kErrorInvalidHandle;
    return false;
  }
  return true;
}

std::uint32_t SimFiles::GetFileAttributes(std::string_view path) {
  if (s_.Fails("GetFileAttributes", nullptr, path)) return platform::kInvalidFileAttributes;
  auto host = s_.Resolve(path);
  if (!host) return platform::kInvalidFileAttributes;
  std::error_code ec;
  if (fs::exists(*host, ec)) return AttributesOf(*host, fs::is_directory(*host, ec));
  s_.last_error = MissingError(*host);
  return platform::kInvalidFileAttributes;
}

bool SimFiles::PathIsDirectoryEmpty(std::string_view path) {
  if (s_.Fails("PathIsDirectoryEmpty", nullptr, path)) return false;
  auto host = s_.Resolve(path);
  if (!host) return false;
  std::error_code ec;
  if (!fs::is_directory(*host, ec)) return false;
  const bool empty = fs::is_empty(*host, ec);
  return !ec && empty;
}

bool SimFiles::Wow64DisableWow64FsRedirection(void** old_value) {
  if (s_.Fails("Wow64DisableWow64FsRedirection")) return false;
  if (!s_.machine.Wow64()) {
    s_.last_error = kErrorInvalidFunction;
    return false;
  }
  *old_value = s_.fs_redirection_disabled ? kRedirectionWasOff : kRedirectionWasOn;
  s_.fs_redirection_disabled = true;
  return true;
}

bool SimFiles::Wow64RevertWow64FsRedirection(void* old_value) {
  if (s_.Fails("Wow64RevertWow64FsRedirection")) return false;
  if (!s_.machine.Wow64()) {
    s_.last_error = kErrorInvalidFunction;
    return false;
  }
  if (old_value != kRedirectionWasOn && old_value != kRedirectionWasOff) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  s_.fs_redirection_disabled = old_value == kRedirectionWasOff;
  return true;
}

}  // namespace sim
