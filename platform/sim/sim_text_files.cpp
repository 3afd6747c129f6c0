// Simulated workstation: files written whole through the C runtime in text mode.
#include <fstream>
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/journal.h"
#include "platform/sim/sim_files.h"

namespace sim {
namespace {

// The C runtime's errno values that opening a file for writing gives on Windows.
constexpr int kNoSuchFile = 2;    // ENOENT: the folder or drive does not exist
constexpr int kPermission = 13;   // EACCES: a folder of that name, or no access

}  // namespace

bool SimFiles::WriteTextFile(std::string_view path, std::string_view text, int* c_runtime_error) {
  platform::ErrorCode injected = 0;
  if (s_.Fails("WriteTextFile", &injected)) {
    // The injected error stands for the C runtime's errno.
    *c_runtime_error = static_cast<int>(injected);
    return false;
  }
  auto host = s_.Resolve(path);
  std::error_code ec;
  if (!host || !std::filesystem::is_directory(host->parent_path(), ec)) {
    if (host) s_.last_error = platform::kErrorPathNotFound;
    *c_runtime_error = s_.last_error == platform::kErrorAccessDenied ? kPermission : kNoSuchFile;
    return false;
  }
  if (std::filesystem::is_directory(*host, ec)) {
    s_.last_error = platform::kErrorAccessDenied;
    *c_runtime_error = kPermission;
    return false;
  }
  std::ofstream out(*host, std::ios::binary | std::ios::trunc);
  s_.drives.Changed(*host);
  if (!out) {
    s_.last_error = platform::kErrorAccessDenied;
    *c_runtime_error = kPermission;
    return false;
  }
  PutTextMode(out, text);
  return true;
}

}  // namespace sim
