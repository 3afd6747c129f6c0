// The product's executable path and command line, and the verdict of the start.
#pragma once

#include "launcher/fixed_string.h"

struct Launcher;

struct ProductLaunch {
  PathBuffer path;
  PathBuffer engine_arguments;
  PathBuffer command_line;
};

// The product in the cache copy (`cache_flag`) or beside the launcher, and the legacy
// command line: the launcher's path, one space, the engine commands joined with
// spaces. False, with an error record, when a part does not fit in 259 characters:
// the product is then not started rather than started with a command line cut short.
bool BuildProductLaunch(Launcher& l, bool cache_flag, ProductLaunch& launch);

// The closing record of a standard start, counting the run's error records.
void WriteVerdict(Launcher& l, bool launched);
