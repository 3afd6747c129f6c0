#include "snapshot/platform_folder_output.h"

#include <algorithm>
#include <vector>

#include "base/text_case.h"
#include "platform/error_codes.h"
#include "snapshot/scoped_handle.h"

namespace snapshot {
namespace {

constexpr std::uint32_t kChunk = 64 * 1024;

}  // namespace

std::string PlatformFolderOutput::PathOf(std::string_view relative) const {
  std::string path = folder_;
  if (!path.empty() && path.back() != '\\') path += '\\';
  for (char c : relative) path += c == '/' ? '\\' : c;
  return path;
}

bool PlatformFolderOutput::CreateFolder(std::string_view relative) {
  const std::string path = PathOf(relative);
  // Every folder from the output folder down; one that exists already is fine.
  for (std::size_t at = folder_.size(); at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '\\') continue;
    const std::string part = path.substr(0, at);
    if (!os_.files.CreateDirectory(part) &&
        os_.system.GetLastError() != platform::kErrorAlreadyExists)
      return false;
  }
  const std::uint32_t attributes = os_.files.GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes &&
         (attributes & platform::kFileAttributeDirectory) != 0;
}

bool PlatformFolderOutput::WriteFile(std::string_view relative, ByteSource& source,
                                     std::uint64_t zeros, platform::FileTime last_write) {
  ScopedHandle file(os_.system,
                    os_.files.CreateFile(PathOf(relative), platform::kGenericWrite, 0,
                                         platform::kCreateAlways, platform::kFileAttributeNormal));
  if (file.get() == platform::kInvalidHandle) return false;
  std::uint32_t written = 0;
  std::span<const std::uint8_t> piece;
  do {
    if (!source.Next(&piece)) return false;
    for (auto bytes = piece; !bytes.empty(); bytes = bytes.subspan(written)) {
      const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(kChunk, bytes.size()));
      if (!os_.files.WriteFile(file.get(), bytes.data(), size, &written) || written == 0)
        return false;
    }
  } while (!piece.empty());
  const std::vector<std::uint8_t> zero_chunk(zeros > 0 ? kChunk : 0, 0);
  while (zeros > 0) {
    const auto size = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunk, zeros));
    if (!os_.files.WriteFile(file.get(), zero_chunk.data(), size, &written) || written == 0)
      return false;
    zeros -= written;
  }
  return last_write == 0 || os_.files.SetFileTime(file.get(), last_write);
}

bool PlatformFolderOutput::IsOutputFolder(std::string_view windows_path) const {
  std::string_view folder = folder_;
  while (folder.size() > 3 && folder.back() == '\\') folder.remove_suffix(1);
  return EqualsIgnoreCase(windows_path, folder);
}

void PlatformFolderOutput::Report(std::string_view line) {
  std::string text(line);
  text += '\n';
  os_.files.WriteStandardOutput(text);
}

}  // namespace snapshot
