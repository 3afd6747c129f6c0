// Whether Everyone, or the user who started the launcher, holds full access under a
// security descriptor, asked of Windows' authorization interface (Authz).
#pragma once

struct Launcher;

// The values are those of the records.
enum class RightsCheckResult : int { False = 0, True = 1, Error = 2 };

RightsCheckResult CheckEveryoneRightsInRegistry(Launcher& l, const void* descriptor);
RightsCheckResult CheckEveryoneRightsInFile(Launcher& l, const void* descriptor);
RightsCheckResult CheckInvokerRightsInFile(Launcher& l, const void* descriptor);
