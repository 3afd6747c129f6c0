// Granted access masks as records of named rights, for files and folders and for
// registry keys.
#pragma once

#include <array>
#include <cstdint>

struct Launcher;

// The 17 one-byte flags of a granted mask; slot 12 is never set.
struct GrantedRights {
  static constexpr int kAllSpecific = 14;
  static constexpr int kAllStandard = 15;
  static constexpr int kFullAccess = 16;
  std::array<std::uint8_t, 17> flags{};
  bool FullAccess() const { return flags[kFullAccess] != 0; }
};

enum class RightsObject { FileSystem, Registry };

// Fills `rights` from `mask` and writes the granted rights by name, in the order the
// operators know, as one debug record. Always true.
bool ParseAccessMask(Launcher& l, std::uint32_t mask, GrantedRights& rights, RightsObject object);
