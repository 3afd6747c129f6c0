// Descriptions of system error codes: a bracketed tag naming the kind of code, its
// hexadecimal value and its low 16 bits in decimal, then the system's message text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/fixed_string.h"
#include "base/printf_format.h"

struct Launcher;

enum class ErrorCodeKind : int { Win32 = 0, NtStatus = 1, HResult = 2, Errno = 3 };

// Error descriptions are built in buffers of 512 characters.
using ErrorDescription = FixedString<512>;

// The tag alone ("[WIN32 0x00000005/C0005]"); its length, or 0 when it cannot be built.
std::size_t FormatErrorCode(std::uint32_t code, FixedString<64>& tag, ErrorCodeKind kind);

// Tag, one space and the system text; "<tag> Unknown Error" and an error record when
// the system has no text for the code. Cut to the buffer.
std::string DescribeError(Launcher& l, std::uint32_t code, ErrorCodeKind kind);

template <std::size_t N>
void FormatErrorString(Launcher& l, std::uint32_t code, FixedString<N>& buffer,
                       ErrorCodeKind kind = ErrorCodeKind::Win32) {
  buffer.assign_cut(DescribeError(l, code, kind));
}

namespace log_detail {
void ErrorLogWithCode(Launcher& l, std::uint32_t code, const char* format, ...);
}  // namespace log_detail

// An error record: the caller's message followed by "; " and the WIN32 tag of `code`.
template <class... Args>
void ErrorLogWithCode(Launcher& l, std::uint32_t code, FormatFor<Args...> format, Args... args) {
  log_detail::ErrorLogWithCode(l, code, format.c_str(), args...);
}
