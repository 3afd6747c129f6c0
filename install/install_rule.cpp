// The install rules of the upgrade mode.
#include "install/install_rule.h"

#include <array>

#include "install/install_rules.h"

namespace {

// Year, month, day, hour and minute, in the order they are compared.
using Minute = std::array<int, 5>;

Minute MinuteOf(const platform::SystemTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute};
}

Minute MinuteOf(const TABFileTime& t) { return {t.Year, t.Month, t.Day, t.Hour, t.Minute}; }

}  // namespace

const char* InstallRuleName(std::uint32_t rule) {
  switch (rule) {
    case INSTALL_DIFFERENT: return "INSTALL_DIFFERENT";
    case INSTALL_NEWER: return "INSTALL_NEWER";
    case INSTALL_ALWAYS: return "INSTALL_ALWAYS";
    case INSTALL_DOES_NOT_EXIST: return "INSTALL_DOES_NOT_EXIST";
    default: return nullptr;
  }
}

bool RuleInstalls(std::uint32_t rule, const std::optional<InstalledFile>& installed,
                  const TABFileTime& time, std::uint32_t size) {
  switch (rule) {
    case INSTALL_DIFFERENT:
      return !installed || MinuteOf(installed->time) != MinuteOf(time) || installed->size != size;
    case INSTALL_NEWER:
      return !installed || MinuteOf(time) > MinuteOf(installed->time);
    case INSTALL_DOES_NOT_EXIST:
      return !installed;
    case INSTALL_ALWAYS:
      return true;
    default:
      return false;
  }
}
