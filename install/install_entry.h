// Installing one archive record: deciding by its install rule whether the file at the
// destination is to be replaced, and copying the record's bytes there.
#pragma once

#include <cstdint>
#include <string_view>

#include "install/tab_file.h"

struct Launcher;

// Upgrade mode: 1 when the file is up to date or was installed, 0 on failure. The
// old file is deleted before the copy, so a failed copy leaves no file and the next
// run installs it again.
int CheckToInstallEntry(Launcher& l, const TABFileRecord& record, std::string_view destination,
                        const TABHandle& tHnd, std::uint32_t install_type);

// Copies the record's bytes to `destination` in 4,096-byte blocks (replacing a file
// there) and stamps the record's time on it: 1 when the file was written, 0 on failure,
// when no partly written file is left.
int InstallEntry(Launcher& l, const TABFileRecord& record, std::string_view destination,
                 const TABHandle& tHnd);
