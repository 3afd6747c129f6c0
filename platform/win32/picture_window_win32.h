// Windows side: windows whose size is their picture's. A dialog template gives sizes
// in dialog units, which turn into pixels through the dialog font's metrics and so
// differ from system to system; a window that shows a picture takes the picture's
// size in pixels instead.
#pragma once

#include "platform/win32/windows_api.h"

namespace win32 {

// A bitmap loaded from the module's resources, deleted when it goes out of scope.
class ResourceBitmap {
 public:
  ResourceBitmap(HINSTANCE module, int id) : bitmap_(LoadBitmapA(module, MAKEINTRESOURCEA(id))) {}
  ~ResourceBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  ResourceBitmap(const ResourceBitmap&) = delete;
  ResourceBitmap& operator=(const ResourceBitmap&) = delete;

  HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

// The bitmap's width and height in pixels; false when it is no bitmap.
bool PictureSize(HBITMAP picture, SIZE* size);

// Gives `window` the picture's size in pixels, keeping its place; false when the
// picture's size cannot be read.
bool FitWindowToPicture(HWND window, HBITMAP picture);

}  // namespace win32
