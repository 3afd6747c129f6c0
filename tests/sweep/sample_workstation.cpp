#include "tests/sweep/sample_workstation.h"

#include <chrono>
#include <string>
#include <vector>

#include "install/install_rules.h"
#include "tests/support/test_workstation.h"
#include "tools/tabpack/archive_writer.h"

namespace sweep {
namespace {

namespace fs = std::filesystem;
using test_support::ArchiveFile;

// The user's own account is no administrator's; the elevated instance runs with the
// administrator's token the consent prompt supplied, hence "-el" on its command line.
std::string MachineIni() {
  const std::string folder(kLauncherFolder);
  return "[machine]\nclock = 2026-12-06T08:30:00\n"
         "[user]\nadministrators_member = false\ntoken_admin = true\nelevated = true\nintegrity_rid = 0x3000\n"
         "[launcher]\npath = " +
         folder +
         "Tavix.exe\n"
         "[network]\ninterface.1 = 192.168.20.57 255.255.255.0 11 primary, dynamic\nbest_interface = 11\n"
         "drive.Z = \\\\server\\share\n"
         "[versions]\n" +
         folder +
         "redist\\Veltrix.Bridge.dll = 2.0.0.0\n"
         "C:\\Windows\\SysWOW64\\Veltrix.Bridge.dll = 1.0.0.0\n";
}

// Files already on the machine, older than anything the archive holds.
struct Existing {
  const char* drive_path;  // below drives/
  const char* bytes;
};
constexpr Existing kExisting[] = {
    {"Z/Portavel/tsystem1.exe", "product"},
    {"Z/Portavel/tsystem2.dll", "product library"},
    {"Z/Portavel/nvpv.chm", "product help"},
    {"Z/Portavel/readme.htm", "notes"},
    {"Z/Portavel/ups_sp.chm", "service pack help"},
    {"Z/Portavel/tsystem5.dll", "product library 5"},
    {"Z/Portavel/tsystem6.exe", "product tool 6"},
    {"Z/Portavel/tsystem7.exe", "product tool 7"},
    {"Z/Portavel/tsystemx.dll", "product library x"},
    {"Z/Portavel/tsystemu.dll", "product library u"},
    {"Z/Portavel/tavix.chm", "help"},
    {"Z/Portavel/tsystem1.cfg", "old settings"},
    {"Z/Portavel/tpe/engine.dat", "engine"},
    {"Z/Portavel/UTL/InstCOM.exe", "utility"},
    {"Z/Portavel/redist/Veltrix.Bridge.dll", "new library"},
    {"Z/Portavel/redist/vc_redist.x86.exe", "installer"},
    {"Z/Portavel/redist/vc_redist.x64.exe", "installer"},
    {"Z/Portavel/redist/ndp48-x86-x64-allos-enu.exe", "installer"},
    {"C/Windows/win.ini", "; for 16-bit app support\r\n"},
    {"C/Windows/tavix.ini", "[Tavix]\r\n"},
    {"C/Windows/SysWOW64/Veltrix.Bridge.dll", "old library"},
    {"C/Windows/SysWOW64/tsysw32.dll", "old 32-bit library"},
    {"C/Windows/System32/tsysw64.dll", "old 64-bit library"},
    {"C/Windows/Fonts/norvanenarrowbold.ttf", "old font"},
    {"C/Windows/Fonts/CODE128W.ttf", "barcode font"},
    {"C/Users/clerk/AppData/Local/Norvane/Portavel/_tcache1/tsystem1.exe", "stale product"},
};

const std::vector<tabpack::MemoryFile>& Archive() {
  static const std::vector<tabpack::MemoryFile> files = {
      ArchiveFile("tsystem1.cfg", "CUR", INSTALL_DIFFERENT, "archive settings"),
      ArchiveFile("tavix.chm", "CUR", INSTALL_DOES_NOT_EXIST, "archive help"),
      ArchiveFile("norvanenarrowbold.ttf", "FON", INSTALL_ALWAYS, "archive font"),
      ArchiveFile("Norvane Narrow Normal.ttf", "FON", INSTALL_DOES_NOT_EXIST, "archive normal font"),
      ArchiveFile("tavix.ini", "WIN", INSTALL_DOES_NOT_EXIST, "archive ini"),
      ArchiveFile("tsysw32.dll", "SYS", INSTALL_NEWER, std::string(5000, 'w')),
      ArchiveFile("tsysw64.dll", "S64", INSTALL_DIFFERENT, "archive 64-bit library"),
      ArchiveFile("tsysnew.dll", "SYS", INSTALL_ALWAYS, "archive new library"),
  };
  return files;
}

}  // namespace

void BuildSampleWorkstation(const fs::path& root) {
  test_support::WriteFile(root / "machine.ini", MachineIni());
  // A fresh Windows: no runtimes, no configuration key.
  test_support::WriteFile(root / "registry.reg", test_support::RegistryFile());
  // The configuration location is there, open to administrators only: the replace
  // mode backs files up into it, the standard start opens it to Everyone.
  test_support::WriteFile(root / "security.txt", "C:\\ProgramData\\Veltrix\tD:(A;OICI;FA;;;BA)\n");
  const auto old = fs::file_time_type::clock::now() - std::chrono::days(400);
  for (const Existing& file : kExisting) {
    test_support::WriteFile(root / "drives" / file.drive_path, file.bytes);
    fs::last_write_time(root / "drives" / file.drive_path, old);
  }
  test_support::WriteFile(root / "drives/Z/Portavel/tsystem0.dll", tabpack::BuildArchive(Archive()));
  fs::last_write_time(root / "drives/Z/Portavel/tsystem0.dll", old);
  fs::create_directories(root / "drives/C/ProgramData/Veltrix");
  fs::create_directories(root / "drives/C/Users/clerk/AppData/Roaming/Microsoft/Windows/Start Menu/Programs");
}

}  // namespace sweep
