// The product's executable path and command line, and the verdict of the start.
#pragma once

#include <string_view>

#include "base/fixed_string.h"

struct Launcher;

struct ProductLaunch {
  PathBuffer path;
  PathBuffer engine_arguments;
  PathBuffer instance_file;
  PathBuffer command_line;
};

// The product in the cache copy (`cache_flag`) or beside the launcher, and its
// command line: with -i and an instance file written, the file's path in quotes,
// one space, the engine commands joined with spaces; otherwise the legacy form, the
// launcher's path instead of the quoted one. `command_line` is the launcher's own as
// the instance file records it. False, with an error record, when a part does not
// fit in 259 characters: the product is then not started rather than started with
// a command line cut short.
bool BuildProductLaunch(Launcher& l, bool cache_flag, std::string_view command_line, ProductLaunch& launch);

// The closing record of a standard start, counting the run's error records.
void WriteVerdict(Launcher& l, bool launched);
