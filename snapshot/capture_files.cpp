// Walks folders with FindFirstFile and copies files through CreateFile and ReadFile,
// so that it sees exactly what the launcher sees.
#include "snapshot/capture_files.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/text_case.h"
#include "platform/error_codes.h"
#include "install/tab_format.h"
#include "snapshot/control_characters.h"
#include "snapshot/file_reading.h"
#include "snapshot/file_version.h"

namespace snapshot {
namespace {

// Bounds that keep a snapshot of a strange folder finite.
constexpr int kMaxDepth = 16;
constexpr std::size_t kMaxEntries = 20000;
constexpr std::size_t kMaxPath = 259;
constexpr std::uint32_t kReparsePoint = 0x400;

std::string_view FileName(std::string_view path) {
  return path.substr(path.find_last_of('\\') + 1);
}

}  // namespace

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:*?\"<>|") == std::string_view::npos &&
         !HasControlCharacter(name);
}

std::string DrivePath(std::string_view windows_path) {
  if (windows_path.size() < 2 || windows_path[1] != ':' ||
      !((windows_path[0] >= 'A' && windows_path[0] <= 'Z') ||
        (windows_path[0] >= 'a' && windows_path[0] <= 'z')))
    return {};
  std::string relative = "drives/";
  relative += ToUpperAscii(windows_path[0]);
  for (char c : windows_path.substr(2)) relative += c == '\\' ? '/' : c;
  while (relative.back() == '/') relative.pop_back();
  // No part may climb out of the drive's folder.
  if (relative.find("/../") != std::string::npos || relative.ends_with("/..") ||
      relative.find("/./") != std::string::npos)
    return {};
  return relative;
}

void FileCapture::Tree(std::string_view folder) {
  const std::uint32_t attributes = os_.files.GetFileAttributes(folder);
  if (attributes == platform::kInvalidFileAttributes ||
      !(attributes & platform::kFileAttributeDirectory))
    return;
  std::string path(folder);
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  if (Folder(path)) Walk(path, 0);
}

void FileCapture::EmptyFolder(std::string_view folder) {
  const std::uint32_t attributes = os_.files.GetFileAttributes(folder);
  if (attributes != platform::kInvalidFileAttributes &&
      (attributes & platform::kFileAttributeDirectory))
    Folder(std::string(folder));
}

void FileCapture::File(std::string_view path) {
  const std::uint32_t attributes = os_.files.GetFileAttributes(path);
  if (attributes == platform::kInvalidFileAttributes ||
      (attributes & platform::kFileAttributeDirectory))
    return;
  const std::string file(path);
  const std::size_t cut = file.find_last_of('\\');
  if (cut != std::string::npos && !out_.CreateFolder(DrivePath(file.substr(0, cut)))) return;
  Copy(file);
}

bool FileCapture::Folder(const std::string& path) {
  const std::string relative = DrivePath(path);
  if (relative.empty() || !out_.CreateFolder(relative)) return false;
  out_.Report("folder " + path);
  return true;
}

void FileCapture::Walk(const std::string& folder, int depth) {
  std::vector<platform::FindData> entries;
  platform::FindData found;
  const platform::Handle search = os_.files.FindFirstFile(folder + "\\*", &found);
  if (search == platform::kInvalidHandle) {
    // An empty folder or one gone since it was found is no denial.
    const std::uint32_t error = os_.system.GetLastError();
    if (error != platform::kErrorFileNotFound && error != platform::kErrorPathNotFound &&
        error != platform::kErrorNoMoreFiles)
      denials_.Failure("FindFirstFile", error);
    return;
  }
  do {
    if (IsPlainName(found.name) && !(found.attributes & kReparsePoint)) entries.push_back(found);
  } while (entries.size() + entries_ < kMaxEntries && os_.files.FindNextFile(search, &found));
  os_.files.FindClose(search);
  entries_ += entries.size();

  for (const platform::FindData& entry : entries) {
    const std::string path = folder + "\\" + entry.name;
    if (path.size() > kMaxPath) continue;
    if (!(entry.attributes & platform::kFileAttributeDirectory))
      Copy(path);
    else if (depth < kMaxDepth && !out_.IsOutputFolder(path) && Folder(path))
      Walk(path, depth + 1);
  }
}

void FileCapture::Copy(const std::string& path) {
  const std::string relative = DrivePath(path);
  std::string folded = path;
  for (char& c : folded) c = ToUpperAscii(c);
  if (relative.empty() || !copied_.insert(folded).second) return;
  SourceFile file(os_, path, UINT64_MAX);
  if (!file.ok()) {
    out_.Report("skipped " + path + " (cannot be read)");
    return;
  }
  const bool whole =
      file.size() <= kCopiedFileBytes || EqualsIgnoreCase(FileName(path), kTABArchiveName);
  MemorySource nothing({});
  ByteSource& source = whole ? static_cast<ByteSource&>(file) : nothing;
  if (!out_.WriteFile(relative, source, whole ? 0 : file.size(), file.last_write())) {
    out_.Report("failed " + path + " (cannot be read or written)");
    return;
  }
  out_.Report("file " + path + " (" + std::to_string(file.size()) + " bytes" +
              (whole ? ")" : ", zero-filled)"));
  // A version key must stay one machine.ini key: no "=" in the path.
  std::string version = FileVersion(os_.files, path);
  if (!version.empty() && path.find('=') == std::string::npos)
    versions_.emplace_back(path, std::move(version));
}

}  // namespace snapshot
