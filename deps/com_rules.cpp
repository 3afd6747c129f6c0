// The machine-free decisions about COM libraries.
#include "deps/com_rules.h"

#include <array>

bool IsNewerVersion(const LibraryVersion& source, const LibraryVersion& installed) {
  const std::array<std::int32_t, 4> s{source.Major, source.Minor, source.Build, source.Revision};
  const std::array<std::int32_t, 4> i{installed.Major, installed.Minor, installed.Build, installed.Revision};
  return s > i;
}

RegistrationOutcome InterpretInstCOMExit(Registration use, std::int32_t exit_code) {
  const bool unregister = use == Registration::Unregister;
  switch (exit_code) {
    case 0:
      return {unregister ? "InstallComponent: InstCOM: Assembly un-registered successfully."
                         : "InstallComponent: InstCOM: Assembly registered successfully.",
              false};
    case 100: return {"InstallComponent: InstCOM: ERROR!!! Target file is invalid.", true};
    case 200: return {"InstallComponent: InstCOM: ERROR!!! Target file does not exist.", true};
    case 300: return {"InstallComponent: InstCOM: ERROR!!! Failed to load assembly.", true};
    case 400:
    case 500:
      // The registering text has always lacked its space; operators search for it so.
      return {unregister ? "InstallComponent: InstCOM: ERROR!!! Failed to [un]register assembly."
                         : "InstallComponent: InstCOM: ERROR!!! Failed to[un]register assembly.",
              true};
    default: return {nullptr, false};
  }
}
