// Simulated workstation: security descriptors in the Security Descriptor Definition
// Language, as security.txt holds them ("O:BAD:(A;OICI;FA;;;WD)").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// ACE flags.
inline constexpr std::uint32_t kAceObjectInherit = 0x1;     // OI
inline constexpr std::uint32_t kAceContainerInherit = 0x2;  // CI
inline constexpr std::uint32_t kAceNoPropagate = 0x4;       // NP
inline constexpr std::uint32_t kAceInheritOnly = 0x8;       // IO
inline constexpr std::uint32_t kAceInherited = 0x10;        // ID

struct Ace {
  bool allow = true;
  std::uint32_t flags = 0;
  std::uint32_t mask = 0;
  std::string sid;  // "S-1-..."; aliases are resolved
};

struct Descriptor {
  std::string owner;      // "S-1-..." or empty
  std::string group;      // "S-1-..." or empty
  bool has_dacl = false;  // false: a null DACL, which grants everything
  std::vector<Ace> aces;  // in order; empty with has_dacl: grants nothing
};

// A DACL holds at most this many entries.
inline constexpr std::size_t kMaxAces = 64;

// The descriptor, or nothing with `*error` saying what is wrong.
std::optional<Descriptor> ParseSddl(std::string_view text, std::string* error);

// The SDDL text of a descriptor: SIDs with an alias written as the alias, rights as
// a hexadecimal mask.
std::string FormatSddl(const Descriptor& descriptor);

}  // namespace sim
