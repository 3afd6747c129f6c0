// The legacy settings files copied from the Windows folder to the cache parent folder.
#include "config/config_files.h"

#include "base/launcher.h"
#include "base/text_case.h"
#include "diag/log.h"

namespace {

constexpr std::uint32_t kRelocationPause = 150;

// "<folder>\<name>" in a path buffer, without doubling the folder's own backslash.
PathBuffer Join(const PathBuffer& folder, std::string_view name) {
  PathBuffer path;
  path.assign_cut(folder.view());
  if (path.back() != '\\') path.append_cut("\\");
  path.append_cut(name);
  return path;
}

bool Exists(Launcher& l, const PathBuffer& path) {
  const platform::Handle search = l.os.files.FindFirstFile(path.view());
  if (search == platform::kInvalidHandle) return false;
  l.os.files.FindClose(search);
  return true;
}

}  // namespace

// A Windows folder that could not be found is empty, and so found in every folder: the
// cache parent is then never touched.
bool IsCacheParentDefaulted(const Launcher& l) {
  return l.folders.TCacheParentDir.view().find(l.folders.WinDir.view()) != std::string_view::npos;
}

bool RelocateConfigFile(Launcher& l, std::string_view name) {
  const PathBuffer source = Join(l.folders.WinDir, name);
  const PathBuffer destination = Join(l.folders.TCacheParentDir, name);
  bool copied = true;
  if (!Exists(l, destination) && Exists(l, source) &&
      !l.os.files.CopyFile(source.view(), destination.view(), false)) {
    PathBuffer upper;
    for (char c : destination.view()) {
      const char letter = ToUpperAscii(c);
      upper.append_cut(std::string_view(&letter, 1));
    }
    ErrorLog(l, "File Relocation: Failed to copy %s\n", upper.c_str());
    copied = false;
  }
  l.os.system.Sleep(kRelocationPause);
  return copied;
}

void RelocateConfigFiles(Launcher& l) {
  for (std::string_view name : kLegacySettingsFiles) RelocateConfigFile(l, name);
}
