// Windows side: sizing windows to their pictures.
#include "platform/win32/picture_window_win32.h"

namespace win32 {

bool PictureSize(HBITMAP picture, SIZE* size) {
  BITMAP info = {};
  if (picture == nullptr || GetObjectA(picture, sizeof info, &info) == 0) return false;
  *size = {info.bmWidth, info.bmHeight};
  return true;
}

bool FitWindowToPicture(HWND window, HBITMAP picture) {
  SIZE size = {};
  if (!PictureSize(picture, &size)) return false;
  return SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace win32
