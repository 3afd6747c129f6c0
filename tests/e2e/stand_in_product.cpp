// A stand-in for the product tsystem1.exe in the end-to-end tests: it writes the
// command line it was started with, byte for byte, to product-cmdline.txt beside
// itself and ends.
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return 1;
  std::string folder(path, length);
  folder.erase(folder.rfind('\\') + 1);
  std::ofstream out(folder + "product-cmdline.txt", std::ios::binary | std::ios::trunc);
  out << GetCommandLineA();
  return out ? 0 : 1;
}
