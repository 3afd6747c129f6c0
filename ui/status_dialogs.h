// The dialogs that serve as the status window: the splash dialog DOVRELPV_SPLASH of
// the standard start and the preload, and the replace-mode window VERIFYDIALOG.
#pragma once

#include <cstdint>

#include "platform/user_interface.h"

struct Launcher;

// Creates the modeless dialog, without owner, run by its dialog procedure below.
platform::WindowHandle CreateStatusDialog(Launcher& l, platform::Dialog dialog);

// Centres a window on the primary screen.
void CenterWindow(Launcher& l, platform::WindowHandle window);

// Where a window of `width` x `height` starts when centred on a screen of
// `screen_width` x `screen_height`: each half is an integer division.
struct Origin {
  int x = 0;
  int y = 0;
};
Origin CenteredOrigin(int screen_width, int screen_height, int width, int height);

// DOVRELPV_SPLASH: centres itself and creates its progress bar when it starts, and
// paints the background and the three lines of text.
std::intptr_t SplashDialogProc(Launcher& l, platform::WindowHandle dialog, std::uint32_t message);

// VERIFYDIALOG shows its fixed line and leaves every message to the dialog manager.
std::intptr_t VerifyDialogProc(Launcher& l, platform::WindowHandle dialog, std::uint32_t message);
