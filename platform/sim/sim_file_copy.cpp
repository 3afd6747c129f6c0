// Simulated workstation: copying files, creating folders, setting attributes and
// stamping a file's time.
// Every path goes through the machine's own path resolution, so nothing outside the
// machine folder is reached.
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/file_objects.h"
#include "platform/sim/file_times.h"
#include "platform/sim/sim_files.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

using platform::kErrorFileExists;
constexpr std::uint32_t kFileWriteAttributes = 0x100;

// The error Windows gives for a name that is not there: its folder is, or is not.
platform::ErrorCode MissingError(const fs::path& host) {
  std::error_code ec;
  return fs::is_directory(host.parent_path(), ec) ? platform::kErrorFileNotFound
                                                  : platform::kErrorPathNotFound;
}

// Why Windows would refuse to copy `source` onto `target`, if it would.
std::optional<platform::ErrorCode> CopyRefusal(const fs::path& source, const fs::path& target,
                                               bool fail_if_exists, const SimState& s) {
  std::error_code ec;
  if (!fs::exists(source, ec)) return MissingError(source);
  // A folder is not a file: neither copied nor overwritten.
  if (!fs::is_regular_file(source, ec)) return platform::kErrorAccessDenied;
  if (!fs::is_directory(target.parent_path(), ec)) return platform::kErrorPathNotFound;
  if (fs::exists(target, ec)) {
    if (fail_if_exists) return kErrorFileExists;
    if (!fs::is_regular_file(target, ec) || s.read_only.count(target)) return platform::kErrorAccessDenied;
  }
  if (!s.open_files.SharingAllows(source, platform::kGenericRead, platform::kFileShareRead) ||
      !s.open_files.SharingAllows(target, platform::kGenericWrite, 0))
    return platform::kErrorSharingViolation;
  return std::nullopt;
}

}  // namespace

bool SimFiles::CopyFile(std::string_view existing_path, std::string_view new_path,
                        bool fail_if_exists) {
  if (s_.Fails("CopyFile", nullptr, existing_path)) return false;
  auto source = s_.Resolve(existing_path);
  if (!source) return false;
  auto target = s_.Resolve(new_path);
  if (!target) return false;
  if (auto refused = CopyRefusal(*source, *target, fail_if_exists, s_)) {
    s_.last_error = *refused;
    return false;
  }
  std::error_code ec;
  fs::copy_file(*source, *target, fs::copy_options::overwrite_existing, ec);
  s_.drives.Changed(*target);
  // As on Windows, the copy keeps the original's last-write time.
  if (!ec) fs::last_write_time(*target, fs::last_write_time(*source, ec), ec);
  if (ec) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  // The copy takes the original's read-only attribute too.
  if (s_.read_only.count(*source)) s_.read_only.insert(*target);
  return true;
}

bool SimFiles::CreateDirectory(std::string_view path) {
  if (s_.Fails("CreateDirectory", nullptr, path)) return false;
  return MakeFolder(s_, path).has_value();
}

bool SimFiles::SetFileAttributes(std::string_view path, std::uint32_t attributes) {
  if (s_.Fails("SetFileAttributes", nullptr, path)) return false;
  auto object = FindFileObject(s_, path);
  if (!object) return false;
  if (!(TokenRights(s_, *object) & kFileWriteAttributes)) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  // Files keep their read-only flag and nothing else; folders keep only their folder flag.
  if (object->kind != ObjectKind::File) return true;
  auto host = s_.Resolve(path);
  if (!host) return false;
  if (attributes & kFileAttributeReadOnly)
    s_.read_only.insert(*host);
  else
    s_.read_only.erase(*host);
  return true;
}

bool SimFiles::SetFileTime(platform::Handle file, platform::FileTime last_write) {
  if (s_.Fails("SetFileTime")) return false;
  OpenFile* open = FileWithAccess(file, platform::kGenericWrite);
  if (open == nullptr) return false;
  const auto host_time = HostTimeOf(last_write);
  if (!host_time) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  // Written bytes reach the host file at once, so no later flush moves the time.
  std::error_code ec;
  fs::last_write_time(open->host, *host_time, ec);
  if (ec) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  return true;
}

}  // namespace sim
