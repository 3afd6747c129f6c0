// Simulated workstation: the screen, fonts, bitmaps, window placement and the
// splash window's painting. None of it reaches ui.log; tests read it back through
// the accessors of SimUserInterface.
#include <algorithm>

#include "platform/sim/sim_user_interface.h"
#include "platform/resource_ids.h"

namespace sim {
namespace {

// The primary screen of every simulated machine.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// The launcher's bitmap resources.
constexpr std::uint32_t kBitmaps[] = {IDB_SHIELD, IDB_SPLASH};

constexpr platform::ErrorCode kErrorInvalidWindowHandle = 1400;
constexpr platform::ErrorCode kErrorResourceNameNotFound = 1814;

}  // namespace

int SimUserInterface::GetDeviceCaps(int index) {
  return index == platform::kLogPixelsY ? static_cast<int>(s_.machine.machine.dpi) : 0;
}

platform::GdiObject SimUserInterface::CreateFont(const platform::FontRequest& font) {
  if (s_.Fails("CreateFont")) return platform::kNoObject;
  const platform::GdiObject handle = next_object_++;
  Font& created = fonts_[handle];
  created.request = font;
  created.request.face = {};
  created.face = font.face;
  return handle;
}

bool SimUserInterface::DeleteObject(platform::GdiObject object) {
  return fonts_.erase(object) + bitmaps_.erase(object) > 0;
}

platform::GdiObject SimUserInterface::LoadBitmap(std::uint32_t id) {
  if (s_.Fails("LoadBitmap")) return platform::kNoObject;
  if (std::find(std::begin(kBitmaps), std::end(kBitmaps), id) == std::end(kBitmaps)) {
    s_.last_error = kErrorResourceNameNotFound;
    return platform::kNoObject;
  }
  const platform::GdiObject handle = next_object_++;
  bitmaps_[handle] = id;
  return handle;
}

int SimUserInterface::GetSystemMetrics(int index) {
  switch (index) {
    case platform::kSmCxScreen: return kScreenWidth;
    case platform::kSmCyScreen: return kScreenHeight;
    default: return 0;
  }
}

bool SimUserInterface::GetWindowRect(platform::WindowHandle window, platform::Rect* place) {
  auto found = windows_.find(window);
  if (found == windows_.end()) {
    s_.last_error = kErrorInvalidWindowHandle;
    return false;
  }
  *place = found->second.place;
  return true;
}

bool SimUserInterface::MoveWindow(platform::WindowHandle window, int x, int y, int width,
                                  int height, bool /*repaint*/) {
  auto found = windows_.find(window);
  if (found == windows_.end()) {
    s_.last_error = kErrorInvalidWindowHandle;
    return false;
  }
  found->second.place = {x, y, x + width, y + height};
  return true;
}

platform::WindowHandle SimUserInterface::CreateWindowEx(std::string_view /*class_name*/,
                                                        std::uint32_t /*style*/, int x, int y,
                                                        int width, int height,
                                                        platform::WindowHandle parent) {
  if (s_.Fails("CreateWindowEx")) return platform::kNoWindow;
  if (!windows_.count(parent)) {
    s_.last_error = kErrorInvalidWindowHandle;
    return platform::kNoWindow;
  }
  Window control;
  control.place = {x, y, x + width, y + height};
  control.parent = parent;
  return NewWindow(std::move(control));
}

void SimUserInterface::PaintSplash(platform::WindowHandle, const platform::SplashPainting& painting) {
  Painting copy;
  copy.background = painting.background;
  for (std::size_t i = 0; i < painting.texts.size(); ++i) {
    const platform::TextDrawing& text = painting.texts[i];
    copy.texts[i] = {std::string(text.text), text.font, text.area, text.format};
  }
  last_painting_ = std::move(copy);
  ++paintings_;
}

const SimUserInterface::Font* SimUserInterface::FindFont(platform::GdiObject font) const {
  auto found = fonts_.find(font);
  return found == fonts_.end() ? nullptr : &found->second;
}

std::optional<platform::Rect> SimUserInterface::WindowPlace(platform::WindowHandle window) const {
  auto found = windows_.find(window);
  if (found == windows_.end()) return std::nullopt;
  return found->second.place;
}

std::optional<int> SimUserInterface::ProgressPosition(platform::WindowHandle bar) const {
  auto found = windows_.find(bar);
  if (found == windows_.end()) return std::nullopt;
  return found->second.progress;
}

}  // namespace sim
