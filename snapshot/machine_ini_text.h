// The machine.ini text of a snapshot's facts.
#pragma once

#include <string>

#include "snapshot/machine_record.h"

namespace snapshot {

std::string MachineIniText(const MachineRecord& record);

}  // namespace snapshot
