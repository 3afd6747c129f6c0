// Simulated workstation: files opened by handle, read, written and closed. Each
// handle keeps its own position; the bytes live in the host file on the drive.
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/file_objects.h"
#include "platform/sim/file_times.h"
#include "platform/sim/sim_files.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

using platform::kErrorInvalidHandle;
constexpr platform::ErrorCode kErrorInvalidFunction = 1;
constexpr platform::ErrorCode kErrorDiskFull = 112;
using platform::kErrorNegativeSeek;
using platform::kErrorFileExists;
using platform::kErrorAlreadyExists;

constexpr std::uint32_t kCreateNew = 1;
constexpr std::uint32_t kOpenAlways = 4;
constexpr std::uint32_t kTruncateExisting = 5;

// Creates or empties the host file as the disposition asks; the Windows error when
// the disposition refuses the file as it is.
std::optional<platform::ErrorCode> PrepareHostFile(const fs::path& host, std::uint32_t disposition,
                                                   bool exists) {
  std::error_code ec;
  // Only a missing file needs its folder looked at.
  const bool folder_exists = exists || fs::is_directory(host.parent_path(), ec);
  switch (disposition) {
    case kCreateNew:
      if (exists) return kErrorFileExists;
      break;
    case platform::kCreateAlways:
    case kOpenAlways:
      break;
    case platform::kOpenExisting:
    case kTruncateExisting:
      if (!exists) return folder_exists ? platform::kErrorFileNotFound : platform::kErrorPathNotFound;
      break;
    default:
      return platform::kErrorInvalidParameter;
  }
  if (!exists && !folder_exists) return platform::kErrorPathNotFound;
  const bool empty_it = disposition == platform::kCreateAlways || disposition == kTruncateExisting;
  if (!exists || empty_it) {
    std::ofstream created(host, std::ios::binary | std::ios::trunc);
    if (!created) return platform::kErrorAccessDenied;
  }
  return std::nullopt;
}

}  // namespace

platform::Handle SimFiles::CreateFile(std::string_view path, std::uint32_t desired_access,
                                      std::uint32_t share_mode, std::uint32_t creation_disposition,
                                      std::uint32_t flags_and_attributes) {
  if (s_.Fails("CreateFile", nullptr, path)) return platform::kInvalidHandle;
  auto host = s_.Resolve(path);
  if (!host) return platform::kInvalidHandle;
  std::error_code ec;
  const fs::file_status status = fs::status(*host, ec);
  if (fs::is_directory(status)) {
    if (flags_and_attributes & platform::kFileFlagBackupSemantics)
      return OpenFolder(path, *host, desired_access, share_mode, creation_disposition);
    s_.last_error = platform::kErrorAccessDenied;
    return platform::kInvalidHandle;
  }
  const bool exists = fs::exists(status);
  // A read-only file may be read, never written, emptied or replaced.
  const bool writes = (desired_access & platform::kGenericWrite) ||
                      creation_disposition == platform::kCreateAlways ||
                      creation_disposition == kTruncateExisting;
  if (exists && writes && s_.read_only.count(*host)) {
    s_.last_error = platform::kErrorAccessDenied;
    return platform::kInvalidHandle;
  }
  if (!s_.open_files.SharingAllows(*host, desired_access, share_mode)) {
    s_.last_error = platform::kErrorSharingViolation;
    return platform::kInvalidHandle;
  }
  if (auto refused = PrepareHostFile(*host, creation_disposition, exists)) {
    s_.last_error = *refused;
    return platform::kInvalidHandle;
  }
  if (!exists) s_.drives.Changed(*host);

  auto file = std::make_unique<OpenFile>();
  file->host = *host;
  file->access = desired_access;
  file->share = share_mode;
  file->object = Drives::Normalize(s_.Redirected(path), s_.current_directory).value_or("");
  file->rights = MapGenericRights(desired_access, ObjectKind::File);
  std::ios::openmode mode = std::ios::binary;
  if (desired_access & platform::kGenericRead) mode |= std::ios::in;
  if (desired_access & platform::kGenericWrite) mode |= std::ios::in | std::ios::out;
  file->stream.open(*host, mode);
  if (!file->stream.is_open()) {
    s_.last_error = platform::kErrorAccessDenied;
    return platform::kInvalidHandle;
  }
  // As on Windows, opening a file that already existed for "always" dispositions
  // succeeds and says so in the last error.
  const bool always = creation_disposition == platform::kCreateAlways ||
                      creation_disposition == kOpenAlways;
  s_.last_error = always && exists ? kErrorAlreadyExists : platform::kErrorSuccess;
  return s_.open_files.Add(std::move(file));
}

platform::Handle SimFiles::OpenFolder(std::string_view path, const fs::path& host,
                                      std::uint32_t desired_access, std::uint32_t share_mode,
                                      std::uint32_t creation_disposition) {
  // A folder is opened, never created or emptied as a file would be.
  if (creation_disposition != platform::kOpenExisting && creation_disposition != kOpenAlways) {
    s_.last_error = platform::kErrorAccessDenied;
    return platform::kInvalidHandle;
  }
  auto object = FindFileObject(s_, path);
  if (!object) return platform::kInvalidHandle;
  const std::uint32_t rights = MapGenericRights(desired_access, ObjectKind::Folder);
  if (rights & ~TokenRights(s_, *object)) {
    s_.last_error = platform::kErrorAccessDenied;
    return platform::kInvalidHandle;
  }
  if (!s_.open_files.SharingAllows(host, desired_access, share_mode)) {
    s_.last_error = platform::kErrorSharingViolation;
    return platform::kInvalidHandle;
  }
  auto folder = std::make_unique<OpenFile>();
  folder->host = host;
  folder->access = desired_access;
  folder->share = share_mode;
  folder->object = object->name;
  folder->folder = true;
  folder->rights = rights;
  s_.last_error = creation_disposition == kOpenAlways ? kErrorAlreadyExists : platform::kErrorSuccess;
  return s_.open_files.Add(std::move(folder));
}

OpenFile* SimFiles::FileWithAccess(platform::Handle file, std::uint32_t access) {
  OpenFile* open = s_.open_files.Find(file);
  if (open == nullptr) {
    s_.last_error = kErrorInvalidHandle;
    return nullptr;
  }
  if (open->folder) {
    s_.last_error = kErrorInvalidFunction;
    return nullptr;
  }
  if ((open->access & access) != access) {
    s_.last_error = platform::kErrorAccessDenied;
    return nullptr;
  }
  return open;
}

bool SimFiles::ReadFile(platform::Handle file, void* buffer, std::uint32_t size,
                        std::uint32_t* bytes_read) {
  *bytes_read = 0;
  const auto movable = s_.Transferable("ReadFile", size);
  if (!movable) return false;
  OpenFile* open = FileWithAccess(file, platform::kGenericRead);
  if (open == nullptr) return false;
  open->stream.clear();
  open->stream.seekg(static_cast<std::streamoff>(open->position));
  open->stream.read(static_cast<char*>(buffer), *movable);
  const auto count = static_cast<std::uint32_t>(open->stream.gcount());
  open->stream.clear();  // the end of the file is not an error
  open->position += count;
  *bytes_read = count;
  return true;
}

bool SimFiles::WriteFile(platform::Handle file, const void* buffer, std::uint32_t size,
                         std::uint32_t* bytes_written) {
  *bytes_written = 0;
  const auto movable = s_.Transferable("WriteFile", size);
  if (!movable) return false;
  OpenFile* open = FileWithAccess(file, platform::kGenericWrite);
  if (open == nullptr) return false;
  open->stream.clear();
  open->stream.seekp(static_cast<std::streamoff>(open->position));
  open->stream.write(static_cast<const char*>(buffer), *movable);
  open->stream.flush();
  if (!open->stream) {
    open->stream.clear();
    s_.last_error = kErrorDiskFull;
    return false;
  }
  open->position += *movable;
  *bytes_written = *movable;
  return true;
}

std::uint32_t SimFiles::SetFilePointer(platform::Handle file, std::int32_t distance,
                                       std::uint32_t move_method) {
  if (s_.Fails("SetFilePointer")) return platform::kInvalidSetFilePointer;
  OpenFile* open = FileWithAccess(file, 0);
  if (open == nullptr) return platform::kInvalidSetFilePointer;
  std::int64_t base = 0;
  if (move_method == platform::kFileCurrent) {
    base = static_cast<std::int64_t>(open->position);
  } else if (move_method == platform::kFileEnd) {
    std::error_code ec;
    base = static_cast<std::int64_t>(fs::file_size(open->host, ec));
  } else if (move_method != platform::kFileBegin) {
    s_.last_error = platform::kErrorInvalidParameter;
    return platform::kInvalidSetFilePointer;
  }
  const std::int64_t target = base + distance;
  if (target < 0) {
    s_.last_error = kErrorNegativeSeek;
    return platform::kInvalidSetFilePointer;
  }
  open->position = static_cast<std::uint64_t>(target);
  s_.last_error = platform::kErrorSuccess;
  return static_cast<std::uint32_t>(open->position);
}

std::uint32_t SimFiles::GetFileSize(platform::Handle file, std::uint32_t* size_high) {
  if (s_.Fails("GetFileSize")) return platform::kInvalidFileSize;
  OpenFile* open = FileWithAccess(file, 0);
  if (open == nullptr) return platform::kInvalidFileSize;
  std::error_code ec;
  const std::uint64_t size = fs::file_size(open->host, ec);
  if (ec) {
    s_.last_error = platform::kErrorAccessDenied;
    return platform::kInvalidFileSize;
  }
  if (size_high) *size_high = static_cast<std::uint32_t>(size >> 32);
  // A size whose low half is all ones is told apart from a failure by the last error.
  s_.last_error = platform::kErrorSuccess;
  return static_cast<std::uint32_t>(size);
}

bool SimFiles::GetFileTime(platform::Handle file, platform::FileTime* last_write) {
  if (s_.Fails("GetFileTime")) return false;
  OpenFile* open = FileWithAccess(file, platform::kGenericRead);
  if (open == nullptr) return false;
  std::error_code ec;
  const auto host_time = fs::last_write_time(open->host, ec);
  if (ec) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  *last_write = FileTimeOf(host_time);
  return true;
}

}  // namespace sim
