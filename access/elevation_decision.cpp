// Whether a step that needs administrator rights may go on.
#include "access/elevation_decision.h"

#include <array>

namespace {

enum class Is { No, Yes, Any };

bool Matches(Is rule, bool fact) { return rule == Is::Any || (rule == Is::Yes) == fact; }

struct ElevationRule {
  Is win7_or_newer;
  Is uac_enabled;
  Is process_elevated;
  Is admin_invoked;
  Is elevation_denied;
  ElevationDecision decision;
};

// Read from the top; the first matching rule decides. Every combination matches one.
constexpr std::array kRules = {
    ElevationRule{Is::No, Is::Any, Is::Any, Is::Yes, Is::Any,
                  {"RequestElevatedRights: Process is invoked as admin. No elevation is necessary on this OS.",
                   ElevationAnswer::Allow}},
    ElevationRule{Is::No, Is::Any, Is::Any, Is::No, Is::Any,
                  {"RequestElevatedRights: Process is NOT invoked as admin. Process must have admin privileges to proceed.",
                   ElevationAnswer::Refuse}},
    ElevationRule{Is::Yes, Is::No, Is::Any, Is::Yes, Is::Any, {nullptr, ElevationAnswer::Allow}},
    ElevationRule{Is::Yes, Is::No, Is::Any, Is::No, Is::Any,
                  {"RequestElevatedRights: UAC appears to be disabled, and process is NOT invoked as admin. Process must have admin privileges to proceed.",
                   ElevationAnswer::Refuse}},
    ElevationRule{Is::Yes, Is::Yes, Is::Yes, Is::Any, Is::Any,
                  {"RequestElevatedRights: Process has UAC elevation privileges.", ElevationAnswer::Allow}},
    ElevationRule{Is::Yes, Is::Yes, Is::No, Is::Yes, Is::Any,
                  {"RequestElevatedRights: Process DOES NOT have UAC elevation privileges, but is running as an admin. This should be OK.",
                   ElevationAnswer::Allow}},
    ElevationRule{Is::Yes, Is::Yes, Is::No, Is::No, Is::Yes,
                  {"RequestElevatedRights: Process DOES NOT have UAC elevation privileges and process is NOT invoked as admin. Previous elevation request was denied. Process must have admin privileges to proceed.",
                   ElevationAnswer::Refuse}},
    ElevationRule{Is::Yes, Is::Yes, Is::No, Is::No, Is::No,
                  {"RequestElevatedRights: Process DOES NOT have UAC elevation privileges or admin rights. We will prompt to restart with elevated status.",
                   ElevationAnswer::AskUser}},
};

}  // namespace

const ElevationDecision& DecideElevation(const ElevationFacts& facts) {
  for (const auto& rule : kRules) {
    if (Matches(rule.win7_or_newer, facts.win7_or_newer) && Matches(rule.uac_enabled, facts.uac_enabled) &&
        Matches(rule.process_elevated, facts.process_elevated) &&
        Matches(rule.admin_invoked, facts.admin_invoked) &&
        Matches(rule.elevation_denied, facts.elevation_denied))
      return rule.decision;
  }
  // Not reached: the rules cover every combination.
  return kRules.back().decision;
}
