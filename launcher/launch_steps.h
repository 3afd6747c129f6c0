// What every step of a mode does before its work: show its text and progress, and
// pause so that the user can read it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/processes.h"
#include "platform/user_interface.h"

struct Launcher;

// The step's second status line and percent, then the pause.
void ShowStep(Launcher& l, std::string_view text, int percent, std::uint32_t pause_ms);

// The modeless splash or replace dialog as the status window, titled and shown.
void OpenStatusWindow(Launcher& l, platform::Dialog dialog, std::string_view title);

inline constexpr std::uint32_t kShortPause = 300;
inline constexpr std::uint32_t kLongPause = 500;
inline constexpr std::uint32_t kVerdictPause = 1000;
