// The FileAccess values of pv_main.ini beside the launcher.
#pragma once

#include <string_view>

#include "base/fixed_string.h"

struct Launcher;

// "%spv_main.ini" with CurrDir; false when the path does not fit.
bool SettingsFilePath(Launcher& l, PathBuffer& path);

// The value of `key` in section FileAccess, "TRUE" when the file, section or key is
// missing or `settings_file` is empty; read into a buffer of 10 characters.
FixedString<10> ReadFileAccessValue(Launcher& l, const PathBuffer& settings_file, std::string_view key);

// The configuration step's part: the settings file's path, recorded, and its RunLocal
// value; "TRUE", an error record and an empty path when the path does not fit.
FixedString<10> ReadRunLocal(Launcher& l, PathBuffer& settings_file);

// Compared with "TRUE" case-insensitively; anything else, empty included, is not TRUE.
bool IsTrue(std::string_view value);
