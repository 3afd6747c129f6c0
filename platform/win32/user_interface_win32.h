// Windows side: message boxes, the launcher's dialogs and its string table.
//
// The status window is a modeless dialog without a message loop: it is painted
// only when a status change repaints it synchronously or when a message box's loop
// delivers its paint messages; the launcher's own dialog procedure decides what it
// shows.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/user_interface.h"

namespace win32 {

class Win32UserInterface final : public platform::UserInterface {
 public:
  explicit Win32UserInterface(HINSTANCE module) : module_(module) {}
  Win32UserInterface(const Win32UserInterface&) = delete;
  Win32UserInterface& operator=(const Win32UserInterface&) = delete;

  int MessageBox(platform::WindowHandle owner, std::string_view text, std::string_view caption,
                 std::uint32_t style) override;
  platform::WindowHandle CreateDialogParam(platform::Dialog dialog,
                                           platform::DialogProcedure procedure,
                                           void* context) override;
  void SetWindowText(platform::WindowHandle window, std::string_view text) override;
  void ShowWindow(platform::WindowHandle window, int show_command) override;
  void SetDlgItemText(platform::WindowHandle window, int item, std::string_view text) override;
  void DestroyWindow(platform::WindowHandle window) override;
  void RepaintStatus(platform::WindowHandle window, std::string_view status_text) override;
  void RepaintSubStatus(platform::WindowHandle window, platform::WindowHandle progress_bar,
                        std::string_view sub_status_text, int percent) override;
  bool GetWindowRect(platform::WindowHandle window, platform::Rect* place) override;
  int GetSystemMetrics(int index) override;
  bool MoveWindow(platform::WindowHandle window, int x, int y, int width, int height,
                  bool repaint) override;
  platform::WindowHandle CreateWindowEx(std::string_view class_name, std::uint32_t style, int x,
                                        int y, int width, int height,
                                        platform::WindowHandle parent) override;
  // Fonts, bitmaps and the splash window's painting, in splash_painting_win32.cpp.
  int GetDeviceCaps(int index) override;
  platform::GdiObject CreateFont(const platform::FontRequest& font) override;
  int AddFontResource(std::string_view path) override;
  bool DeleteObject(platform::GdiObject object) override;
  platform::GdiObject LoadBitmap(std::uint32_t id) override;
  void PaintSplash(platform::WindowHandle window, const platform::SplashPainting& painting) override;
  bool LoadString(std::uint32_t id, std::string* text) override;
  // The elevation dialog, in elevation_dialog_win32.cpp.
  std::intptr_t DialogBoxParam(platform::WindowHandle owner,
                               platform::ElevationDialogButtons& buttons) override;

 private:
  // The launcher's procedure of one modeless dialog and its context; the dialog
  // finds it through its creation parameter. A dialog with a picture takes the
  // picture's size when it is created, before the launcher's procedure places it.
  struct Procedure {
    platform::DialogProcedure procedure = nullptr;
    void* context = nullptr;
    HINSTANCE module = nullptr;
    int picture = 0;  // a bitmap resource; 0: the size of the dialog's template
  };
  static INT_PTR CALLBACK ModelessDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                             LPARAM lparam);

  HINSTANCE module_;
  Procedure splash_;
  Procedure verify_;
};

}  // namespace win32
