// Whether a step that needs administrator rights may go on, decided from the rights
// facts of the run alone.
#pragma once

struct ElevationFacts {
  bool win7_or_newer = false;  // false also when the system facts could not be loaded
  bool uac_enabled = false;
  bool process_elevated = false;
  bool admin_invoked = false;
  bool elevation_denied = false;  // the user declined elevation earlier in the run
};

enum class ElevationAnswer { Allow, Refuse, AskUser };

struct ElevationDecision {
  const char* record;  // the debug record, or null for none
  ElevationAnswer answer;
};

// The first rule of the table that matches `facts`; never null.
const ElevationDecision& DecideElevation(const ElevationFacts& facts);
