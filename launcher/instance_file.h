// The instance file instance.t1: a description of the run, the machine and the user
// that the product reads instead of the legacy command line.
#pragma once

#include <string_view>

#include "base/fixed_string.h"

struct Launcher;

// Writes the file beside the copy of the product that is started: in the cache
// folder with `cache_flag`, otherwise in the launcher's folder. True with the file's
// path in `path`; false (reported, `path` untouched) when it could not be created.
bool CreateT1File(Launcher& l, bool cache_flag, std::string_view command_line, PathBuffer& path);
