// Simulated workstation: makes chosen calls of platform operations fail, as the
// machine's [fail] section says.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/types.h"

namespace sim {

class FaultInjector {
 public:
  explicit FaultInjector(std::map<std::string, std::vector<FaultRule>, CaseInsensitiveLess> rules)
      : rules_(std::move(rules)) {}

  // Counts a call of `operation`; the error it must fail with, if this call fails.
  std::optional<platform::ErrorCode> Call(std::string_view operation);
  // How often each operation was called so far, failed calls included.
  const std::map<std::string, std::uint32_t, CaseInsensitiveLess>& calls() const { return calls_; }

 private:
  std::map<std::string, std::vector<FaultRule>, CaseInsensitiveLess> rules_;
  std::map<std::string, std::uint32_t, CaseInsensitiveLess> calls_;
};

// Every platform operation name the simulated workstation knows, for [fail].
const std::vector<std::string_view>& KnownOperations();

}  // namespace sim
