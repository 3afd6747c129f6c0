// The status window's two lines of text. Without a window the texts are only kept
// and logged, so a silent run's debug log holds the same sequence.
#pragma once

#include <string_view>

struct Launcher;

void UpdateStatus(Launcher& l, std::string_view text);
void UpdateSubStatus(Launcher& l, std::string_view text, int percent);
void DisposeStatusWindow(Launcher& l);
