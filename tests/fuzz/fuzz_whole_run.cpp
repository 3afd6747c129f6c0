// The whole launcher on a workstation made from arbitrary bytes: user, computer and
// CPU names, the launcher's path, the release names and the launcher key's Debug
// value, a file in the launcher folder, the install archive and the command line.
// Each input runs the standard start, then list, replace and preload, all with
// developer logging, as a user would run them one after the other. A machine folder
// the simulated workstation refuses is skipped; anything else that escapes the run,
// or a crash, is a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "launcher/win_main.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sim_platform.h"
#include "tests/support/test_workstation.h"

namespace {

namespace fs = std::filesystem;

// Hands out the input line by line: each fact is one line of text, so even a short
// input names a user; the last field (the archive) takes what is left.
class Fields {
 public:
  Fields(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::string Next() {
    const std::size_t end = std::min(rest_.find('\n'), rest_.size());
    std::string field(rest_.substr(0, end));
    rest_.remove_prefix(std::min(end + 1, rest_.size()));
    // A lone CR would end the line in the workstation's files as well.
    for (char& c : field)
      if (c == '\r') c = ' ';
    return field;
  }
  std::string Rest() { return std::string(std::exchange(rest_, {})); }

 private:
  std::string_view rest_;
};

// A registry.reg string: backslashes and quotes escaped.
std::string RegString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::uint32_t Dword(const std::string& bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

// A name the host can hold as one entry of the launcher folder.
bool IsFileName(const std::string& name) {
  return !name.empty() && name.size() <= 200 && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

void BuildMachine(const test_support::Workstation& machine, Fields& in) {
  for (const fs::directory_entry& entry : fs::directory_iterator(machine.root())) fs::remove_all(entry.path());
  const std::string user = in.Next();
  const std::string computer = in.Next();
  const std::string cpu = in.Next();
  const std::string launcher = in.Next();
  machine.Write("machine.ini", std::string(test_support::kMachineIni) + "computer_name = " + computer +
                                   "\ncpu_brand = " + cpu + "\n[user]\nname = " + user +
                                   "\n[launcher]\npath = C:\\Portavel\\" + launcher + "\n");

  const std::string display_version = in.Next();
  const std::string release_id = in.Next();
  char debug[16];
  std::snprintf(debug, sizeof debug, "%08x", static_cast<unsigned>(Dword(in.Next())));
  machine.Write("registry.reg",
                test_support::BareRegistryFile(
                    test_support::SystemKeys("\"EnableLUA\"=dword:00000001\r\n",
                                             "\"DisplayVersion\"=" + RegString(display_version) +
                                                 "\r\n\"ReleaseId\"=" + RegString(release_id) + "\r\n") +
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.\\Launcher]\r\n\"Debug\"=dword:" +
                    debug + "\r\n"));
  machine.WriteC("Portavel/tsystem1.exe");
  const std::string file_name = in.Next();
  if (IsFileName(file_name)) machine.WriteC("Portavel/" + file_name);
}

// One launcher run on the folder as it stands; false when the folder is refused.
bool Run(const fs::path& root, const std::string& command_line) {
  std::unique_ptr<sim::SimWorkstation> workstation;
  try {
    workstation = sim::SimWorkstation::Load(root);
  } catch (const sim::MachineFolderError&) {
    return false;
  }
  RunLauncher(workstation->platform(), command_line);
  workstation->Save();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // List mode prints its report; the fuzzer's own output goes to standard error.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const test_support::Workstation machine;
  Fields in(data, size);
  BuildMachine(machine, in);
  const std::string arguments = in.Next();
  const std::string archive = in.Rest();
  if (!archive.empty()) machine.WriteC("Portavel/tsystem0.dll", archive);

  for (const char* mode : {"", "list ", "replace ", "preload "}) {
    if (!Run(machine.root(), std::string("-d100 ") + mode + arguments)) break;
  }
  return 0;
}
