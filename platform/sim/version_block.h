// Simulated workstation: a file's version resource as the values VerQueryValue
// answers, serialised into the block that GetFileVersionInfo hands out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

struct VersionFacts {
  std::uint16_t numbers[4] = {0, 0, 0, 0};
  // Texts of the string table ("FileDescription", ...), language 0409, code page 04b0.
  std::vector<std::pair<std::string, std::string>> strings;
};

// "a.b.c.d" with each number 0..65535.
std::optional<VersionFacts> ParseVersionNumbers(std::string_view text);

std::vector<std::uint8_t> SerializeVersionBlock(const VersionFacts& facts);

// The bytes of `sub_block` in a serialised block, if it has such a value.
std::optional<std::vector<std::uint8_t>> QueryVersionBlock(const std::vector<std::uint8_t>& block,
                                                           std::string_view sub_block);

}  // namespace sim
