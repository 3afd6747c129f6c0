// Simulated workstation: the files the launcher holds open.
#include "platform/sim/open_files.h"

#include "platform/files.h"

namespace sim {
namespace {

// Whether a handle that shares `share` admits another handle asking for `access`.
bool Admits(std::uint32_t share, std::uint32_t access) {
  if ((access & platform::kGenericRead) && !(share & platform::kFileShareRead)) return false;
  if ((access & platform::kGenericWrite) && !(share & platform::kFileShareWrite)) return false;
  return true;
}

}  // namespace

bool OpenFiles::SharingAllows(const std::filesystem::path& host, std::uint32_t access,
                              std::uint32_t share) const {
  for (const auto& held : held_elsewhere_)
    if (held == host) return false;
  for (const auto& [handle, file] : files_) {
    if (file->host != host) continue;
    if (!Admits(file->share, access) || !Admits(share, file->access)) return false;
  }
  return true;
}

bool OpenFiles::InUse(const std::filesystem::path& host) const {
  for (const auto& held : held_elsewhere_)
    if (held == host) return true;
  for (const auto& [handle, file] : files_)
    if (file->host == host) return true;
  return false;
}

platform::Handle OpenFiles::Add(std::unique_ptr<OpenFile> file) {
  const platform::Handle handle = next_handle_;
  next_handle_ += 4;
  files_.emplace(handle, std::move(file));
  return handle;
}

OpenFile* OpenFiles::Find(platform::Handle handle) {
  auto found = files_.find(handle);
  return found == files_.end() ? nullptr : found->second.get();
}

bool OpenFiles::Close(platform::Handle handle) { return files_.erase(handle) != 0; }

}  // namespace sim
