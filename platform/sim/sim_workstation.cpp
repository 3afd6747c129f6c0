// Simulated workstation: loading a machine folder and saving it back.
#include <fstream>
#include <sstream>
#include <system_error>

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

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
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
  void Save() override {
    WriteFile(state_.folder / "registry.reg", WriteRegistryText(state_.registry));
    WriteFile(state_.folder / "security.txt", WriteSecurityText(state_.security));
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
  auto machine_text = ReadFile(folder / "machine.ini");
  if (!machine_text) throw MachineFolderError("machine.ini", 0, "missing or unreadable");
  Machine machine = ParseMachineIni(*machine_text, "machine.ini", KnownOperations());
  RegistryTree registry =
      ParseRegistryText(ReadFile(folder / "registry.reg").value_or(""), "registry.reg");
  SecurityTable security =
      ParseSecurityText(ReadFile(folder / "security.txt").value_or(""), "security.txt");
  std::error_code ec;
  fs::create_directories(folder / "drives" / "C", ec);
  if (ec) throw MachineFolderError("drives", 0, "cannot create drives/C: " + ec.message());
  return std::make_unique<Workstation>(folder, std::move(machine), std::move(registry),
                                       std::move(security), options.real_sleep);
}

}  // namespace sim
