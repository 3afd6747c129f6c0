// Simulated workstation: existence tests and the WOW64 file-system redirection switch.
#include <cstdint>
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

constexpr platform::ErrorCode kErrorInvalidFunction = 1;
constexpr platform::ErrorCode kErrorInvalidHandle = 6;
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

platform::Handle SimFiles::FindFirstFile(std::string_view pattern) {
  if (s_.Fails("FindFirstFile")) return platform::kInvalidHandle;
  auto normal = Drives::Normalize(pattern, s_.current_directory);
  if (!normal) {
    s_.last_error = platform::kErrorPathNotFound;
    return platform::kInvalidHandle;
  }
  const std::size_t slash = normal->rfind('\\');
  const std::string_view name = std::string_view(*normal).substr(slash + 1);
  std::error_code ec;
  bool found = false;
  if (name.find_first_of("*?") != std::string_view::npos) {
    // "*.*" also matches names without an extension, as on Windows.
    const std::string_view wanted = name == "*.*" ? std::string_view("*") : name;
    auto folder = s_.Resolve(normal->substr(0, slash + 1));
    if (!folder) return platform::kInvalidHandle;
    if (!fs::is_directory(*folder, ec)) {
      s_.last_error = platform::kErrorPathNotFound;
      return platform::kInvalidHandle;
    }
    for (const auto& entry : fs::directory_iterator(*folder, ec))
      if (Matches(wanted, entry.path().filename().string())) found = true;
    if (!found) s_.last_error = platform::kErrorFileNotFound;
  } else {
    auto host = s_.Resolve(*normal);
    if (!host) return platform::kInvalidHandle;
    found = fs::exists(*host, ec);
    if (!found) s_.last_error = MissingError(*host);
  }
  if (!found) return platform::kInvalidHandle;
  const platform::Handle search = next_search_;
  next_search_ += 4;
  searches_.insert(search);
  return search;
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
  if (s_.Fails("GetFileAttributes")) return platform::kInvalidFileAttributes;
  auto host = s_.Resolve(path);
  if (!host) return platform::kInvalidFileAttributes;
  std::error_code ec;
  if (fs::is_directory(*host, ec)) return platform::kFileAttributeDirectory;
  if (fs::exists(*host, ec)) return kFileAttributeArchive;
  s_.last_error = MissingError(*host);
  return platform::kInvalidFileAttributes;
}

bool SimFiles::PathIsDirectoryEmpty(std::string_view path) {
  if (s_.Fails("PathIsDirectoryEmpty")) return false;
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
