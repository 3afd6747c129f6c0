// Windows side: message boxes, the launcher's dialogs and its string table.
#include "platform/win32/user_interface_win32.h"

namespace win32 {
namespace {

// Where the splash window's two status lines go, in client pixels.
constexpr RECT kStatusLine = {10, 160, 550, 180};
constexpr RECT kSubStatusLine = {10, 200, 550, 240};
// Centred from the top of their rectangles, neither wrapped nor clipped.
constexpr UINT kStatusTextFormat = DT_CENTER | DT_NOCLIP;

// The launcher's strings are short; a longer one is cut by LoadStringA.
constexpr int kStringBufferSize = 2048;

HWND ToHwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }

void Repaint(platform::WindowHandle window) {
  if (window == platform::kNoWindow) return;
  // There is no message loop: the window is repainted now or not at all.
  InvalidateRect(ToHwnd(window), nullptr, TRUE);
  UpdateWindow(ToHwnd(window));
}

void DrawLine(HDC dc, const std::string& text, RECT area) {
  DrawTextA(dc, text.c_str(), -1, &area, kStatusTextFormat);
}

}  // namespace

int Win32UserInterface::MessageBox(platform::WindowHandle owner, std::string_view text,
                                   std::string_view caption, std::uint32_t style) {
  return MessageBoxA(ToHwnd(owner), std::string(text).c_str(), std::string(caption).c_str(),
                     style);
}

platform::WindowHandle Win32UserInterface::CreateDialogParam(platform::Dialog dialog) {
  HWND window = nullptr;
  switch (dialog) {
    case platform::Dialog::Splash:
      // The splash procedure paints this object's texts; it finds the object
      // through the creation parameter.
      window = CreateDialogParamA(module_, "DOVRELPV_SPLASH", nullptr, SplashDialogProc,
                                  reinterpret_cast<LPARAM>(this));
      break;
    case platform::Dialog::Verify:
      window = CreateDialogParamA(module_, "VERIFYDIALOG", nullptr, VerifyDialogProc, 0);
      break;
  }
  return reinterpret_cast<platform::WindowHandle>(window);
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

void Win32UserInterface::RepaintStatus(platform::WindowHandle window,
                                       std::string_view status_text) {
  // Kept also without a window: a splash window created later paints it.
  status_text_ = status_text;
  Repaint(window);
}

void Win32UserInterface::RepaintSubStatus(platform::WindowHandle window,
                                          std::string_view sub_status_text, int /*percent*/) {
  sub_status_text_ = sub_status_text;
  Repaint(window);
}

bool Win32UserInterface::LoadString(std::uint32_t id, std::string* text) {
  char buffer[kStringBufferSize] = {};
  const int length = LoadStringA(module_, id, buffer, kStringBufferSize);
  if (length <= 0) return false;
  text->assign(buffer, static_cast<std::size_t>(length));
  return true;
}

// Every message but the paint is left to the dialog manager (result 0).
INT_PTR CALLBACK Win32UserInterface::SplashDialogProc(HWND dialog, UINT message,
                                                      WPARAM /*wparam*/, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      break;
    case WM_PAINT:
      if (const auto* ui =
              reinterpret_cast<const Win32UserInterface*>(GetWindowLongPtrA(dialog, DWLP_USER))) {
        ui->PaintSplash(dialog);
      }
      break;
    default:
      break;
  }
  return 0;
}

// The replace-mode window shows only its fixed line: the dialog manager does all.
INT_PTR CALLBACK Win32UserInterface::VerifyDialogProc(HWND /*dialog*/, UINT /*message*/,
                                                      WPARAM /*wparam*/, LPARAM /*lparam*/) {
  return 0;
}

void Win32UserInterface::PaintSplash(HWND dialog) const {
  PAINTSTRUCT paint = {};
  if (HDC dc = BeginPaint(dialog, &paint)) {
    RECT client = {};
    GetClientRect(dialog, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawLine(dc, status_text_, kStatusLine);
    DrawLine(dc, sub_status_text_, kSubStatusLine);
  }
  EndPaint(dialog, &paint);
}

}  // namespace win32
