// Simulated workstation: access decisions from SDDL descriptors.
//
// Covers what the machine folders use: allow and deny entries, the usual rights
// abbreviations and SID aliases, inheritance flags. Owners, privileges and
// conditional entries are not modelled.
#include "platform/sim/access_check.h"

#include <array>
#include <cstdlib>
#include <optional>

#include "platform/sim/text_util.h"

namespace sim {
namespace {

struct Alias {
  std::string_view code;
  std::string_view sid;
};
constexpr std::array kSidAliases = {
    Alias{"WD", "S-1-1-0"},      Alias{"AU", "S-1-5-11"},     Alias{"IU", "S-1-5-4"},
    Alias{"SY", "S-1-5-18"},     Alias{"BA", "S-1-5-32-544"}, Alias{"BU", "S-1-5-32-545"},
    Alias{"PU", "S-1-5-32-547"}, Alias{"LS", "S-1-5-19"},     Alias{"NS", "S-1-5-20"},
};

struct Right {
  std::string_view code;
  std::uint32_t mask;
};
constexpr std::array kRights = {
    Right{"GA", 0x10000000}, Right{"GR", 0x80000000}, Right{"GW", 0x40000000},
    Right{"GX", 0x20000000}, Right{"FA", 0x001F01FF}, Right{"FR", 0x00120089},
    Right{"FW", 0x00120116}, Right{"FX", 0x001200A0}, Right{"KA", 0x000F003F},
    Right{"KR", 0x00020019}, Right{"KW", 0x00020006}, Right{"KX", 0x00020019},
    Right{"SD", 0x00010000}, Right{"RC", 0x00020000}, Right{"WD", 0x00040000},
    Right{"WO", 0x00080000}, Right{"CC", 0x00000001}, Right{"DC", 0x00000002},
    Right{"LC", 0x00000004}, Right{"SW", 0x00000008}, Right{"RP", 0x00000010},
    Right{"WP", 0x00000020}, Right{"DT", 0x00000040}, Right{"LO", 0x00000080},
    Right{"CR", 0x00000100},
};

std::uint32_t MapGeneric(std::uint32_t mask, ObjectKind kind) {
  const bool key = kind == ObjectKind::Key;
  std::uint32_t mapped = mask & 0x0FFFFFFF;
  if (mask & 0x10000000) mapped |= key ? 0x000F003F : 0x001F01FF;
  if (mask & 0x80000000) mapped |= key ? 0x00020019 : 0x00120089;
  if (mask & 0x40000000) mapped |= key ? 0x00020006 : 0x00120116;
  if (mask & 0x20000000) mapped |= key ? 0x00020019 : 0x001200A0;
  return mapped & ~0x00000300u & ~0x02000000u;  // view flags and MAXIMUM_ALLOWED
}

std::optional<std::uint32_t> ParseRights(std::string_view text) {
  if (StartsWithIgnoreCase(text, "0x")) {
    std::string digits(text.substr(2));
    char* end = nullptr;
    unsigned long value = std::strtoul(digits.c_str(), &end, 16);
    if (digits.empty() || *end != '\0') return std::nullopt;
    return static_cast<std::uint32_t>(value);
  }
  std::uint32_t mask = 0;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::string_view code = text.substr(i, 2);
    bool known = false;
    for (const auto& right : kRights)
      if (EqualsIgnoreCase(right.code, code)) {
        mask |= right.mask;
        known = true;
      }
    if (!known) return std::nullopt;
  }
  return mask;
}

std::string ResolveSid(std::string_view text) {
  for (const auto& alias : kSidAliases)
    if (EqualsIgnoreCase(alias.code, text)) return std::string(alias.sid);
  return std::string(text);
}

struct Ace {
  bool allow = true;
  std::string flags;
  std::uint32_t mask = 0;
  std::string sid;
};

// Splits "(A;OICI;FA;;;WD)" into its six fields.
std::optional<Ace> ParseAce(std::string_view body) {
  std::array<std::string_view, 6> fields;
  std::size_t field = 0, start = 0;
  for (std::size_t i = 0; i <= body.size(); ++i) {
    if (i == body.size() || body[i] == ';') {
      if (field >= fields.size()) return std::nullopt;
      fields[field++] = body.substr(start, i - start);
      start = i + 1;
    }
  }
  if (field != fields.size()) return std::nullopt;
  Ace ace;
  if (EqualsIgnoreCase(fields[0], "A")) ace.allow = true;
  else if (EqualsIgnoreCase(fields[0], "D")) ace.allow = false;
  else return std::nullopt;
  ace.flags = std::string(fields[1]);
  auto mask = ParseRights(fields[2]);
  if (!mask) return std::nullopt;
  ace.mask = *mask;
  ace.sid = ResolveSid(fields[5]);
  return ace;
}

bool HasFlag(std::string_view flags, std::string_view flag) {
  for (std::size_t i = 0; i < flags.size(); i += 2)
    if (EqualsIgnoreCase(flags.substr(i, 2), flag)) return true;
  return false;
}

}  // namespace

bool AccessAllowed(std::string_view sddl, bool inherited, ObjectKind kind,
                   const AccessToken& token, std::uint32_t desired_access) {
  std::size_t dacl = sddl.find("D:");
  if (dacl == std::string_view::npos) return true;  // no DACL: everything granted
  std::string_view rest = sddl.substr(dacl + 2);
  // The DACL ends where the SACL begins.
  if (std::size_t sacl = rest.find("S:"); sacl != std::string_view::npos &&
                                          rest.find('(') > sacl)
    rest = rest.substr(0, sacl);

  const std::uint32_t wanted = MapGeneric(desired_access, kind);
  std::uint32_t granted = 0;
  for (std::size_t open = rest.find('('); open != std::string_view::npos;
       open = rest.find('(', open + 1)) {
    std::size_t close = rest.find(')', open);
    if (close == std::string_view::npos) break;
    auto ace = ParseAce(rest.substr(open + 1, close - open - 1));
    if (!ace) continue;  // an entry the sim does not understand grants nothing
    const bool container = kind != ObjectKind::File;
    if (inherited) {
      if (!HasFlag(ace->flags, container ? "CI" : "OI")) continue;
    } else if (HasFlag(ace->flags, "IO")) {
      continue;
    }
    bool applies = false;
    for (const auto& sid : token.sids)
      if (EqualsIgnoreCase(sid, ace->sid)) applies = true;
    if (!applies) continue;
    const std::uint32_t mask = MapGeneric(ace->mask, kind);
    if (!ace->allow) {
      if (mask & wanted & ~granted) return false;
      continue;
    }
    granted |= mask;
    if ((granted & wanted) == wanted) return true;
  }
  return (granted & wanted) == wanted;
}

}  // namespace sim
