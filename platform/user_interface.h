// What the user sees: message boxes, the launcher's dialogs and its string table.
#pragma once

#include <array>
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

// Window messages that the launcher's dialog procedures act on.
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;

// A dialog procedure of the launcher, called with the context given when its dialog
// was created; its result is the dialog procedure's (0 leaves the message to the
// dialog manager).
using DialogProcedure = std::intptr_t (*)(void* context, WindowHandle dialog,
                                          std::uint32_t message);

// A rectangle in pixels.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// A font or a bitmap; kNoObject stands for none.
using GdiObject = std::uintptr_t;
inline constexpr GdiObject kNoObject = 0;

// GetDeviceCaps and GetSystemMetrics indexes.
inline constexpr int kLogPixelsY = 90;
inline constexpr int kSmCxScreen = 0;
inline constexpr int kSmCyScreen = 1;

// The arguments of CreateFontA, with the values Windows gives its constants.
inline constexpr std::uint8_t kAnsiCharset = 0;
inline constexpr std::uint8_t kOutStrokePrecis = 3;
inline constexpr std::uint8_t kClipStrokePrecis = 2;
inline constexpr std::uint8_t kDraftQuality = 1;
inline constexpr std::uint8_t kVariablePitch = 2;
inline constexpr std::uint8_t kFfSwiss = 0x20;
struct FontRequest {
  int height = 0;
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 0;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  std::uint8_t char_set = 0;
  std::uint8_t out_precision = 0;
  std::uint8_t clip_precision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitch_and_family = 0;
  std::string_view face;
};

// DrawTextA formats.
inline constexpr std::uint32_t kDtCenter = 0x0001;
inline constexpr std::uint32_t kDtNoClip = 0x0100;

// One text of a painting, drawn black over what is below it.
struct TextDrawing {
  std::string_view text;
  GdiObject font = kNoObject;
  Rect area;
  std::uint32_t format = 0;
};

// One paint of the splash window: the background bitmap copied at its own size to
// the window's top left corner, then the texts in their order.
struct SplashPainting {
  GdiObject background = kNoObject;
  std::array<TextDrawing, 3> texts;
};

// What the launcher does when a button of the modal elevation dialog is pressed; it
// answers while the dialog is still open, so that it can start the elevated
// launcher with the dialog as the owner of the consent prompt.
class ElevationDialogButtons {
 public:
  // "Elevate": true when the dialog is to end (with 1), false when it stays open.
  virtual bool Elevate(WindowHandle dialog) = 0;
  // "Cancel": the dialog ends (with 2).
  virtual void Cancel() = 0;

 protected:
  ~ElevationDialogButtons() = default;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // MessageBoxA: the button pressed, or 0 when the box could not be shown.
  virtual int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                         std::uint32_t style) = 0;

  // CreateDialogParamA of a modeless dialog without owner, run by `procedure` with
  // `context`; the procedure receives WM_INITDIALOG before this returns. kNoWindow
  // on failure.
  virtual WindowHandle CreateDialogParam(Dialog dialog, DialogProcedure procedure,
                                         void* context) = 0;

  // SetWindowTextA.
  virtual void SetWindowText(WindowHandle window, std::string_view text) = 0;

  // ShowWindow.
  virtual void ShowWindow(WindowHandle window, int show_command) = 0;

  // SetDlgItemTextA.
  virtual void SetDlgItemText(WindowHandle window, int item, std::string_view text) = 0;

  // DestroyWindow.
  virtual void DestroyWindow(WindowHandle window) = 0;

  // The status window's main line changed to `status_text`: InvalidateRect of the
  // whole window with erasing, then UpdateWindow, which paints it at once.
  virtual void RepaintStatus(WindowHandle window, std::string_view status_text) = 0;

  // The second line changed to `sub_status_text`: InvalidateRect as above, for a
  // percent above 0 PBM_SETPOS to `progress_bar`, then UpdateWindow.
  virtual void RepaintSubStatus(WindowHandle window, WindowHandle progress_bar,
                                std::string_view sub_status_text, int percent) = 0;

  // GetDeviceCaps of the screen's device context (GetDC with no window).
  virtual int GetDeviceCaps(int index) = 0;

  // CreateFontA; kNoObject on failure.
  virtual GdiObject CreateFont(const FontRequest& font) = 0;

  // DeleteObject of a font or bitmap.
  virtual bool DeleteObject(GdiObject object) = 0;

  // LoadBitmapA from the launcher's own module; kNoObject when it is missing.
  virtual GdiObject LoadBitmap(std::uint32_t id) = 0;

  // GetSystemMetrics.
  virtual int GetSystemMetrics(int index) = 0;

  // GetWindowRect: the window's place on the screen.
  virtual bool GetWindowRect(WindowHandle window, Rect* place) = 0;

  // MoveWindow.
  virtual bool MoveWindow(WindowHandle window, int x, int y, int width, int height,
                          bool repaint) = 0;

  // CreateWindowExA of a child window without extended style or text, with the
  // launcher's module as its instance; kNoWindow on failure.
  virtual WindowHandle CreateWindowEx(std::string_view class_name, std::uint32_t style, int x,
                                      int y, int width, int height, WindowHandle parent) = 0;

  // The splash window's WM_PAINT: BeginPaint, the background through a memory device
  // context, the texts, EndPaint.
  virtual void PaintSplash(WindowHandle window, const SplashPainting& painting) = 0;

  // LoadStringA from the launcher's string table; false when the entry is missing.
  virtual bool LoadString(std::uint32_t id, std::string* text) = 0;

  // DialogBoxParamA of ELEVATEDIALOG, the launcher's one modal dialog, owned by
  // `owner` (none: no owner): the value the dialog ended with, 1 after "Elevate"
  // ended it and 2 after "Cancel"; 0 or -1 when it could not be shown.
  virtual std::intptr_t DialogBoxParam(WindowHandle owner, ElevationDialogButtons& buttons) = 0;

  // AddFontResourceA: the font file registered for the session, until log-off; the
  // number of fonts added, 0 when the file is missing or holds none.
  virtual int AddFontResource(std::string_view path) = 0;
};

}  // namespace platform
