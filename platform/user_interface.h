// What the user sees: message boxes, the launcher's dialogs and its string table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

// Message box styles and answers.
inline constexpr std::uint32_t kMbOk = 0x00000000;
inline constexpr std::uint32_t kMbIconHand = 0x00000010;
inline constexpr std::uint32_t kMbSetForeground = 0x00010000;
inline constexpr std::uint32_t kMbTopmost = 0x00040000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// The launcher's dialog resources.
enum class Dialog { Splash, Verify };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // MessageBoxA: the button pressed, or 0 when the box could not be shown.
  virtual int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                         std::uint32_t style) = 0;

  // CreateDialogParamA of a modeless dialog without owner; kNoWindow on failure.
  virtual WindowHandle CreateDialogParam(Dialog dialog) = 0;

  // SetWindowTextA.
  virtual void SetWindowText(WindowHandle window, std::string_view text) = 0;

  // ShowWindow.
  virtual void ShowWindow(WindowHandle window, int show_command) = 0;

  // SetDlgItemTextA.
  virtual void SetDlgItemText(WindowHandle window, int item, std::string_view text) = 0;

  // DestroyWindow.
  virtual void DestroyWindow(WindowHandle window) = 0;

  // The status window's main line changed: repaint it at once.
  virtual void RepaintStatus(WindowHandle window, std::string_view status_text) = 0;

  // The second line changed (and the progress bar, for a percent above 0).
  virtual void RepaintSubStatus(WindowHandle window, std::string_view sub_status_text,
                                int percent) = 0;

  // LoadStringA from the launcher's string table; false when the entry is missing.
  virtual bool LoadString(std::uint32_t id, std::string* text) = 0;
};

}  // namespace platform
