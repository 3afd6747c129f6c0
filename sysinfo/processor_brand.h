// The processor's brand string, from the processor identification instruction.
#pragma once

#include "base/fixed_string.h"

struct Launcher;

// The 48-byte brand of extended leaves 0x80000002 to 0x80000004 up to its
// terminator; empty when the processor reports no brand leaves.
void ReadProcessorBrand(Launcher& l, FixedString<64>& brand);
