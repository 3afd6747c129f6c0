// The FileAccess values of pv_main.ini beside the launcher.
#include "launcher/settings_file.h"

#include <cctype>

#include "diag/log.h"
#include "base/launcher.h"

bool SettingsFilePath(Launcher& l, PathBuffer& path) {
  return path.format("%spv_main.ini", l.folders.CurrDir.c_str());
}

FixedString<10> ReadFileAccessValue(Launcher& l, const PathBuffer& settings_file, std::string_view key) {
  FixedString<10> value;
  // Without a path (it did not fit) the file is not read: the default stands.
  if (settings_file.empty()) {
    (void)value.assign("TRUE");
    return value;
  }
  value.assign_cut(l.os.files.GetPrivateProfileString("FileAccess", key, "TRUE", settings_file.view(),
                                                      10));
  return value;
}

FixedString<10> ReadRunLocal(Launcher& l, PathBuffer& settings_file) {
  FixedString<10> run_local;
  (void)run_local.assign("TRUE");
  if (!SettingsFilePath(l, settings_file)) {
    ErrorLog(l, "WinMain: The path of pv_main.ini in \"%s\" is too long; its values are taken as TRUE.",
             l.folders.CurrDir.c_str());
    return run_local;
  }
  run_local = ReadFileAccessValue(l, settings_file, "RunLocal");
  DebugLog(l, "WinMain: Variable 'PVMainFile' set to \"%s\".", settings_file.c_str());
  return run_local;
}

bool IsTrue(std::string_view value) {
  constexpr std::string_view kTrue = "TRUE";
  if (value.size() != kTrue.size()) return false;
  for (std::size_t i = 0; i < value.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(value[i])) != kTrue[i]) return false;
  return true;
}
