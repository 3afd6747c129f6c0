// A helper of the end-to-end tests: it ends at once with the exit code given as its
// argument, the way an installer reports "restart required" (3010).
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  return command_line != nullptr ? std::atoi(command_line) : 0;
}
