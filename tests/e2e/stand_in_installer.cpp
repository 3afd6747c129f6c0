// A stand-in for a vendor installer of redist\ in the end-to-end tests: it writes the
// command line it was started with to installer-cmdline.txt beside itself and ends
// with the exit code given in the environment variable PORTAVEL_INSTALLER_EXIT_CODE
// (0 when it is not set), as the installer would report its outcome.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return 1;
  std::string folder(path, length);
  folder.erase(folder.rfind('\\') + 1);
  {
    std::ofstream out(folder + "installer-cmdline.txt", std::ios::binary | std::ios::trunc);
    out << GetCommandLineA();
  }
  // Long enough that a launcher that did not wait would have gone on without the code.
  Sleep(1000);
  const char* code = std::getenv("PORTAVEL_INSTALLER_EXIT_CODE");
  return code != nullptr ? std::atoi(code) : 0;
}
