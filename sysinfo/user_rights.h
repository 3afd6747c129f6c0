// The rights of the user behind the launcher, as the user part of the system
// information object learns them.
#pragma once

#include <cstdint>

struct Launcher;

// The user belongs to the built-in Administrators group, whether or not the process
// runs elevated: under UAC's filtered token the full, linked token is tested. Raises
// TokenQueryFailure when the token cannot be queried.
bool IsUserLocalAdmin(Launcher& l);

// UAC's state from EnableLUA: 1 enabled, 0 disabled (also when the value is
// missing), -1 unknown (the key or the value cannot be read).
int IsUACEnabled(Launcher& l);

// TokenElevation of the process token. Raises TokenQueryFailure.
bool IsProcessElevated(Launcher& l);

// The token as it runs now is a member of Administrators. Raises TokenQueryFailure.
bool IsAdminInvoked(Launcher& l);

// The relative id of the process token's mandatory label. Raises TokenQueryFailure.
std::uint32_t ProcessIntegrityLevel(Launcher& l);
