// Where the 32-bit system files go.
#pragma once

#include "base/fixed_string.h"

struct Launcher;
struct SystemInfoObject;

// True when the 32-bit system folder SysWOW64Dir takes them: the launcher is the
// 64-bit build, or a 32-bit process under WOW64 that sees the x86 architecture;
// otherwise the system folder SysDir takes them.
bool Uses32BitSystemFolder(const SystemInfoObject& sys);

// The folder of KnownFoldersList that takes the 32-bit system files, by the rule
// above; loads the system information first when its hardware part is not loaded.
const PathBuffer& ThirtyTwoBitSystemDir(Launcher& l);
