// Simulated workstation: files and folders as security.txt names them.
#include "platform/sim/file_objects.h"

#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/sddl.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kFileAddSubdirectory = 0x4;

}  // namespace

std::optional<FileObject> FindFileObject(SimState& s, std::string_view path) {
  auto host = s.Resolve(path);
  if (!host) return std::nullopt;
  std::error_code ec;
  if (!fs::exists(*host, ec)) {
    s.last_error = fs::is_directory(host->parent_path(), ec) ? platform::kErrorFileNotFound
                                                             : platform::kErrorPathNotFound;
    return std::nullopt;
  }
  auto name = Drives::Normalize(s.Redirected(path), s.current_directory);
  if (!name) return std::nullopt;
  return FileObject{*name, fs::is_directory(*host, ec) ? ObjectKind::Folder : ObjectKind::File};
}

FileObject ParentFolder(std::string_view name) {
  const std::size_t slash = name.rfind('\\');
  const std::string_view parent =
      slash == std::string_view::npos ? name : name.substr(0, slash <= 2 ? 3 : slash);
  return FileObject{std::string(parent), ObjectKind::Folder};
}

std::uint32_t TokenRights(const SimState& s, const FileObject& object) {
  int depth = 0;
  const std::string effective = s.security.Effective(object.name, &depth);
  std::string error;
  auto descriptor = ParseSddl(effective, &error);
  return descriptor ? GrantedAccess(*descriptor, depth, object.kind, s.token) : 0;
}

std::optional<std::string> MakeFolder(SimState& s, std::string_view path) {
  auto host = s.Resolve(path);
  if (!host) return std::nullopt;
  auto name = Drives::Normalize(s.Redirected(path), s.current_directory);
  if (!name) return std::nullopt;
  std::error_code ec;
  if (fs::exists(*host, ec)) {
    s.last_error = platform::kErrorAlreadyExists;
    return std::nullopt;
  }
  if (!fs::is_directory(host->parent_path(), ec)) {
    s.last_error = platform::kErrorPathNotFound;
    return std::nullopt;
  }
  if (!(TokenRights(s, ParentFolder(*name)) & kFileAddSubdirectory) ||
      !fs::create_directory(*host, ec)) {
    s.last_error = platform::kErrorAccessDenied;
    return std::nullopt;
  }
  return name;
}

}  // namespace sim
