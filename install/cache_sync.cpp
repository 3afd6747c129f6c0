// Keeping the cache copy of the product's files, and touching them in a preload.
#include "install/cache_sync.h"

#include <cstdint>
#include <string>

#include "base/launcher.h"
#include "diag/heap_helpers.h"
#include "diag/log.h"
#include "install/file_checks.h"
#include "platform/files.h"

namespace {

constexpr const char* kCachedFiles[] = {"tavix.chm",    "nvpv.chm",     "readme.htm",   "ups_sp.chm",
                                        "tsystem1.exe", "tsystem2.dll", "tsystem5.dll", "tsystem6.exe",
                                        "tsystem7.exe", "tsystemx.dll", "tsystemu.dll"};

// What decides whether a cached copy is current: its size and UTC time to the minute.
struct FileStamp {
  std::uint32_t size = 0;
  platform::SystemTime time;
};

bool SameStamp(const FileStamp& a, const FileStamp& b) {
  return a.size == b.size && a.time.year == b.time.year && a.time.month == b.time.month &&
         a.time.day == b.time.day && a.time.hour == b.time.hour && a.time.minute == b.time.minute;
}

platform::Handle OpenForReading(Launcher& l, std::string_view path) {
  return l.os.files.CreateFile(path, platform::kGenericRead, 0, platform::kOpenExisting,
                               platform::kFileAttributeNormal);
}

// The open file's size and time, then the handle closed.
FileStamp StampAndClose(Launcher& l, platform::Handle& file, const char* label) {
  FileStamp stamp;
  stamp.size = l.os.files.GetFileSize(file, nullptr);
  platform::FileTime written = 0;
  if (l.os.files.GetFileTime(file, &written)) (void)l.os.files.FileTimeToSystemTime(written, &stamp.time);
  CloseAndDestroyHandle(l, file, label);
  return stamp;
}

// Every entry of `folder` + "*.*" other than "." and "..", by its name.
template <class Visit>
void ForEachEntry(Launcher& l, const PathBuffer& folder, Visit visit) {
  PathBuffer pattern;
  if (!pattern.format("%s*.*", folder.c_str())) return;
  platform::FindData entry;
  const platform::Handle search = l.os.files.FindFirstFile(pattern.view(), &entry);
  if (search == platform::kInvalidHandle) return;
  do {
    if (entry.name != "." && entry.name != "..") visit(entry.name);
  } while (l.os.files.FindNextFile(search, &entry));
  l.os.files.FindClose(search);
}

}  // namespace

std::span<const char* const> CachedFileNames() { return kCachedFiles; }

bool OnWindowsDrive(const Launcher& l) {
  return !l.folders.WinDir.empty() && !l.folders.CurrDir.empty() &&
         l.folders.WinDir.c_str()[0] == l.folders.CurrDir.c_str()[0];
}

void CheckToInstallDifferentFile(Launcher& l, std::string_view source, std::string_view target) {
  const std::string from(source);
  const std::string to(target);
  platform::Handle installed = OpenForReading(l, target);
  DebugLogLevel(l, kDeveloperLevel, "CheckToInstallDifferentFile: Obtained file handle: InstallHandle=%p",
                reinterpret_cast<void*>(installed));
  if (installed != platform::kInvalidHandle) {
    const FileStamp target_stamp = StampAndClose(l, installed, "InstallHandle");
    platform::Handle current = OpenForReading(l, source);
    DebugLogLevel(l, kDeveloperLevel, "CheckToInstallDifferentFile: Obtained file handle: CurrentHandle=%p",
                  reinterpret_cast<void*>(current));
    if (current == platform::kInvalidHandle) return;
    if (SameStamp(StampAndClose(l, current, "CurrentHandle"), target_stamp)) return;
    (void)l.os.files.DeleteFile(target);
  }
  DebugLog(l, "InstallFileName: Copying \"%s\" to \"%s\"", from.c_str(), to.c_str());
  if (!l.os.files.CopyFile(source, target, false))
    ErrorLog(l, "InstallFileName: Failed to copy \"%s\" to \"%s\"", from.c_str(), to.c_str());
}

void TouchFile(Launcher& l, std::string_view path) {
  platform::Handle file = OpenForReading(l, path);
  DebugLogLevel(l, kDeveloperLevel, "TouchFile: Obtained file handle: %p", reinterpret_cast<void*>(file));
  if (file != platform::kInvalidHandle) (void)StampAndClose(l, file, "CurrentHandle");
}

bool InstallTSystemFiles(Launcher& l) {
  if (OnWindowsDrive(l)) return false;
  PathBuffer cache;
  cache.format_cut("%s_tcache1", l.folders.TCacheParentDir.c_str());
  if (!DirectoryExists(l, cache.view())) {
    DebugLogText(l, "InstallTSystemFiles: Creating cache folder...");
    (void)l.os.files.CreateDirectory(cache.view());
  }
  for (const char* name : kCachedFiles) {
    PathBuffer source;
    PathBuffer target;
    if (!source.format("%s%s", l.folders.CurrDir.c_str(), name) ||
        !target.format("%s_tcache1\\%s", l.folders.TCacheParentDir.c_str(), name))
      continue;  // a cut path would name another file
    CheckToInstallDifferentFile(l, source.view(), target.view());
  }
  return true;
}

void InstallTPEFiles(Launcher& l) {
  if (OnWindowsDrive(l)) return;
  PathBuffer tpe_cache;
  PathBuffer tpe_source;
  tpe_cache.format_cut("%s_tcache1\\tpe", l.folders.TCacheParentDir.c_str());
  if (!tpe_source.format("%stpe\\", l.folders.CurrDir.c_str())) return;
  if (!DirectoryExists(l, tpe_cache.view())) {
    DebugLogText(l, "InstallTSystemFiles: Creating TPE cache folder...");
    (void)l.os.files.CreateDirectory(tpe_cache.view());
  }
  ForEachEntry(l, tpe_source, [&](const std::string& name) {
    PathBuffer source;
    PathBuffer target;
    if (!source.format("%s%s", tpe_source.c_str(), name.c_str()) ||
        !target.format("%s_tcache1\\tpe\\%s", l.folders.TCacheParentDir.c_str(), name.c_str()))
      return;
    CheckToInstallDifferentFile(l, source.view(), target.view());
  });
}

void TouchTSystemFiles(Launcher& l) {
  for (const char* name : kCachedFiles) {
    PathBuffer path;
    if (path.format("%s%s", l.folders.CurrDir.c_str(), name)) TouchFile(l, path.view());
  }
}

void TouchTPEFiles(Launcher& l) {
  PathBuffer tpe_source;
  if (!tpe_source.format("%stpe\\", l.folders.CurrDir.c_str())) return;
  ForEachEntry(l, tpe_source, [&](const std::string& name) {
    PathBuffer path;
    if (path.format("%s%s", tpe_source.c_str(), name.c_str())) TouchFile(l, path.view());
  });
}
