// Simulated workstation: what the user would see, recorded in ui.log.
#include "platform/sim/sim_user_interface.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "platform/sim/text_util.h"
#include "platform/resource_ids.h"

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

// Window sizes in pixels: the splash dialog's 366 x 172 and the replace-mode
// dialog's 235 x 61 dialog units in 8-point MS Sans Serif at 96 dots per inch, the
// latter with its caption and frame.
constexpr int kSplashWidth = 550;
constexpr int kSplashHeight = 280;
constexpr int kVerifyWidth = 359;
constexpr int kVerifyHeight = 130;

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

platform::WindowHandle SimUserInterface::CreateDialogParam(platform::Dialog dialog,
                                                          platform::DialogProcedure procedure,
                                                          void* context) {
  if (s_.Fails("CreateDialogParam")) return platform::kNoWindow;
  Window window;
  if (dialog == platform::Dialog::Splash) {
    window.resource = "DOVRELPV_SPLASH";
    window.place = {0, 0, kSplashWidth, kSplashHeight};
  } else {
    window.resource = "VERIFYDIALOG";
    window.title = "Portavel";
    window.place = {0, 0, kVerifyWidth, kVerifyHeight};
  }
  window.procedure = procedure;
  window.context = context;
  const platform::WindowHandle handle = NewWindow(std::move(window));
  // As on Windows, the procedure starts the dialog before the creation returns.
  if (procedure != nullptr) procedure(context, handle, platform::kWmInitDialog);
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
  if (!found->second.resource.empty()) s_.ui_log.Append("CLOSE " + found->second.resource);
  windows_.erase(found);
  // Its child controls go with it.
  std::erase_if(windows_, [window](const auto& entry) { return entry.second.parent == window; });
}

void SimUserInterface::RepaintStatus(platform::WindowHandle window, std::string_view status_text) {
  if (!windows_.count(window)) return;
  s_.ui_log.Append("STATUS " + Quoted(status_text));
  Paint(window);
}

void SimUserInterface::RepaintSubStatus(platform::WindowHandle window,
                                        platform::WindowHandle progress_bar,
                                        std::string_view sub_status_text, int percent) {
  if (!windows_.count(window)) return;
  s_.ui_log.Append("SUBSTATUS " + std::to_string(percent) + " " + Quoted(sub_status_text));
  auto bar = windows_.find(progress_bar);
  // PBM_SETPOS keeps the position within the bar's range of 0 to 100.
  if (percent > 0 && bar != windows_.end()) bar->second.progress = std::min(percent, 100);
  Paint(window);
}

platform::WindowHandle SimUserInterface::NewWindow(Window window) {
  const platform::WindowHandle handle = next_window_;
  next_window_ += 0x10;
  windows_.emplace(handle, std::move(window));
  return handle;
}

void SimUserInterface::Paint(platform::WindowHandle window) {
  auto found = windows_.find(window);
  if (found == windows_.end() || found->second.procedure == nullptr) return;
  found->second.procedure(found->second.context, window, platform::kWmPaint);
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

std::intptr_t SimUserInterface::DialogBoxParam(platform::WindowHandle,
                                              platform::ElevationDialogButtons& buttons) {
  if (s_.Fails("DialogBoxParam")) return -1;
  const platform::WindowHandle dialog = next_window_;
  next_window_ += 0x10;
  if (EqualsIgnoreCase(s_.machine.ui.elevation_dialog, "elevate")) {
    s_.ui_log.Append("ELEVATE answer=elevate");
    if (buttons.Elevate(dialog)) return 1;
    // The restart failed and the dialog stayed open: the user gives up.
  }
  s_.ui_log.Append("ELEVATE answer=cancel");
  buttons.Cancel();
  return 2;
}

}  // namespace sim
