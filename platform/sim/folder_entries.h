// Simulated workstation: the machine folder's own entries, looked at without
// following symbolic links.
//
// A machine folder comes from someone else's workstation, so nothing in it is
// trusted to stay inside it: the simulated machine reads and writes regular files
// and folders only. A symbolic link (wherever it points), a pipe, a device or a
// socket is refused, as Windows refuses a path it may not open: access denied.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace sim {

enum class EntryKind { Missing, File, Folder, Refused };

// What `host` is, the entry itself and not what a link names.
EntryKind KindOf(const std::filesystem::path& host);
// The same of an entry of a listing, mostly without asking the host again.
EntryKind KindOf(const std::filesystem::directory_entry& entry);

// `host` opened with `mode` when it is a regular file or missing (and then created);
// nothing when it is refused or cannot be opened.
std::optional<std::ofstream> OpenRegularFile(const std::filesystem::path& host,
                                             std::ios::openmode mode);

// Throws MachineFolderError naming the machine folder's file `name` when it exists
// and is not a regular file.
void RequireRegularOrMissing(const std::filesystem::path& folder, const std::string& name);

// The bytes of the machine folder's file `name`: nothing when it is missing; throws
// MachineFolderError naming it when it is not a readable regular file.
std::optional<std::string> ReadFolderFile(const std::filesystem::path& folder,
                                          const std::string& name);

}  // namespace sim
