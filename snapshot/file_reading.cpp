#include "snapshot/file_reading.h"

#include <algorithm>

namespace snapshot {
namespace {

constexpr std::uint32_t kPiece = 64 * 1024;

}  // namespace

SourceFile::SourceFile(platform::Platform& os, std::string_view path, std::uint64_t limit)
    : os_(os),
      file_(os.system,
            os.files.CreateFile(path, platform::kGenericRead,
                                platform::kFileShareRead | platform::kFileShareWrite,
                                platform::kOpenExisting, platform::kFileAttributeNormal)) {
  if (file_.get() == platform::kInvalidHandle) return;
  std::uint32_t high = 0;
  const std::uint32_t low = os.files.GetFileSize(file_.get(), &high);
  if (low == platform::kInvalidFileSize || !os.files.GetFileTime(file_.get(), &last_write_)) return;
  size_ = (static_cast<std::uint64_t>(high) << 32) | low;
  left_ = std::min(size_, limit);
  ok_ = true;
}

bool SourceFile::Next(std::span<const std::uint8_t>* piece) {
  if (!ok_) return false;
  buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, left_)));
  std::size_t done = 0;
  std::uint32_t read = 0;
  while (done < buffer_.size()) {
    if (!os_.files.ReadFile(file_.get(), buffer_.data() + done,
                            static_cast<std::uint32_t>(buffer_.size() - done), &read) ||
        read == 0)
      return false;
    done += read;
  }
  left_ -= buffer_.size();
  *piece = buffer_;
  return true;
}

std::vector<std::uint8_t> ReadFileStart(platform::Platform& os, std::string_view path,
                                        std::uint64_t limit) {
  SourceFile file(os, path, limit);
  std::vector<std::uint8_t> bytes;
  std::span<const std::uint8_t> piece;
  while (file.Next(&piece) && !piece.empty()) bytes.insert(bytes.end(), piece.begin(), piece.end());
  return bytes;
}

}  // namespace snapshot
