// Simulated workstation: the well-known folders of the machine.
#include "platform/sim/known_folder_paths.h"

namespace sim {
namespace {

constexpr const char* kDefaultWindowsFolder = "C:\\Windows";

bool MachineIs64Bit(const Machine& machine) {
  const auto arch = machine.os.architecture;
  return arch == 6 || arch == 9 || arch == 12;
}

std::string UserProfile(const Machine& machine) { return "C:\\Users\\" + machine.user.name; }

}  // namespace

std::string WindowsFolder(const Machine& machine) {
  const auto& given = machine.folders.windows;
  return given && !given->empty() ? *given : kDefaultWindowsFolder;
}

std::string KnownFolderPath(const Machine& machine, platform::KnownFolder folder) {
  using platform::KnownFolder;
  const FolderFacts& f = machine.folders;
  const std::string windows = f.windows.value_or(kDefaultWindowsFolder);
  switch (folder) {
    case KnownFolder::Windows:
      return windows;
    case KnownFolder::System:
      return f.system.value_or(WindowsFolder(machine) + "\\System32");
    case KnownFolder::SystemX86:
      // A 32-bit Windows keeps its 32-bit files in System32 itself.
      return f.system_x86.value_or(WindowsFolder(machine) +
                                   (MachineIs64Bit(machine) ? "\\SysWOW64" : "\\System32"));
    case KnownFolder::LocalAppData:
      return f.local_app_data.value_or(UserProfile(machine) + "\\AppData\\Local");
    case KnownFolder::Programs:
      return f.programs.value_or(UserProfile(machine) +
                                 "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
    case KnownFolder::ProgramData:
      return f.program_data.value_or("C:\\ProgramData");
    case KnownFolder::Fonts:
      return f.fonts.value_or(WindowsFolder(machine) + "\\Fonts");
  }
  return {};
}

std::optional<std::string> AppDataVariable(const Machine& machine) {
  const std::string value =
      machine.folders.appdata.value_or(UserProfile(machine) + "\\AppData\\Roaming");
  if (value.empty()) return std::nullopt;
  return value;
}

}  // namespace sim
