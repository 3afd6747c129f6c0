// The decisions about COM libraries that need no machine: which version is newer and
// what an exit code of the registration utility means.
#pragma once

#include <cstdint>

#include "base/library_version.h"

// True when `source` has the greater version, compared number by number from the
// major one, the first difference deciding; equal versions are not newer.
bool IsNewerVersion(const LibraryVersion& source, const LibraryVersion& installed);

enum class Registration { Register, Unregister };

// The record of a registration utility's exit code: its text and whether it is an
// error (the component then fails). Null text: success without a record.
struct RegistrationOutcome {
  const char* text;
  bool error;
};
RegistrationOutcome InterpretInstCOMExit(Registration use, std::int32_t exit_code);
