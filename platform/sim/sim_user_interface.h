// Simulated workstation: what the user would see, recorded in ui.log; message boxes
// are answered as the machine's [ui] section says.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/sim_state.h"
#include "platform/user_interface.h"

namespace sim {

class SimUserInterface : public platform::UserInterface {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "MessageBox",
      "CreateDialogParam",
      "LoadString",
      "DialogBoxParam",
      "CreateFont",
      "LoadBitmap",
      "CreateWindowEx",
      "AddFontResource",
  };

  explicit SimUserInterface(SimState& state) : s_(state) {}

  // Font registration (sim_fonts.cpp): one ADDFONT line in system.log per call.
  int AddFontResource(std::string_view path) override;

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
  int GetDeviceCaps(int index) override;
  platform::GdiObject CreateFont(const platform::FontRequest& font) override;
  bool DeleteObject(platform::GdiObject object) override;
  platform::GdiObject LoadBitmap(std::uint32_t id) override;
  int GetSystemMetrics(int index) override;
  bool GetWindowRect(platform::WindowHandle window, platform::Rect* place) override;
  bool MoveWindow(platform::WindowHandle window, int x, int y, int width, int height,
                  bool repaint) override;
  platform::WindowHandle CreateWindowEx(std::string_view class_name, std::uint32_t style, int x,
                                        int y, int width, int height,
                                        platform::WindowHandle parent) override;
  void PaintSplash(platform::WindowHandle window, const platform::SplashPainting& painting) override;
  bool LoadString(std::uint32_t id, std::string* text) override;
  std::intptr_t DialogBoxParam(platform::WindowHandle owner,
                               platform::ElevationDialogButtons& buttons) override;

  // What the user would have seen but ui.log does not record, for tests.
  struct Font {
    platform::FontRequest request;  // with an empty face: the face is kept below
    std::string face;
  };
  struct Painting {
    struct Text {
      std::string text;
      platform::GdiObject font = platform::kNoObject;
      platform::Rect area;
      std::uint32_t format = 0;
    };
    platform::GdiObject background = platform::kNoObject;
    std::array<Text, 3> texts;
  };
  // A font that exists (created and not deleted), or null.
  const Font* FindFont(platform::GdiObject font) const;
  // The splash window's last painting, and how many there were.
  const std::optional<Painting>& LastPainting() const { return last_painting_; }
  int Paintings() const { return paintings_; }
  // Where a window is on the screen; nothing for a window that does not exist.
  std::optional<platform::Rect> WindowPlace(platform::WindowHandle window) const;
  // A progress bar's position (0 to 100); nothing for a window that does not exist.
  std::optional<int> ProgressPosition(platform::WindowHandle bar) const;

 private:
  struct Window {
    std::string resource;  // a dialog's resource name; empty for a child control
    std::string title;
    bool shown = false;
    platform::Rect place;
    platform::DialogProcedure procedure = nullptr;
    void* context = nullptr;
    platform::WindowHandle parent = platform::kNoWindow;
    int progress = 0;
  };

  platform::WindowHandle NewWindow(Window window);
  // UpdateWindow: the window's procedure receives WM_PAINT.
  void Paint(platform::WindowHandle window);

  SimState& s_;
  std::map<platform::WindowHandle, Window> windows_;
  platform::WindowHandle next_window_ = 0x10000;
  std::map<platform::GdiObject, Font> fonts_;
  std::map<platform::GdiObject, std::uint32_t> bitmaps_;  // handle -> resource id
  platform::GdiObject next_object_ = 0x0A000;
  std::optional<Painting> last_painting_;
  int paintings_ = 0;
};

}  // namespace sim
