// Simulated workstation: SDDL descriptors, read and written.
//
// Allow and deny entries with the inheritance flags, the usual rights abbreviations
// and SID aliases, an owner and a group. Audit entries, object entries and
// conditional entries are refused, as are the DACL's own flags other than P, AI, AR.
#include "platform/sim/sddl.h"

#include <array>
#include <cstdio>

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
    Alias{"CO", "S-1-3-0"},      Alias{"OW", "S-1-3-4"},
};

struct Code {
  std::string_view code;
  std::uint32_t value;
};
constexpr std::array kRights = {
    Code{"GA", 0x10000000}, Code{"GR", 0x80000000}, Code{"GW", 0x40000000}, Code{"GX", 0x20000000},
    Code{"FA", 0x001F01FF}, Code{"FR", 0x00120089}, Code{"FW", 0x00120116}, Code{"FX", 0x001200A0},
    Code{"KA", 0x000F003F}, Code{"KR", 0x00020019}, Code{"KW", 0x00020006}, Code{"KX", 0x00020019},
    Code{"SD", 0x00010000}, Code{"RC", 0x00020000}, Code{"WD", 0x00040000}, Code{"WO", 0x00080000},
    Code{"CC", 0x00000001}, Code{"DC", 0x00000002}, Code{"LC", 0x00000004}, Code{"SW", 0x00000008},
    Code{"RP", 0x00000010}, Code{"WP", 0x00000020}, Code{"DT", 0x00000040}, Code{"LO", 0x00000080},
    Code{"CR", 0x00000100},
};
constexpr std::array kAceFlags = {
    Code{"OI", kAceObjectInherit}, Code{"CI", kAceContainerInherit}, Code{"NP", kAceNoPropagate},
    Code{"IO", kAceInheritOnly},   Code{"ID", kAceInherited},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "S-1-<authority>-<sub>..." with up to 15 sub-authorities of at most 10 digits.
bool IsSidText(std::string_view text) {
  if (!StartsWithIgnoreCase(text, "S-1-")) return false;
  std::size_t parts = 0;
  std::size_t start = 4;
  while (true) {
    const std::size_t end = std::min(text.find('-', start), text.size());
    const std::string_view part = text.substr(start, end - start);
    if (part.empty() || part.size() > 10) return false;
    for (char c : part)
      if (!IsDigit(c)) return false;
    if (++parts > 16) return false;
    if (end == text.size()) return true;
    start = end + 1;
  }
}

std::optional<std::string> ParseSid(std::string_view text, std::string* error) {
  for (const auto& alias : kSidAliases)
    if (EqualsIgnoreCase(alias.code, text)) return std::string(alias.sid);
  if (IsSidText(text)) return std::string(text);
  *error = "unknown SID alias \"" + std::string(text) + "\"";
  return std::nullopt;
}

std::optional<std::uint32_t> ParseCodes(std::string_view text, const Code* codes, std::size_t count,
                                        const char* what, std::string* error) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::string_view code = text.substr(i, 2);
    bool known = false;
    for (std::size_t c = 0; c < count; ++c)
      if (EqualsIgnoreCase(codes[c].code, code)) {
        value |= codes[c].value;
        known = true;
      }
    if (!known) {
      *error = std::string("unknown ") + what + " \"" + std::string(code) + "\"";
      return std::nullopt;
    }
  }
  return value;
}

std::optional<std::uint32_t> ParseRights(std::string_view text, std::string* error) {
  if (StartsWithIgnoreCase(text, "0x")) {
    const std::string_view digits = text.substr(2);
    std::uint64_t value = 0;
    for (char c : digits) {
      const char lower = FoldCase(c);
      const int digit = IsDigit(c) ? c - '0' : (lower >= 'a' && lower <= 'f') ? lower - 'a' + 10 : -1;
      if (digit < 0 || value > 0x0FFFFFFF) {
        *error = "unknown right \"" + std::string(text) + "\"";
        return std::nullopt;
      }
      value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    if (digits.empty()) {
      *error = "unknown right \"" + std::string(text) + "\"";
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
  }
  if (text.empty()) {
    *error = "an access entry without rights";
    return std::nullopt;
  }
  return ParseCodes(text, kRights.data(), kRights.size(), "right", error);
}

// "A;OICI;FA;;;WD" without its parentheses.
std::optional<Ace> ParseAce(std::string_view body, std::string* error) {
  std::array<std::string_view, 6> fields;
  std::size_t field = 0, start = 0;
  for (std::size_t i = 0; i <= body.size(); ++i) {
    if (i == body.size() || body[i] == ';') {
      if (field == fields.size()) break;
      fields[field++] = body.substr(start, i - start);
      start = i + 1;
    }
  }
  if (field != fields.size() || start <= body.size()) {
    *error = "not valid SDDL: an access entry needs six fields \"(" + std::string(body) + ")\"";
    return std::nullopt;
  }
  Ace ace;
  if (EqualsIgnoreCase(fields[0], "A")) ace.allow = true;
  else if (EqualsIgnoreCase(fields[0], "D")) ace.allow = false;
  else {
    *error = "unsupported access entry type \"" + std::string(fields[0]) + "\"";
    return std::nullopt;
  }
  auto flags = ParseCodes(fields[1], kAceFlags.data(), kAceFlags.size(), "entry flag", error);
  auto mask = flags ? ParseRights(fields[2], error) : std::nullopt;
  if (!mask) return std::nullopt;
  if (!fields[3].empty() || !fields[4].empty()) {
    *error = "object access entries are not supported";
    return std::nullopt;
  }
  auto sid = ParseSid(fields[5], error);
  if (!sid) return std::nullopt;
  ace.flags = *flags;
  ace.mask = *mask;
  ace.sid = std::move(*sid);
  return ace;
}

// Where the component that starts at `from` ends: at the next "O:", "G:", "D:" or
// "S:" outside parentheses.
std::size_t ComponentEnd(std::string_view text, std::size_t from) {
  int depth = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    else if (text[i] == ')') --depth;
    else if (depth == 0 && i + 1 < text.size() && text[i + 1] == ':') {
      const char c = static_cast<char>(text[i] & ~0x20);
      if (c == 'O' || c == 'G' || c == 'D' || c == 'S') return i;
    }
  }
  return text.size();
}

bool ParseDacl(std::string_view text, Descriptor& d, std::string* error) {
  d.has_dacl = true;
  const std::size_t first = text.find('(');
  std::string_view flags = text.substr(0, std::min(first, text.size()));
  if (EqualsIgnoreCase(flags, "NO_ACCESS_CONTROL") && first == std::string_view::npos) {
    d.has_dacl = false;
    return true;
  }
  while (!flags.empty()) {
    if (StartsWithIgnoreCase(flags, "P")) flags.remove_prefix(1);
    else if (StartsWithIgnoreCase(flags, "AI") || StartsWithIgnoreCase(flags, "AR")) flags.remove_prefix(2);
    else {
      *error = "not valid SDDL: unknown DACL flags \"" + std::string(flags) + "\"";
      return false;
    }
  }
  std::size_t at = first == std::string_view::npos ? text.size() : first;
  while (at < text.size()) {
    const std::size_t close = text.find(')', at);
    if (text[at] != '(' || close == std::string_view::npos) {
      *error = "not valid SDDL: \"" + std::string(text.substr(at)) + "\" is not an access entry";
      return false;
    }
    if (d.aces.size() == kMaxAces) {
      *error = "more than " + std::to_string(kMaxAces) + " access entries";
      return false;
    }
    auto ace = ParseAce(text.substr(at + 1, close - at - 1), error);
    if (!ace) return false;
    d.aces.push_back(std::move(*ace));
    at = close + 1;
  }
  return true;
}

std::string SidForm(const std::string& sid) {
  for (const auto& alias : kSidAliases)
    if (alias.sid == sid) return std::string(alias.code);
  return sid;
}

}  // namespace

std::optional<Descriptor> ParseSddl(std::string_view text, std::string* error) {
  Descriptor d;
  bool seen[4] = {};
  std::size_t at = 0;
  while (at < text.size()) {
    if (at + 1 >= text.size() || text[at + 1] != ':') {
      *error = "not valid SDDL: \"" + std::string(text.substr(at)) + "\"";
      return std::nullopt;
    }
    const char kind = static_cast<char>(text[at] & ~0x20);
    const std::size_t end = ComponentEnd(text, at + 2);
    const std::string_view body = text.substr(at + 2, end - at - 2);
    const int slot = kind == 'O' ? 0 : kind == 'G' ? 1 : kind == 'D' ? 2 : kind == 'S' ? 3 : -1;
    if (slot < 0 || seen[slot]) {
      *error = "not valid SDDL: \"" + std::string(text.substr(at, 2)) + "\" out of place";
      return std::nullopt;
    }
    seen[slot] = true;
    if (slot == 0 || slot == 1) {
      auto sid = ParseSid(body, error);
      if (!sid) return std::nullopt;
      (slot == 0 ? d.owner : d.group) = std::move(*sid);
    } else if (slot == 2) {
      if (!ParseDacl(body, d, error)) return std::nullopt;
    } else {
      *error = "system access lists are not supported";
      return std::nullopt;
    }
    at = end;
  }
  return d;
}

std::string FormatSddl(const Descriptor& d) {
  std::string out;
  if (!d.owner.empty()) out += "O:" + SidForm(d.owner);
  if (!d.group.empty()) out += "G:" + SidForm(d.group);
  if (!d.has_dacl) return out + "D:NO_ACCESS_CONTROL";
  out += "D:";
  for (const Ace& ace : d.aces) {
    std::string flags;
    for (const auto& flag : kAceFlags)
      if (ace.flags & flag.value) flags += flag.code;
    char mask[16];
    std::snprintf(mask, sizeof mask, "0x%x", static_cast<unsigned>(ace.mask));
    out += std::string("(") + (ace.allow ? "A" : "D") + ";" + flags + ";" + mask + ";;;" + SidForm(ace.sid) + ")";
  }
  return out;
}

}  // namespace sim
