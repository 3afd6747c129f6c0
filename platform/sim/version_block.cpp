// Simulated workstation: version resources as key/value blocks.
#include "platform/sim/version_block.h"

#include <charconv>
#include <cstring>

#include "platform/sim/text_util.h"

namespace sim {
namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool GetU32(const std::vector<std::uint8_t>& in, std::size_t& at, std::uint32_t* v) {
  if (in.size() < 4 || at > in.size() - 4) return false;
  *v = 0;
  for (int i = 0; i < 4; ++i) *v |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
  at += 4;
  return true;
}

void PutEntry(std::vector<std::uint8_t>& out, std::string_view key,
              const std::vector<std::uint8_t>& value) {
  PutU32(out, static_cast<std::uint32_t>(key.size()));
  out.insert(out.end(), key.begin(), key.end());
  PutU32(out, static_cast<std::uint32_t>(value.size()));
  out.insert(out.end(), value.begin(), value.end());
}

}  // namespace

std::optional<VersionFacts> ParseVersionNumbers(std::string_view text) {
  VersionFacts facts;
  for (int i = 0; i < 4; ++i) {
    std::size_t end = i < 3 ? text.find('.') : text.size();
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view part = text.substr(0, end);
    unsigned value = 0;
    auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || ec != std::errc() || ptr != part.data() + part.size() || value > 65535)
      return std::nullopt;
    facts.numbers[i] = static_cast<std::uint16_t>(value);
    text = i < 3 ? text.substr(end + 1) : std::string_view();
  }
  return facts;
}

std::vector<std::uint8_t> SerializeVersionBlock(const VersionFacts& facts) {
  std::vector<std::uint8_t> fixed;
  const std::uint32_t ms = (std::uint32_t{facts.numbers[0]} << 16) | facts.numbers[1];
  const std::uint32_t ls = (std::uint32_t{facts.numbers[2]} << 16) | facts.numbers[3];
  for (std::uint32_t v : {0xFEEF04BDu, 0x00010000u, ms, ls, ms, ls, 0x3Fu, 0u, 0x40004u, 1u, 0u, 0u, 0u})
    PutU32(fixed, v);
  std::vector<std::uint8_t> out;
  PutEntry(out, "\\", fixed);
  if (!facts.strings.empty()) {
    PutEntry(out, "\\VarFileInfo\\Translation", {0x09, 0x04, 0xb0, 0x04});
    for (const auto& [name, text] : facts.strings) {
      std::vector<std::uint8_t> value(text.begin(), text.end());
      value.push_back(0);
      PutEntry(out, "\\StringFileInfo\\040904b0\\" + name, value);
    }
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> QueryVersionBlock(const std::vector<std::uint8_t>& block,
                                                           std::string_view sub_block) {
  std::size_t at = 0;
  while (at < block.size()) {
    std::uint32_t key_size = 0, value_size = 0;
    if (!GetU32(block, at, &key_size) || key_size > block.size() - at) return std::nullopt;
    std::string_view key(reinterpret_cast<const char*>(block.data() + at), key_size);
    at += key_size;
    if (!GetU32(block, at, &value_size) || value_size > block.size() - at) return std::nullopt;
    if (EqualsIgnoreCase(key, sub_block))
      return std::vector<std::uint8_t>(block.begin() + at, block.begin() + at + value_size);
    at += value_size;
  }
  return std::nullopt;
}

}  // namespace sim
