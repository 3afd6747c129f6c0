// The install rules of the upgrade mode: whether a record's file is to be installed
// over what the destination holds. Times are compared as UTC calendar fields from the
// year down to the minute; seconds never count.
#pragma once

#include <cstdint>
#include <optional>

#include "install/tab_file.h"
#include "platform/files.h"

// The file installed at the destination: its last-write time in UTC and its size.
struct InstalledFile {
  platform::SystemTime time;
  std::uint32_t size = 0;
};

// The rule's name as the debug log shows it ("INSTALL_NEWER"), or null for a value
// that is no install rule (such a record is never installed).
const char* InstallRuleName(std::uint32_t rule);

// Whether `rule` installs a record of `time` and `size` over `installed` (nothing:
// no file there).
bool RuleInstalls(std::uint32_t rule, const std::optional<InstalledFile>& installed,
                  const TABFileTime& time, std::uint32_t size);
