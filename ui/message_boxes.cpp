// The launcher's two shared error boxes. Caption and fixed lines come from the
// string table, so that they can be translated without touching the code.
#include "ui/message_boxes.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "diag/log.h"
#include "base/launcher.h"
#include "platform/user_interface.h"
#include "platform/resource_ids.h"

namespace {

// A string-table entry in a buffer of `N` characters; empty when it cannot be loaded.
template <std::size_t N>
FixedString<N> LoadEntry(Launcher& l, std::uint32_t id) {
  FixedString<N> entry;
  std::string text;
  if (l.os.ui.LoadString(id, &text)) entry.assign_cut(text);
  return entry;
}

// A block of the process heap holding a formatted message, released when it goes
// out of scope; empty when the size is 0 or the heap has no room.
class HeapText {
 public:
  HeapText(platform::System& system, std::size_t size)
      : system_(system), block_(size == 0 ? nullptr : static_cast<char*>(system.HeapAlloc(size))) {}
  HeapText(const HeapText&) = delete;
  HeapText& operator=(const HeapText&) = delete;
  ~HeapText() {
    if (block_ != nullptr) system_.HeapFree(block_);
  }
  char* get() const { return block_; }

 private:
  platform::System& system_;
  char* block_;
};

}  // namespace

void message_box_detail::ShowErrorDialog(Launcher& l, const char* format, ...) {
  va_list args;
  va_start(args, format);
  auto caption = LoadEntry<64>(l, IDS_ERROR_CAPTION);
  auto first_line = LoadEntry<64>(l, IDS_ERROR_HEADING);

  // The box text is cut at 2,047 characters; the record keeps the whole message.
  MessageBuffer text;
  {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    // Exactly the message and its terminator, zero-filled, from the process heap.
    HeapText message(l.os.system, length < 0 ? 0 : static_cast<std::size_t>(length) + 1);
    if (message.get() != nullptr)
      std::vsnprintf(message.get(), static_cast<std::size_t>(length) + 1, format, args);
    va_end(args);
    if (message.get() == nullptr) return;  // no memory for the message: no box, no record

    text.format_cut("%s\n\n%s", first_line.c_str(), message.get());
    ErrorLog(l, "Error Dialog: %s; %s", first_line.c_str(), message.get());
  }
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
