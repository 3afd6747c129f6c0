// The command line help box.
//
// Shown from the quiet classification pass, before the system information is
// loaded, so the banner of the 32-bit launcher is the one users see.
#include <string_view>

#include "launcher/command_line.h"
#include "lifetime/dispose_app.h"
#include "base/fixed_string.h"
#include "base/launcher.h"
#include "platform/user_interface.h"

namespace {

using HelpText = FixedString<256>;

constexpr std::string_view kBanner64 = "TAVIX64.EXE [-?] [-d] [-kl] [-s] [-i] [-r]\n\n";
constexpr std::string_view kBanner32 = "TAVIX.EXE [-?] [-d] [-kl] [-s] [-i] [-r]\n\n";
constexpr std::string_view kSwitchLines[] = {
    "[-? ] Show command line help\n",
    "[-d] Enable debug logging\n",
    "[-kl] Append to logs (instead of overwriting)\n",
    "[-s] Silent mode\n",
    "[-i] Use Instance File\n",
    "[-r] Repair mode\n",
};

constexpr std::size_t LongestHelpText() {
  std::size_t length = kBanner64.size() > kBanner32.size() ? kBanner64.size() : kBanner32.size();
  for (std::string_view line : kSwitchLines) length += line.size();
  return length;
}
static_assert(LongestHelpText() <= HelpText::kCapacity, "the help text fits its buffer");

}  // namespace

void ShowCommandLineHelp(Launcher& l) {
  HelpText text;
  text.assign_cut(l.sys.Is64BitProcess ? kBanner64 : kBanner32);
  for (std::string_view line : kSwitchLines) text.append_cut(line);
  l.os.ui.MessageBox(platform::kNoWindow, text.view(), "Tavix Launcher Command Line Help",
                     platform::kMbOk);
  DisposeApp(l, 0);
}
