// The launcher's two shared error boxes. Caption and fixed lines come from the
// string table, so that they can be translated without touching the code.
#include "ui/message_boxes.h"

#include <cstdio>
#include <string>

#include "diag/log.h"
#include "launcher/launcher.h"
#include "platform/user_interface.h"
#include "ui/resource_ids.h"

namespace {

// A string-table entry in a buffer of `N` characters; empty when it cannot be loaded.
template <std::size_t N>
FixedString<N> LoadEntry(Launcher& l, std::uint32_t id) {
  FixedString<N> entry;
  std::string text;
  if (l.os.ui.LoadString(id, &text)) entry.assign_cut(text);
  return entry;
}

}  // namespace

void ShowErrorDialog(Launcher& l, const char* format, ...) {
  auto caption = LoadEntry<64>(l, IDS_ERROR_CAPTION);
  auto first_line = LoadEntry<64>(l, IDS_ERROR_HEADING);

  std::string message;
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length >= 0) {
    try {
      message.resize(static_cast<std::size_t>(length) + 1);
      std::vsnprintf(message.data(), message.size(), format, args);
      message.pop_back();
    } catch (const std::bad_alloc&) {
      length = -1;
    }
  }
  va_end(args);
  if (length < 0) return;  // no memory for the message: no box, no record

  // The box text is cut at 2,047 characters; the record below keeps the whole message.
  MessageBuffer text;
  text.format_cut("%s\n\n%s", first_line.c_str(), message.c_str());
  ErrorLog(l, "Error Dialog: %s; %s", first_line.c_str(), message.c_str());
  l.os.ui.MessageBox(l.run.StatusWindow, text.view(), caption.view(),
                     platform::kMbIconHand | platform::kMbSetForeground | platform::kMbTopmost);
}

void ShowCriticalErrorBox(Launcher& l) {
  auto caption = LoadEntry<64>(l, IDS_ERROR_CAPTION);
  auto first_line = LoadEntry<64>(l, IDS_ERROR_HEADING);
  auto body = LoadEntry<160>(l, IDS_CRITICAL_FAILURE);
  FixedString<255> text;
  text.format_cut("%s\n\n%s", first_line.c_str(), body.c_str());
  l.os.ui.MessageBox(l.run.StatusWindow, text.view(), caption.view(),
                     platform::kMbIconHand | platform::kMbSetForeground);
}
