// The two existence tests. Both write developer records, so that the debug log shows
// every file-system question and its answer.
#pragma once

#include <string_view>

struct Launcher;

// True when something exists under the path (a file, a folder, or a name with
// wildcards that matches something), asked with WOW64 redirection off.
bool FileExist(Launcher& l, std::string_view path);

// True when the path names an existing folder (with redirection as it stands).
// Every call pauses 100 ms.
bool DirectoryExists(Launcher& l, std::string_view path);
