// Starting the product: a process created directly, not waited for.
#pragma once

#include <cstdint>
#include <string_view>

struct Launcher;

// 0 when the process was created, -1 when it could not be (reported).
std::int32_t ExecuteProcessEx(Launcher& l, std::string_view application, std::string_view command_line);
