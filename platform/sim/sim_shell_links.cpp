// Simulated workstation: shell links, saved as small text files that tests and
// people can read.
#include <fstream>
#include <system_error>

#include "platform/error_codes.h"
#include "platform/sim/journal.h"
#include "platform/sim/sim_shell.h"

namespace sim {
namespace {

constexpr platform::HResult kENoInterface = static_cast<platform::HResult>(0x80004002u);
constexpr platform::HResult kEPointer = static_cast<platform::HResult>(0x80004003u);
constexpr platform::HResult kCoENotInitialized = static_cast<platform::HResult>(0x800401F0u);

// A Win32 error in its HRESULT form; an injected larger value stays as it is.
platform::HResult FromWin32(platform::ErrorCode error) {
  return static_cast<platform::HResult>(error <= 0xFFFF ? 0x80070000u | error : error);
}

}  // namespace

platform::HResult SimShell::CreateShellLink(platform::ShellLink* link) {
  platform::ErrorCode error = 0;
  if (s_.Fails("CoCreateInstance", &error)) return FromWin32(error);
  if (com_initializations_ == 0) return kCoENotInitialized;
  *link = next_link_++;
  links_[*link] = {};
  return platform::kSOk;
}

platform::HResult SimShell::SetShellLinkField(platform::ShellLink link, platform::ShellLinkField field,
                                              std::string_view value) {
  platform::ErrorCode error = 0;
  if (s_.Fails("SetShellLinkField", &error)) return FromWin32(error);
  auto it = links_.find(link);
  if (it == links_.end()) return kEPointer;
  it->second[static_cast<std::size_t>(field)] = std::string(value);
  return platform::kSOk;
}

platform::HResult SimShell::QueryPersistFile(platform::ShellLink link) {
  platform::ErrorCode error = 0;
  if (s_.Fails("QueryInterface", &error)) return FromWin32(error);
  return links_.count(link) != 0 ? platform::kSOk : kENoInterface;
}

platform::HResult SimShell::SaveShellLink(platform::ShellLink link, std::string_view path) {
  platform::ErrorCode error = 0;
  if (s_.Fails("SaveShellLink", &error)) return FromWin32(error);
  auto it = links_.find(link);
  if (it == links_.end()) return kEPointer;
  auto host = s_.Resolve(path);
  std::error_code ec;
  if (!host) return FromWin32(s_.last_error);
  if (!std::filesystem::is_directory(host->parent_path(), ec)) return FromWin32(platform::kErrorPathNotFound);
  if (std::filesystem::is_directory(*host, ec)) return FromWin32(platform::kErrorAccessDenied);
  std::ofstream out(*host, std::ios::binary | std::ios::trunc);
  s_.drives.Changed(*host);
  if (!out) return FromWin32(platform::kErrorAccessDenied);
  const auto& f = it->second;
  using Field = platform::ShellLinkField;
  auto at = [&](Field field) -> const std::string& { return f[static_cast<std::size_t>(field)]; };
  PutTextMode(out, "[Shortcut]\nTarget=" + at(Field::Path) + "\nArguments=" + at(Field::Arguments) +
                       "\nWorkingDirectory=" + at(Field::WorkingDirectory) + "\nDescription=" +
                       at(Field::Description) + "\nIconLocation=" + at(Field::IconLocation) + ",0\n");
  return out ? platform::kSOk : FromWin32(platform::kErrorAccessDenied);
}

void SimShell::ReleaseShellLink(platform::ShellLink link) { links_.erase(link); }

}  // namespace sim
