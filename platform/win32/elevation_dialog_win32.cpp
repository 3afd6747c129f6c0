// Windows side: the modal elevation dialog. It shows the prompt of the string table,
// the shield on its "Elevate" button and the shield picture, painted with black as
// its transparent colour; its two buttons hand over to the launcher.
#include "platform/win32/user_interface_win32.h"

#include "platform/resource_ids.h"
#include "platform/win32/picture_window_win32.h"

namespace win32 {
namespace {

// The prompt is read into a buffer of this size: room for a translated prompt, which
// is longer than the English one.
constexpr int kPromptBufferSize = 2048;

// What the dialog procedure needs while the dialog is open. The shield picture and
// its mask are made when the dialog opens and released when it has ended.
class ElevationDialogState {
 public:
  ElevationDialogState(HINSTANCE module, platform::ElevationDialogButtons& buttons)
      : module_handle(module), buttons(buttons) {}
  ~ElevationDialogState() {
    if (mask) DeleteObject(mask);
    if (picture) DeleteObject(picture);
  }
  ElevationDialogState(const ElevationDialogState&) = delete;
  ElevationDialogState& operator=(const ElevationDialogState&) = delete;

  HINSTANCE module_handle;
  platform::ElevationDialogButtons& buttons;
  HBITMAP picture = nullptr;
  HBITMAP mask = nullptr;
};

// A memory device context with one bitmap selected; the original selection is
// restored and the context deleted on the way out.
class MemoryDc {
 public:
  MemoryDc(HDC compatible_with, HBITMAP bitmap) : dc_(CreateCompatibleDC(compatible_with)) {
    if (dc_) original_ = SelectObject(dc_, bitmap);
  }
  ~MemoryDc() {
    if (!dc_) return;
    SelectObject(dc_, original_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ original_ = nullptr;
};

// A monochrome mask of the picture: white where the picture is black, black elsewhere.
HBITMAP MakeMask(HBITMAP picture) {
  SIZE size = {};
  if (!PictureSize(picture, &size)) return nullptr;
  HBITMAP mask = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
  if (!mask) return nullptr;
  MemoryDc picture_dc(nullptr, picture);
  MemoryDc mask_dc(nullptr, mask);
  if (picture_dc.get() && mask_dc.get()) {
    // A colour-to-monochrome copy turns the source's background colour white and
    // every other colour black.
    SetBkColor(picture_dc.get(), RGB(0, 0, 0));
    BitBlt(mask_dc.get(), 0, 0, size.cx, size.cy, picture_dc.get(), 0, 0, SRCCOPY);
  }
  return mask;
}

// The mask clears the picture's shape in the control, the picture fills it: what is
// black in the picture leaves the control's background as it was.
void PaintShield(HWND dialog, const ElevationDialogState& state) {
  HWND control = GetDlgItem(dialog, IDC_SHIELD_PICTURE);
  if (!control) return;
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(control, &paint);
  SIZE size = {};
  if (dc && state.mask && PictureSize(state.picture, &size)) {
    MemoryDc memory(dc, state.mask);
    if (memory.get()) {
      BitBlt(dc, 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCAND);
      SelectObject(memory.get(), state.picture);
      BitBlt(dc, 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCPAINT);
    }
  }
  EndPaint(control, &paint);
}

void InitElevationDialog(HWND dialog, ElevationDialogState& state) {
  char prompt[kPromptBufferSize] = {};
  LoadStringA(state.module_handle, IDS_ELEVATION_PROMPT, prompt, kPromptBufferSize);
  SetDlgItemTextA(dialog, IDC_ELEVATION_TEXT, prompt);
  SendDlgItemMessageA(dialog, IDC_ELEVATE, BCM_SETSHIELD, 0, TRUE);
  state.picture = LoadBitmapA(state.module_handle, MAKEINTRESOURCEA(IDB_SHIELD));
  if (state.picture) state.mask = MakeMask(state.picture);
  // The template sizes the picture's control in dialog units, which the dialog font
  // turns into another size than the picture's 64 x 64 pixels on many systems.
  if (HWND shield = GetDlgItem(dialog, IDC_SHIELD_PICTURE); shield && state.picture)
    FitWindowToPicture(shield, state.picture);
  // The keyboard focus goes to the default button, so that Enter and the space bar
  // answer the dialog; the procedure itself returns FALSE, which sets no focus.
  if (HWND elevate = GetDlgItem(dialog, IDC_ELEVATE)) SetFocus(elevate);
}

// Only the two buttons end the dialog: the close box and Escape send IDCANCEL,
// which is left to the dialog manager and changes nothing. Every message returns
// FALSE, so the dialog manager does the rest.
INT_PTR CALLBACK ElevationDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    InitElevationDialog(dialog, *reinterpret_cast<ElevationDialogState*>(lparam));
    return FALSE;
  }
  auto* state = reinterpret_cast<ElevationDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!state) return FALSE;  // messages before WM_INITDIALOG
  switch (message) {
    case WM_PAINT:
      PaintShield(dialog, *state);
      break;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_ELEVATE) {
        if (state->buttons.Elevate(reinterpret_cast<platform::WindowHandle>(dialog))) EndDialog(dialog, 1);
      } else if (LOWORD(wparam) == IDC_ELEVATION_CANCEL) {
        state->buttons.Cancel();
        EndDialog(dialog, 2);
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::intptr_t Win32UserInterface::DialogBoxParam(platform::WindowHandle owner,
                                                 platform::ElevationDialogButtons& buttons) {
  ElevationDialogState state(module_, buttons);
  return DialogBoxParamA(module_, "ELEVATEDIALOG", reinterpret_cast<HWND>(owner), ElevationDialogProc,
                         reinterpret_cast<LPARAM>(&state));
}

}  // namespace win32
