// Simulated workstation: files and folders as security.txt names them, and the rights
// the launcher's token holds on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/access_check.h"
#include "platform/sim/sim_state.h"

namespace sim {

struct FileObject {
  std::string name;  // the Windows path, normalised
  ObjectKind kind;
};

// The file or folder at a Windows path; nothing (and the last error) when it does not
// exist.
std::optional<FileObject> FindFileObject(SimState& s, std::string_view path);

// The folder that holds an object; a drive root is its own.
FileObject ParentFolder(std::string_view name);

// The rights the launcher's token holds on an object, from the descriptor in force.
std::uint32_t TokenRights(const SimState& s, const FileObject& object);

// Makes a new folder at `path` when nothing stands there, its parent is a folder and
// the token may add a sub-folder to the parent: its Windows name, or nothing with the
// last error Windows gives (183, 3 or 5).
std::optional<std::string> MakeFolder(SimState& s, std::string_view path);

}  // namespace sim
