// Simulated workstation: the system's message texts for the error codes the
// launcher meets, as FormatMessage returns them with line breaks suppressed (the
// final line break becomes a space, so each text ends with one).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

std::optional<std::string_view> SystemMessageText(std::uint32_t code);

}  // namespace sim
