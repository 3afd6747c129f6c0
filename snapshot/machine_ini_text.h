// The machine.ini text of a snapshot's facts.
#pragma once

#include <cstdint>
#include <string>

#include "snapshot/machine_record.h"

namespace snapshot {

std::string MachineIniText(const MachineRecord& record);

// The [fail] value that fails every call of an operation with `error`.
std::string FailureRule(std::uint32_t error);

}  // namespace snapshot
