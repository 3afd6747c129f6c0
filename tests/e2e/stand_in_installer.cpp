// A stand-in for a vendor installer of redist\ in the end-to-end tests: it writes the
// command line it was started with to installer-cmdline.txt beside itself and ends
// with the exit code given in the environment variable PORTAVEL_INSTALLER_EXIT_CODE
// (0 when it is not set), as the installer would report its outcome.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "own_folder.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string folder = OwnFolder();
  if (folder.empty()) return 1;
  {
    std::ofstream out(folder + "installer-cmdline.txt", std::ios::binary | std::ios::trunc);
    out << GetCommandLineA();
  }
  // Long enough that a launcher that did not wait would have gone on without the code.
  Sleep(1000);
  const char* code = std::getenv("PORTAVEL_INSTALLER_EXIT_CODE");
  return code != nullptr ? std::atoi(code) : 0;
}
