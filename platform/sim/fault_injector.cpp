// Simulated workstation: fault injection by operation name and call number.
#include "platform/sim/fault_injector.h"

#include <span>

#include "platform/sim/sim_files.h"
#include "platform/sim/sim_network.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_security.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_system_info.h"
#include "platform/sim/sim_user_interface.h"

namespace sim {

std::optional<FaultRule> FaultInjector::Call(std::string_view operation) {
  std::uint32_t number = ++calls_[std::string(operation)];
  auto found = rules_.find(operation);
  if (found == rules_.end()) return std::nullopt;
  for (const FaultRule& rule : found->second)
    if (rule.call == number || rule.call == kEveryCall) return rule;
  return std::nullopt;
}

const std::vector<std::string_view>& KnownOperations() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> all;
    for (const auto& operations : {std::span<const std::string_view>(SimFiles::kOperations),
                                   std::span<const std::string_view>(SimRegistry::kOperations),
                                   std::span<const std::string_view>(SimProcesses::kOperations),
                                   std::span<const std::string_view>(SimUserInterface::kOperations),
                                   std::span<const std::string_view>(SimSystem::kOperations),
                                   std::span<const std::string_view>(SimShell::kOperations),
                                   std::span<const std::string_view>(SimSystemInfo::kOperations),
                                   std::span<const std::string_view>(SimSecurity::kOperations),
                                   std::span<const std::string_view>(SimNetwork::kOperations)})
      all.insert(all.end(), operations.begin(), operations.end());
    return all;
  }();
  return names;
}

}  // namespace sim
