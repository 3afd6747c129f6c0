// Windows side: TavixSnapshot.exe, a console program that writes a machine folder of
// the workstation it runs on, for replaying the launcher's run elsewhere.
//
//   TavixSnapshot OUTDIR [LAUNCHER_FOLDER]
//
// LAUNCHER_FOLDER is where the launcher lies (default: this program's own folder):
// Tavix.exe for TavixSnapshot.exe, Tavix64.exe for TavixSnapshot64.exe.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <string>

#include "platform/error_codes.h"
#include "platform/win32/win32_platform.h"
#include "snapshot/platform_folder_output.h"
#include "snapshot/take_snapshot.h"

namespace {

constexpr const char* kUsage =
    "usage: TavixSnapshot OUTDIR [LAUNCHER_FOLDER]\n"
    "\n"
    "Writes a machine folder of this workstation into OUTDIR: machine.ini,\n"
    "registry.reg, security.txt and the launcher's files under drives\\. It reads\n"
    "only what the Tavix launcher reads. LAUNCHER_FOLDER holds the launcher\n"
    "(default: the folder of this program).\n";

// At most this many characters of a Windows path, as everywhere in the launcher.
constexpr std::size_t kMaxPath = 259;

// The launcher of the same build as this program.
constexpr const char* kLauncherName = sizeof(void*) == 8 ? "\\Tavix64.exe" : "\\Tavix.exe";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || std::string(argv[1]) == "/?" || std::string(argv[1]) == "--help") {
    std::fputs(kUsage, argc == 2 ? stdout : stderr);
    return argc == 2 ? 0 : 2;
  }
  win32::Win32Platform windows(GetModuleHandleA(nullptr));
  platform::Platform& os = windows.platform();

  std::string folder;
  if (argc == 3) {
    folder = argv[2];
  } else if (os.processes.GetModuleFileName(&folder)) {
    folder.erase(folder.find_last_of('\\') == std::string::npos ? 0 : folder.find_last_of('\\'));
  }
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const std::string launcher = folder + kLauncherName;
  const std::string out_folder = argv[1];
  // A full path, so that the snapshot can tell its own folder when it lies below the
  // launcher's.
  const bool full = out_folder.size() >= 3 && out_folder[1] == ':' && out_folder[2] == '\\';
  if (folder.empty() || !full || launcher.size() > kMaxPath || out_folder.size() > kMaxPath) {
    std::fputs("TavixSnapshot: OUTDIR must be a full path (C:\\...); the folders' paths may "
               "have at most 259 characters\n", stderr);
    return 2;
  }
  if (!os.files.CreateDirectory(out_folder) &&
      os.system.GetLastError() != platform::kErrorAlreadyExists) {
    std::fprintf(stderr, "TavixSnapshot: %s: the folder cannot be created\n", out_folder.c_str());
    return 1;
  }
  snapshot::PlatformFolderOutput out(os, out_folder);
  return snapshot::TakeSnapshot(os, launcher, out) ? 0 : 1;
}
