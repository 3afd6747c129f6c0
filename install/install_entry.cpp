// Copying one archive record's bytes to its destination.
#include "install/install_entry.h"

#include <array>
#include <string>

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/fs_redirection.h"
#include "install/scoped_release.h"
#include "platform/files.h"

namespace {

constexpr std::uint32_t kBlockBytes = 4096;
constexpr const char* kOutputLabel = "Output";

struct Copy {
  Launcher& l;
  const TABFileRecord& record;
  const std::string destination;
  const TABHandle& tHnd;
  platform::Handle output;
  std::array<std::uint8_t, kBlockBytes> buffer;

  void* archive() const { return reinterpret_cast<void*>(tHnd.hnd); }

  std::string Describe(platform::ErrorCode error) {
    ErrorDescription description;
    FormatErrorString(l, error, description);
    return description.c_str();
  }

  // Reads `size` bytes from the archive and writes them to the destination; false
  // after the failure's error record. The last, shorter block is the "finalizing" one.
  bool Block(std::uint32_t size, bool final) {
    std::uint32_t read = 0;
    if (!l.os.files.ReadFile(tHnd.hnd, buffer.data(), size, &read)) {
      const std::string why = Describe(l.os.system.GetLastError());
      if (final)
        ErrorLog(l, "InstallEntry error: Error while finalizing reading source file \"%s\" (%p); %s",
                 record.FileName, archive(), why.c_str());
      else
        ErrorLog(l, "InstallEntry error: Error while reading source file \"%s\" (%p); %s",
                 record.FileName, archive(), why.c_str());
      return false;
    }
    if (read != size) {
      if (final)
        ErrorLog(l,
                 "InstallEntry error: Error while finalizing reading source file \"%s\"; Expected "
                 "%d bytes read, %d actual bytes read.",
                 record.FileName, static_cast<int>(size), static_cast<int>(read));
      else
        ErrorLog(l,
                 "InstallEntry error: Error while reading source file \"%s\"; Expected 4096 bytes "
                 "read, %d actual bytes read.",
                 record.FileName, static_cast<int>(read));
      return false;
    }
    std::uint32_t written = 0;
    if (!l.os.files.WriteFile(output, buffer.data(), read, &written)) {
      const std::string why = Describe(l.os.system.GetLastError());
      if (final)
        ErrorLog(l, "InstallEntry error: Error while finalizing writing destination file \"%s\"; %s",
                 destination.c_str(), why.c_str());
      else
        ErrorLog(l, "InstallEntry error: Error while writing destination file \"%s\"; %s",
                 destination.c_str(), why.c_str());
      return false;
    }
    if (written != read) {
      if (final)
        ErrorLog(l,
                 "InstallEntry error: Error while copying file \"%s\" to \"%s\"; finalizing bytes "
                 "written mismatch.",
                 record.FileName, destination.c_str());
      else
        ErrorLog(l, "InstallEntry error: Error while copying file \"%s\" to \"%s\"; bytes written mismatch.",
                 record.FileName, destination.c_str());
      return false;
    }
    return true;
  }

  bool AllBytes() {
    // A position the archive cannot take would copy other bytes: it is a read failure.
    if (l.os.files.SetFilePointer(tHnd.hnd, static_cast<std::int32_t>(record.DataOffset),
                                  platform::kFileBegin) == platform::kInvalidSetFilePointer) {
      const std::string why = Describe(l.os.system.GetLastError());
      ErrorLog(l, "InstallEntry error: Error while reading source file \"%s\" (%p); %s",
               record.FileName, archive(), why.c_str());
      return false;
    }
    for (std::uint32_t block = 0; block < record.Size / kBlockBytes; ++block)
      if (!Block(kBlockBytes, false)) return false;
    const std::uint32_t rest = record.Size % kBlockBytes;
    return rest == 0 || Block(rest, true);
  }

  // The record's time, as the archive keeps it in UTC, with no time-zone conversion.
  void StampTime() {
    const TABFileTime& t = record.FileTime;
    const platform::SystemTime fields{t.Year, t.Month, t.DayOfWeek, t.Day,
                                      t.Hour, t.Minute, t.Second, t.Milliseconds};
    platform::FileTime time = 0;
    if (l.os.files.SystemTimeToFileTime(fields, &time)) (void)l.os.files.SetFileTime(output, time);
  }
};

}  // namespace

int InstallEntry(Launcher& l, const TABFileRecord& record, std::string_view destination,
                 const TABHandle& tHnd) {
  if (tHnd.hnd == platform::kInvalidHandle) {
    ErrorLog(l, "InstallEntry error: Error while reading source file \"%s\" (%p); The handle is invalid.",
             record.FileName, reinterpret_cast<void*>(tHnd.hnd));
    return 0;
  }
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) {
    ErrorLogText(l, "InstallEntry: L4; Error copying file. Could not disable FS redirection.");
    return 0;
  }
  Copy copy{l, record, std::string(destination), tHnd, platform::kInvalidHandle, {}};
  copy.output = l.os.files.CreateFile(destination, platform::kGenericWrite, 0,
                                      platform::kCreateAlways, platform::kFileAttributeNormal);
  const platform::ErrorCode create_error = l.os.system.GetLastError();
  DebugLogLevel(l, kDeveloperLevel, "InstallEntry: Obtained file handle: %p",
                reinterpret_cast<void*>(copy.output));
  if (copy.output == platform::kInvalidHandle) {
    const std::string why = copy.Describe(create_error);
    ErrorLog(l,
             "InstallEntry: L3; Error copying file. Destination file creation resulted in "
             "INVALID_HANDLE_VALUE; %s",
             why.c_str());
    return 0;
  }
  ScopedHandle output(l, copy.output, kOutputLabel);
  if (!copy.AllBytes()) {
    output.Close();
    (void)l.os.files.DeleteFile(destination);  // no partly written file is left
    return 0;
  }
  copy.StampTime();
  output.Close();
  return 1;
}
