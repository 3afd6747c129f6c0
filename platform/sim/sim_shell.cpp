// Simulated workstation: programs started through the shell, and COM.
#include "platform/sim/sim_shell.h"

#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

// The product is recorded, never run: it would outlive the launcher.
bool IsProduct(std::string_view windows_path) {
  const std::size_t slash = windows_path.rfind('\\');
  const std::string_view name =
      slash == std::string_view::npos ? windows_path : windows_path.substr(slash + 1);
  return EqualsIgnoreCase(name, "tsystem1.exe");
}

}  // namespace

bool SimShell::ShellExecuteEx(const platform::ShellStart& start, platform::Handle* process) {
  if (s_.Fails("ShellExecuteEx")) return false;
  auto host = s_.Resolve(start.file);
  if (!host) return false;
  const std::string normal = Drives::Normalize(start.file, s_.current_directory).value_or("");
  // The launcher's own file runs, so it exists whether or not the drive holds it.
  const bool is_launcher = EqualsIgnoreCase(normal, s_.machine.launcher.path);
  std::error_code ec;
  if (!is_launcher && !std::filesystem::is_regular_file(*host, ec)) {
    s_.last_error = std::filesystem::is_directory(host->parent_path(), ec)
                        ? platform::kErrorFileNotFound
                        : platform::kErrorPathNotFound;
    return false;
  }

  const auto listed = s_.machine.programs.find(normal);
  const ProgramBehaviour behaviour =
      listed == s_.machine.programs.end() ? ProgramBehaviour{} : listed->second;
  // "runas" asks for consent unless the launcher already runs elevated.
  const bool consent_asked = EqualsIgnoreCase(start.verb, "runas") && !s_.machine.user.elevated;
  if (behaviour.refuse || (consent_asked && EqualsIgnoreCase(s_.machine.ui.consent, "no"))) {
    s_.last_error = platform::kErrorCancelled;
    return false;
  }

  StartedProgram program;
  program.verb = start.verb;
  program.file = start.file;
  program.parameters = start.parameters;
  program.show = start.show;
  // The launcher's elevated restart and the product are recorded and not run.
  if (!is_launcher && !IsProduct(normal)) {
    program.ends_at = s_.clock.ElapsedMilliseconds() + behaviour.run_milliseconds;
    program.exit_code = static_cast<std::uint32_t>(behaviour.exit_code);
  }
  *process = s_.programs.Start(std::move(program));
  return true;
}

platform::HResult SimShell::CoInitialize() {
  platform::ErrorCode error = 0;
  if (s_.Fails("CoInitialize", &error)) {
    // An injected Win32 code comes back in its HRESULT form, as COM reports it.
    const std::uint32_t result = error <= 0xFFFF ? 0x80070000u | error : error;
    return static_cast<platform::HResult>(result);
  }
  return ++com_initializations_ == 1 ? platform::kSOk : platform::kSFalse;
}

void SimShell::CoUninitialize() {
  if (com_initializations_ > 0) --com_initializations_;
}

}  // namespace sim
