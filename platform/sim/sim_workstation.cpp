// Simulated workstation: loading a machine folder and saving it back.
#include <system_error>

#include "platform/sim/folder_entries.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_network.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_security.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_system_info.h"
#include "platform/sim/sim_user_interface.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

// The journals a run appends to, in the folder itself.
constexpr const char* kJournals[] = {"ui.log", "processes.log", "system.log", "debugger.log",
                                     "stdout.log", "faults.log"};

bool WriteFolderFile(const fs::path& host, const std::string& text) {
  auto out = OpenRegularFile(host, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  *out << text;
  out->close();
  return !out->fail();
}

// drives and drives/C are folders of the machine folder's own, or missing.
void RequireDriveFolders(const fs::path& folder) {
  for (const char* name : {"drives", "drives/C"}) {
    const EntryKind kind = KindOf(folder / name);
    if (kind != EntryKind::Folder && kind != EntryKind::Missing)
      throw MachineFolderError(name, 0, "not a folder (a link, a file, a pipe or a device)");
  }
}

class Workstation : public SimWorkstation {
 public:
  Workstation(fs::path folder, Machine machine, RegistryTree registry, SecurityTable security,
              bool real_sleep)
      : state_(std::move(folder), std::move(machine), std::move(registry), std::move(security),
               real_sleep),
        files_(state_),
        registry_(state_),
        processes_(state_),
        ui_(state_),
        system_(state_),
        shell_(state_),
        system_info_(state_),
        security_(state_),
        network_(state_),
        platform_{files_, registry_,    processes_, ui_,      system_,
                  shell_, system_info_, security_,  network_} {}

  platform::Platform& platform() override { return platform_; }
  const Machine& machine() const override { return state_.machine; }
  fs::path HostPath(std::string_view windows_path) const override {
    platform::ErrorCode error = 0;
    return state_.drives.Resolve(windows_path, state_.current_directory, &error).value_or(fs::path());
  }
  std::uint64_t ElapsedMilliseconds() const override { return state_.clock.ElapsedMilliseconds(); }
  std::map<std::string, std::uint32_t, CaseInsensitiveLess> CallCounts() const override {
    return state_.faults.calls();
  }
  std::vector<std::string> Save() override {
    std::vector<std::string> failed;
    if (!WriteFolderFile(state_.folder / "registry.reg", WriteRegistryText(state_.registry)))
      failed.push_back("registry.reg");
    if (!WriteFolderFile(state_.folder / "security.txt", WriteSecurityText(state_.security)))
      failed.push_back("security.txt");
    return failed;
  }

 private:
  SimState state_;
  SimFiles files_;
  SimRegistry registry_;
  SimProcesses processes_;
  SimUserInterface ui_;
  SimSystem system_;
  SimShell shell_;
  SimSystemInfo system_info_;
  SimSecurity security_;
  SimNetwork network_;
  platform::Platform platform_;
};

}  // namespace

std::unique_ptr<SimWorkstation> SimWorkstation::Load(const fs::path& folder, SimOptions options) {
  auto machine_text = ReadFolderFile(folder, "machine.ini");
  if (!machine_text) throw MachineFolderError("machine.ini", 0, "missing");
  Machine machine = ParseMachineIni(*machine_text, "machine.ini", KnownOperations());
  RegistryTree registry =
      ParseRegistryText(ReadFolderFile(folder, "registry.reg").value_or(""), "registry.reg");
  SecurityTable security =
      ParseSecurityText(ReadFolderFile(folder, "security.txt").value_or(""), "security.txt");
  for (const char* journal : kJournals) RequireRegularOrMissing(folder, journal);
  RequireDriveFolders(folder);
  std::error_code ec;
  fs::create_directories(folder / "drives" / "C", ec);
  if (ec) throw MachineFolderError("drives", 0, "cannot create drives/C: " + ec.message());
  return std::make_unique<Workstation>(folder, std::move(machine), std::move(registry),
                                       std::move(security), options.real_sleep);
}

}  // namespace sim
