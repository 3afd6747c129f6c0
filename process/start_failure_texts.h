// The texts that report why a program could not be started, by system error code.
#pragma once

#include <cstdint>

enum class Starter { ProcessEx, AppEx };

// The error-record text for a failed start with `code`; never null.
const char* StartFailureText(Starter starter, std::uint32_t code);
