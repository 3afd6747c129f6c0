// The status window: a borderless splash dialog with a background picture, a main
// status line in a large font, a second line in a small font, the launcher's
// copyright line and a progress bar. There is no message loop: the window is
// repainted synchronously after every text change. Without a window the texts are
// only kept and logged, so a silent run's debug log holds the same sequence.
#pragma once

#include <string_view>

struct Launcher;

// Set-up during Initialize: the two fonts, the three text rectangles and the
// background bitmap; no window yet. Nothing is checked: whatever cannot be created
// stays empty and the painting does less.
void InitStatusWindow(Launcher& l);

void UpdateStatus(Launcher& l, std::string_view text);

// A percent of 0 leaves the progress bar where it is.
void UpdateSubStatus(Launcher& l, std::string_view text, int percent);

// Destroys the window, if there is one, and deletes the small font; the large font
// and the bitmap go with the process.
void DisposeStatusWindow(Launcher& l);
