// Simulated workstation: the files the launcher holds open, by handle, with the
// sharing rules of Windows between the handles of one file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "platform/processes.h"

namespace sim {

struct OpenFile {
  std::filesystem::path host;
  std::uint32_t access = 0;  // GENERIC_READ and GENERIC_WRITE bits
  std::uint32_t share = 0;   // FILE_SHARE_READ and FILE_SHARE_WRITE bits
  std::string object;        // the Windows path, as security.txt names it
  bool folder = false;       // opened with backup semantics: no bytes, only security
  std::uint32_t rights = 0;  // `access` as the object's specific and standard rights
  std::fstream stream;
  std::uint64_t position = 0;
};

class OpenFiles {
 public:
  // Whether `host` may be opened with `access` and `share` beside its open handles:
  // each side must share what the other asks for.
  bool SharingAllows(const std::filesystem::path& host, std::uint32_t access,
                     std::uint32_t share) const;

  platform::Handle Add(std::unique_ptr<OpenFile> file);

  // The open file of a handle, or null.
  OpenFile* Find(platform::Handle handle);

  // Closes the file of a handle; false when the handle is not an open file.
  bool Close(platform::Handle handle);

 private:
  std::map<platform::Handle, std::unique_ptr<OpenFile>> files_;
  // File handles are multiples of 4, as on Windows, far above the process handles.
  platform::Handle next_handle_ = 0x10000;
};

}  // namespace sim
