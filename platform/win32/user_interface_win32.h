// Windows side: message boxes, the launcher's dialogs and its string table.
//
// The status window is a modeless dialog without a message loop: it is painted
// only when a status change repaints it synchronously or when a message box's loop
// delivers its paint messages, so it paints the last texts it was given from here.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

#include "platform/user_interface.h"

namespace win32 {

class Win32UserInterface final : public platform::UserInterface {
 public:
  explicit Win32UserInterface(HINSTANCE module) : module_(module) {}
  Win32UserInterface(const Win32UserInterface&) = delete;
  Win32UserInterface& operator=(const Win32UserInterface&) = delete;

  int MessageBox(platform::WindowHandle owner, std::string_view text, std::string_view caption,
                 std::uint32_t style) override;
  platform::WindowHandle CreateDialogParam(platform::Dialog dialog) override;
  void SetWindowText(platform::WindowHandle window, std::string_view text) override;
  void ShowWindow(platform::WindowHandle window, int show_command) override;
  void SetDlgItemText(platform::WindowHandle window, int item, std::string_view text) override;
  void DestroyWindow(platform::WindowHandle window) override;
  void RepaintStatus(platform::WindowHandle window, std::string_view status_text) override;
  void RepaintSubStatus(platform::WindowHandle window, std::string_view sub_status_text,
                        int percent) override;
  bool LoadString(std::uint32_t id, std::string* text) override;

 private:
  static INT_PTR CALLBACK SplashDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                           LPARAM lparam);
  static INT_PTR CALLBACK VerifyDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                           LPARAM lparam);
  void PaintSplash(HWND dialog) const;

  HINSTANCE module_;
  std::string status_text_;
  std::string sub_status_text_;
};

}  // namespace win32
