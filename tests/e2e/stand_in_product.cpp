// A stand-in for the product tsystem1.exe in the end-to-end tests: it writes the
// command line it was started with, byte for byte, to product-cmdline.txt beside
// itself and ends. When its first word is a quoted path, as with an instance file,
// it first writes to product-instance.txt whether it could open that file and, if
// so, the file's first lines.
#include <windows.h>

#include <fstream>
#include <string>

#include "own_folder.h"

namespace {

// Enough for every section of an instance file.
constexpr int kCopiedLines = 60;

void RecordQuotedFile(const std::string& folder, const std::string& command_line) {
  if (command_line.empty() || command_line[0] != '"') return;
  const std::size_t end = command_line.find('"', 1);
  if (end == std::string::npos) return;
  const std::string path = command_line.substr(1, end - 1);
  std::ofstream out(folder + "product-instance.txt", std::ios::binary | std::ios::trunc);
  std::ifstream in(path);
  if (!in) {
    out << "cannot open " << path << "\n";
    return;
  }
  out << "opened " << path << "\n";
  std::string line;
  for (int i = 0; i < kCopiedLines && std::getline(in, line); ++i) out << line << "\n";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string folder = OwnFolder();
  if (folder.empty()) return 1;
  // The whole command line: its first word is not the program's own path.
  const std::string command_line = GetCommandLineA();
  // The test waits for product-cmdline.txt, so this one is complete by then.
  RecordQuotedFile(folder, command_line);
  std::ofstream out(folder + "product-cmdline.txt", std::ios::binary | std::ios::trunc);
  out << command_line;
  return out ? 0 : 1;
}
