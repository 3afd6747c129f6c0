// Simulated workstation: what the user would see, recorded in ui.log.
#include "platform/sim/sim_user_interface.h"

#include <array>
#include <cstdio>

#include "platform/sim/text_util.h"
#include "ui/resource_ids.h"

namespace sim {
namespace {

struct Button {
  std::string_view name;
  int id;
};
constexpr std::array kButtons = {
    Button{"ok", 1},    Button{"cancel", 2}, Button{"abort", 3}, Button{"retry", 4},
    Button{"ignore", 5}, Button{"yes", 6},   Button{"no", 7},
};

struct StringEntry {
  std::uint32_t id;
  std::string_view text;
};
constexpr std::array kStringTable = {
    StringEntry{IDS_ELEVATION_PROMPT, TEXT_ELEVATION_PROMPT},
    StringEntry{IDS_ERROR_CAPTION, TEXT_ERROR_CAPTION},
    StringEntry{IDS_ERROR_HEADING, TEXT_ERROR_HEADING},
    StringEntry{IDS_CRITICAL_FAILURE, TEXT_CRITICAL_FAILURE},
};

}  // namespace

int SimUserInterface::MessageBox(platform::WindowHandle, std::string_view text,
                                 std::string_view caption, std::uint32_t style) {
  if (s_.Fails("MessageBox")) return 0;
  int answer = 1;
  std::string_view answer_name = "ok";
  for (const auto& button : kButtons)
    if (EqualsIgnoreCase(button.name, s_.machine.ui.message_box)) {
      answer = button.id;
      answer_name = button.name;
    }
  char style_text[16];
  std::snprintf(style_text, sizeof style_text, "0x%08x", style);
  s_.ui_log.Append("MESSAGEBOX caption=" + Quoted(caption) + " style=" + style_text +
                   " text=" + Quoted(text) + " answer=" + std::string(answer_name));
  return answer;
}

platform::WindowHandle SimUserInterface::CreateDialogParam(platform::Dialog dialog) {
  if (s_.Fails("CreateDialogParam")) return platform::kNoWindow;
  platform::WindowHandle handle = next_window_;
  next_window_ += 0x10;
  windows_[handle] = Window{dialog == platform::Dialog::Splash ? "DOVRELPV_SPLASH" : "VERIFYDIALOG",
                            dialog == platform::Dialog::Verify ? "Portavel" : "", false};
  return handle;
}

void SimUserInterface::SetWindowText(platform::WindowHandle window, std::string_view text) {
  auto found = windows_.find(window);
  if (found != windows_.end()) found->second.title = text;
}

void SimUserInterface::ShowWindow(platform::WindowHandle window, int show_command) {
  auto found = windows_.find(window);
  if (found == windows_.end() || show_command == 0 || found->second.shown) return;
  found->second.shown = true;
  s_.ui_log.Append("DIALOG " + found->second.resource + " title=" + Quoted(found->second.title));
}

void SimUserInterface::SetDlgItemText(platform::WindowHandle, int, std::string_view) {}

void SimUserInterface::DestroyWindow(platform::WindowHandle window) {
  auto found = windows_.find(window);
  if (found == windows_.end()) return;
  s_.ui_log.Append("CLOSE " + found->second.resource);
  windows_.erase(found);
}

void SimUserInterface::RepaintStatus(platform::WindowHandle window, std::string_view status_text) {
  if (windows_.count(window)) s_.ui_log.Append("STATUS " + Quoted(status_text));
}

void SimUserInterface::RepaintSubStatus(platform::WindowHandle window,
                                        std::string_view sub_status_text, int percent) {
  if (windows_.count(window))
    s_.ui_log.Append("SUBSTATUS " + std::to_string(percent) + " " + Quoted(sub_status_text));
}

bool SimUserInterface::LoadString(std::uint32_t id, std::string* text) {
  if (s_.Fails("LoadString")) return false;
  for (const auto& entry : kStringTable)
    if (entry.id == id) {
      *text = entry.text;
      return true;
    }
  s_.last_error = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND
  return false;
}

}  // namespace sim
