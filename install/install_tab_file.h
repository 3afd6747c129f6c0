// Bringing the product's files up to date from the install archive tsystem0.dll.
#pragma once

#include <cstdint>

struct Launcher;

// Walks every record of the archive in table order. INSTALL_UPGRADE installs each
// file as its record's install rule says; INSTALL_REPLACE backs every file up and
// overwrites it, clearing SystemFilesReplaced when a file could not be backed up or
// copied. An archive that cannot be opened is reported in the error dialog.
void InstallTABFile(Launcher& l, std::uint32_t install_mode);
