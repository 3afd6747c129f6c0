#include "snapshot/take_snapshot.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text_case.h"
#include "install/product_fonts.h"
#include "snapshot/capture_facts.h"
#include "snapshot/capture_files.h"
#include "snapshot/capture_registry.h"
#include "snapshot/capture_security.h"
#include "snapshot/denials.h"
#include "snapshot/machine_ini_text.h"
#include "snapshot/registry_text.h"
#include "snapshot/security_text.h"
#include "snapshot/system_files.h"

namespace snapshot {
namespace {

// Switches the WOW64 file-system redirection off while it lives, so that the system
// folders are read where they really lie, as the drives of a machine folder hold them.
class RedirectionOff {
 public:
  explicit RedirectionOff(platform::FileSystem& files) : files_(files) {
    off_ = files_.Wow64DisableWow64FsRedirection(&old_value_);
  }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;
  ~RedirectionOff() {
    if (off_) files_.Wow64RevertWow64FsRedirection(old_value_);
  }

 private:
  platform::FileSystem& files_;
  void* old_value_ = nullptr;
  bool off_ = false;
};

bool WriteText(SnapshotOutput& out, std::string_view name, const std::string& text) {
  MemorySource source({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  const bool written = out.WriteFile(name, source, 0, 0);
  out.Report(std::string(written ? "wrote " : "failed ") + std::string(name));
  return written;
}

// Puts what reproduces each denial into the facts and descriptors, and reports it.
void RecordDenials(const Denials& denials, MachineRecord& facts,
                   std::vector<std::pair<std::string, std::string>>& descriptors,
                   SnapshotOutput& out) {
  for (const auto& denied : denials.objects()) {
    const std::string sddl = DenyingSddl(denied.key, facts.token_admin);
    // A key readable at one query and denied at the next keeps the denial.
    std::erase_if(descriptors,
                  [&](const auto& entry) { return EqualsIgnoreCase(entry.first, denied.object); });
    descriptors.emplace_back(denied.object, sddl);
    out.Report("denied " + denied.object + ": security.txt denies it (" + sddl + ")");
  }
  for (const auto& [operation, error] : denials.failures()) {
    facts.failures.emplace_back(operation, error);
    out.Report("failed " + operation + " with error " + std::to_string(error) +
               ": machine.ini fails every call ([fail] " + operation + " = " + FailureRule(error) +
               ")");
  }
}

}  // namespace

bool TakeSnapshot(platform::Platform& os, std::string_view launcher_path, SnapshotOutput& out) {
  Denials denials;
  MachineRecord facts = CaptureFacts(os, launcher_path, denials);
  const std::string launcher_folder(launcher_path.substr(0, launcher_path.find_last_of('\\')));
  const std::string windows = FolderOf(facts, "windows");
  const std::string program_data = Below(FolderOf(facts, "program_data"), "Veltrix");
  const std::string user_cache = Below(FolderOf(facts, "local_app_data"), "Norvane\\Portavel\\_tcache1");
  const std::string win_ini = Below(windows, "win.ini");
  const std::string shortcuts = Below(FolderOf(facts, "programs"), "Veltrix Solutions");

  const RedirectionOff native_folders(os.files);
  FileCapture files(os, out, denials);
  for (const auto& entry : facts.folders)
    if (!entry.second.empty()) files.EmptyFolder(entry.second);
  files.Tree(launcher_folder);
  for (const std::string& tree : {program_data, user_cache, shortcuts})
    if (!tree.empty()) files.Tree(tree);
  if (!windows.empty()) {
    for (const char* font : kProductFonts) files.File(Below(windows, font));
    files.File(win_ini);
  }
  for (const std::string& path : SystemFilesTouched(os, facts, launcher_folder)) files.File(path);
  // The launcher's own version comes from [launcher], not [versions].
  for (const auto& entry : files.versions())
    if (!EqualsIgnoreCase(entry.first, launcher_path)) facts.versions.push_back(entry);

  RegistryCaptureOptions options;
  options.both_views = facts.Is64BitMachine();
  options.reflecting_system = facts.major == 6 && facts.minor == 0;
  const std::vector<RegistryKeyRecord> keys = CaptureRegistry(os.registry, options, denials);
  for (const RegistryKeyRecord& key : keys)
    out.Report("key " + key.path + " (" + std::to_string(key.values.size()) + " values)");

  std::vector<std::string> checked = {program_data, Below(launcher_folder, "_tcache1"), user_cache,
                                      win_ini};
  checked.erase(std::remove(checked.begin(), checked.end(), std::string()), checked.end());
  auto descriptors = CaptureSecurity(os, checked, denials);
  for (const auto& entry : descriptors) out.Report("descriptor " + entry.first);
  RecordDenials(denials, facts, descriptors, out);

  bool written = WriteText(out, "machine.ini", MachineIniText(facts));
  written = WriteText(out, "registry.reg", RegistryText(keys)) && written;
  written = WriteText(out, "security.txt", SecurityText(descriptors)) && written;
  return written;
}

}  // namespace snapshot
