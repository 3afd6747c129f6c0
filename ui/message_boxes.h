// The launcher's two shared error boxes.
#pragma once

#include "base/printf_format.h"
#include "platform/user_interface.h"

struct Launcher;

namespace message_box_detail {
void ShowErrorDialog(Launcher& l, const char* format, ...);
void ShowErrorDialogOwnedBy(Launcher& l, platform::WindowHandle owner, const char* format, ...);
}  // namespace message_box_detail

// The error box with a formatted message; also an error record of the run.
template <class... Args>
void ShowErrorDialog(Launcher& l, FormatFor<Args...> format, Args... args) {
  message_box_detail::ShowErrorDialog(l, format.c_str(), args...);
}
// The same box owned by `owner` instead of the status window: a modal dialog that
// shows an error keeps the user from pressing its buttons while the box is up.
template <class... Args>
void ShowErrorDialogOwnedBy(Launcher& l, platform::WindowHandle owner, FormatFor<Args...> format,
                            Args... args) {
  message_box_detail::ShowErrorDialogOwnedBy(l, owner, format.c_str(), args...);
}

// The box shown before the launcher ends after a critical error.
void ShowCriticalErrorBox(Launcher& l);
