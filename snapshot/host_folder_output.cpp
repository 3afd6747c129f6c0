#include "snapshot/host_folder_output.h"

#include <chrono>
#include <fstream>
#include <system_error>

namespace snapshot {
namespace {

// FILETIME of the Unix epoch, in 100-nanosecond steps.
constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;

}  // namespace

std::filesystem::path HostFolderOutput::Inside(std::string_view relative) const {
  std::filesystem::path path = folder_;
  std::error_code error;
  for (const auto& part : std::filesystem::path(relative)) {
    if (part.empty() || part == "." || part == ".." || part.has_root_path()) return {};
    path /= part;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return {};
  }
  return path;
}

bool HostFolderOutput::CreateFolder(std::string_view relative) {
  const std::filesystem::path path = Inside(relative);
  std::error_code error;
  if (path.empty()) return false;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(std::filesystem::symlink_status(path, error));
}

bool HostFolderOutput::WriteFile(std::string_view relative, ByteSource& source,
                                 std::uint64_t zeros, platform::FileTime last_write) {
  const std::filesystem::path path = Inside(relative);
  if (path.empty()) return false;
  std::uint64_t written = 0;
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    std::span<const std::uint8_t> piece;
    do {
      if (!source.Next(&piece)) return false;
      file.write(reinterpret_cast<const char*>(piece.data()),
                 static_cast<std::streamsize>(piece.size()));
      written += piece.size();
    } while (!piece.empty() && file);
    if (!file) return false;
  }
  std::error_code error;
  // The zero-filled rest is left sparse.
  if (zeros > 0) std::filesystem::resize_file(path, written + zeros, error);
  if (!error && last_write >= kUnixEpoch) {
    const auto since_epoch = std::chrono::duration_cast<std::filesystem::file_time_type::duration>(
        std::chrono::nanoseconds((last_write - kUnixEpoch) * 100));
    const auto unix_epoch = std::filesystem::file_time_type::clock::from_sys(
        std::chrono::sys_seconds{});
    std::filesystem::last_write_time(path, unix_epoch + since_epoch, error);
  }
  return !error;
}

void HostFolderOutput::Report(std::string_view line) { report_ << line << '\n'; }

}  // namespace snapshot
