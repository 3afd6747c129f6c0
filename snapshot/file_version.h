// The four numbers of a file's version resource.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace snapshot {

// "a.b.c.d", or empty when the file has no version resource.
std::string FileVersion(platform::FileSystem& files, std::string_view path);

}  // namespace snapshot
