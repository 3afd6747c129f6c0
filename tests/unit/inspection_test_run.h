// A launcher with its logs open on a temporary simulated workstation, for the tests
// of the system inspection: the machine's registry holds what a fresh Windows holds
// (UAC on, the release name 22H2) unless a test gives another.
#pragma once

#include "tests/unit/test_machine.h"

namespace inspection_test {

using test_support::BareRegistryFile;
using test_support::SystemKeys;
using Record = test_support::Record;

inline const std::string kFreshRegistry = test_support::RegistryFile();

// The launcher of a test, logging at `level` (1 diagnostic, 100 developer).
struct InspectionRun : unit::LoggedRun {
  explicit InspectionRun(const std::string& ini = "", const std::string& registry = kFreshRegistry,
                         int level = unit::kDeveloper)
      : LoggedRun(ini, level, registry) {}
};

}  // namespace inspection_test
