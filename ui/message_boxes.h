// The launcher's two shared error boxes.
#pragma once

#include "base/printf_format.h"
#include "platform/user_interface.h"

struct Launcher;

namespace message_box_detail {
void ShowErrorDialog(Launcher& l, const char* format, ...);
}  // namespace message_box_detail

// The error box with a formatted message; also an error record of the run.
template <class... Args>
void ShowErrorDialog(Launcher& l, FormatFor<Args...> format, Args... args) {
  message_box_detail::ShowErrorDialog(l, format.c_str(), args...);
}

// The box shown before the launcher ends after a critical error.
void ShowCriticalErrorBox(Launcher& l);
