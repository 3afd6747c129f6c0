// Windows side: message boxes, the launcher's modeless dialogs, window placement
// and its string table.
#include "platform/win32/user_interface_win32.h"

#include <string>

#include "platform/win32/picture_window_win32.h"
#include "platform/resource_ids.h"

namespace win32 {
namespace {

// The launcher's strings are short; a longer one is cut by LoadStringA.
constexpr int kStringBufferSize = 2048;

HWND ToHwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle ToHandle(HWND window) {
  return reinterpret_cast<platform::WindowHandle>(window);
}

}  // namespace

int Win32UserInterface::MessageBox(platform::WindowHandle owner, std::string_view text,
                                   std::string_view caption, std::uint32_t style) {
  return MessageBoxA(ToHwnd(owner), std::string(text).c_str(), std::string(caption).c_str(),
                     style);
}

platform::WindowHandle Win32UserInterface::CreateDialogParam(platform::Dialog dialog,
                                                            platform::DialogProcedure procedure,
                                                            void* context) {
  const bool splash = dialog == platform::Dialog::Splash;
  Procedure& slot = splash ? splash_ : verify_;
  // The splash window is its picture, 550 x 280 pixels whatever the dialog font.
  slot = {procedure, context, module_, splash ? IDB_SPLASH : 0};
  const char* resource = splash ? "DOVRELPV_SPLASH" : "VERIFYDIALOG";
  return ToHandle(CreateDialogParamA(module_, resource, nullptr, ModelessDialogProc,
                                     reinterpret_cast<LPARAM>(&slot)));
}

void Win32UserInterface::SetWindowText(platform::WindowHandle window, std::string_view text) {
  SetWindowTextA(ToHwnd(window), std::string(text).c_str());
}

void Win32UserInterface::ShowWindow(platform::WindowHandle window, int show_command) {
  ::ShowWindow(ToHwnd(window), show_command);
}

void Win32UserInterface::SetDlgItemText(platform::WindowHandle window, int item,
                                        std::string_view text) {
  SetDlgItemTextA(ToHwnd(window), item, std::string(text).c_str());
}

void Win32UserInterface::DestroyWindow(platform::WindowHandle window) {
  ::DestroyWindow(ToHwnd(window));
}

// There is no message loop: the window is repainted now or not at all.
void Win32UserInterface::RepaintStatus(platform::WindowHandle window, std::string_view) {
  InvalidateRect(ToHwnd(window), nullptr, TRUE);
  UpdateWindow(ToHwnd(window));
}

void Win32UserInterface::RepaintSubStatus(platform::WindowHandle window,
                                          platform::WindowHandle progress_bar, std::string_view,
                                          int percent) {
  InvalidateRect(ToHwnd(window), nullptr, TRUE);
  if (percent > 0 && progress_bar != platform::kNoWindow)
    SendMessageA(ToHwnd(progress_bar), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  UpdateWindow(ToHwnd(window));
}

bool Win32UserInterface::GetWindowRect(platform::WindowHandle window, platform::Rect* place) {
  RECT rect = {};
  if (!::GetWindowRect(ToHwnd(window), &rect)) return false;
  *place = {rect.left, rect.top, rect.right, rect.bottom};
  return true;
}

int Win32UserInterface::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

bool Win32UserInterface::MoveWindow(platform::WindowHandle window, int x, int y, int width,
                                    int height, bool repaint) {
  return ::MoveWindow(ToHwnd(window), x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

platform::WindowHandle Win32UserInterface::CreateWindowEx(std::string_view class_name,
                                                          std::uint32_t style, int x, int y,
                                                          int width, int height,
                                                          platform::WindowHandle parent) {
  // The common controls register their classes, the progress bar's among them,
  // when they are initialised.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  return ToHandle(CreateWindowExA(0, std::string(class_name).c_str(), nullptr, style, x, y, width,
                                  height, ToHwnd(parent), nullptr, module_, nullptr));
}

bool Win32UserInterface::LoadString(std::uint32_t id, std::string* text) {
  char buffer[kStringBufferSize] = {};
  const int length = LoadStringA(module_, id, buffer, kStringBufferSize);
  if (length <= 0) return false;
  text->assign(buffer, static_cast<std::size_t>(length));
  return true;
}

// Hands every message from WM_INITDIALOG on to the launcher's procedure; the
// messages before it (WM_SETFONT) are left to the dialog manager.
INT_PTR CALLBACK Win32UserInterface::ModelessDialogProc(HWND dialog, UINT message,
                                                        WPARAM /*wparam*/, LPARAM lparam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lparam);
  const auto* slot = reinterpret_cast<const Procedure*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (slot == nullptr || slot->procedure == nullptr) return 0;
  if (message == WM_INITDIALOG && slot->picture != 0) {
    const ResourceBitmap picture(slot->module, slot->picture);
    FitWindowToPicture(dialog, picture.get());
  }
  return slot->procedure(slot->context, ToHandle(dialog), message);
}

}  // namespace win32
