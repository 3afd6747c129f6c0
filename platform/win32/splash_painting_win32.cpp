// Windows side: the screen's resolution, fonts, bitmaps and the splash window's
// painting.
#include "platform/win32/user_interface_win32.h"

#include <string>

namespace win32 {
namespace {

HGDIOBJ ToObject(platform::GdiObject object) { return reinterpret_cast<HGDIOBJ>(object); }
platform::GdiObject ToGdiObject(HGDIOBJ object) {
  return reinterpret_cast<platform::GdiObject>(object);
}

// A memory device context compatible with the paint context, deleted on the way out.
class MemoryContext {
 public:
  explicit MemoryContext(HDC paint) : dc_(CreateCompatibleDC(paint)) {}
  ~MemoryContext() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryContext(const MemoryContext&) = delete;
  MemoryContext& operator=(const MemoryContext&) = delete;

  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Copies the bitmap at its own size to the window's top left corner.
void DrawBackground(HDC paint, HDC memory, HBITMAP background) {
  if (memory == nullptr || background == nullptr) return;
  const HGDIOBJ previous = SelectObject(memory, background);
  BITMAP size = {};
  if (GetObjectA(background, sizeof(size), &size) != 0)
    BitBlt(paint, 0, 0, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
}

}  // namespace

int Win32UserInterface::GetDeviceCaps(int index) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  const int value = ::GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return value;
}

platform::GdiObject Win32UserInterface::CreateFont(const platform::FontRequest& font) {
  const std::string face(font.face);
  return ToGdiObject(CreateFontA(font.height, font.width, font.escapement, font.orientation,
                                 font.weight, font.italic, font.underline, font.strike_out,
                                 font.char_set, font.out_precision, font.clip_precision,
                                 font.quality, font.pitch_and_family, face.c_str()));
}

int Win32UserInterface::AddFontResource(std::string_view path) {
  return AddFontResourceA(std::string(path).c_str());
}

bool Win32UserInterface::DeleteObject(platform::GdiObject object) {
  return ::DeleteObject(ToObject(object)) != FALSE;
}

platform::GdiObject Win32UserInterface::LoadBitmap(std::uint32_t id) {
  return ToGdiObject(LoadBitmapA(module_, MAKEINTRESOURCEA(id)));
}

void Win32UserInterface::PaintSplash(platform::WindowHandle window,
                                     const platform::SplashPainting& painting) {
  const HWND hwnd = reinterpret_cast<HWND>(window);
  PAINTSTRUCT paint = {};
  const HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  {
    // The memory context is deleted before the painting ends.
    MemoryContext memory(dc);
    DrawBackground(dc, memory.get(), static_cast<HBITMAP>(ToObject(painting.background)));

    HGDIOBJ previous_font = nullptr;
    for (const platform::TextDrawing& text : painting.texts) {
      // A font that could not be created leaves the context's current one.
      if (text.font != platform::kNoObject) {
        const HGDIOBJ previous = SelectObject(dc, ToObject(text.font));
        if (previous_font == nullptr) previous_font = previous;
      }
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      RECT area = {text.area.left, text.area.top, text.area.right, text.area.bottom};
      DrawTextA(dc, std::string(text.text).c_str(), -1, &area, text.format);
    }
    if (previous_font != nullptr) SelectObject(dc, previous_font);
  }
  EndPaint(hwnd, &paint);
}

}  // namespace win32
