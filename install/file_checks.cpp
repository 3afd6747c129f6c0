// The two existence tests.
#include "install/file_checks.h"

#include <string>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/fs_redirection.h"
#include "base/launcher.h"

namespace {

constexpr std::uint32_t kDirectoryCheckPause = 100;

}  // namespace

bool FileExist(Launcher& l, std::string_view path) {
  TraceScope trace(l, "FileExist");
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) {
    EnableFSCompatibility(l);  // switched back on every path; here it only records that it is on
    return false;
  }
  const std::string text(path);
  const platform::Handle search = l.os.files.FindFirstFile(path);
  if (search == platform::kInvalidHandle) {
    DebugLogLevel(l, kDeveloperLevel, "FileExist: \"%s\" does not exist (INVALID_HANDLE_VALUE).",
                  text.c_str());
    return false;
  }
  DebugLogLevel(l, kDeveloperLevel, "FileExist: \"%s\" is present.", text.c_str());
  l.os.files.FindClose(search);
  return true;
}

bool DirectoryExists(Launcher& l, std::string_view path) {
  TraceScope trace(l, "DirectoryExists");
  const std::string text(path);
  const std::uint32_t attributes = l.os.files.GetFileAttributes(path);
  const platform::ErrorCode error = l.os.system.GetLastError();
  DebugLogLevel(l, kDeveloperLevel, "DirectoryExists: GetFileAttributes \"%s\" resulted in %d.",
                text.c_str(), static_cast<int>(attributes));
  const bool valid = attributes != platform::kInvalidFileAttributes;
  const bool folder = valid && (attributes & platform::kFileAttributeDirectory) != 0;
  {
    LogNestingScope deeper(l);
    if (!valid) {
      ErrorDescription description;
      FormatErrorString(l, error, description);
      DebugLogLevel(
          l, kDeveloperLevel,
          "DirectoryExists: Path check for \"%s\" resulted in INVALID_FILE_ATTRIBUTES; %s",
          text.c_str(), description.c_str());
    } else if (folder) {
      DebugLogLevel(l, kDeveloperLevel, "DirectoryExists: \"%s\" is an existing folder.",
                    text.c_str());
    } else {
      DebugLogLevel(l, kDeveloperLevel, "DirectoryExists: \"%s\" is not a folder.", text.c_str());
    }
  }
  l.os.system.Sleep(kDirectoryCheckPause);
  return folder;
}
