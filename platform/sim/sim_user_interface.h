// Simulated workstation: what the user would see, recorded in ui.log; message boxes
// are answered as the machine's [ui] section says.
#pragma once

#include <string_view>

#include <map>
#include <string>

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
  };

  explicit SimUserInterface(SimState& state) : s_(state) {}

  int MessageBox(platform::WindowHandle owner, std::string_view text, std::string_view caption,
                 std::uint32_t style) override;
  platform::WindowHandle CreateDialogParam(platform::Dialog dialog) override;
  void SetWindowText(platform::WindowHandle window, std::string_view text) override;
  void ShowWindow(platform::WindowHandle window, int show_command) override;
  void SetDlgItemText(platform::WindowHandle window, int item, std::string_view text) override;
  void DestroyWindow(platform::WindowHandle window) override;
  void RepaintStatus(platform::WindowHandle window, std::string_view status_text) override;
  void RepaintSubStatus(platform::WindowHandle window, std::string_view sub_status_text,
                        int percent) override;
  bool LoadString(std::uint32_t id, std::string* text) override;

 private:
  struct Window {
    std::string resource;
    std::string title;
    bool shown = false;
  };

  SimState& s_;
  std::map<platform::WindowHandle, Window> windows_;
  platform::WindowHandle next_window_ = 0x10000;
};

}  // namespace sim
