// The check behind every format: a format fits its arguments only when printf would
// read exactly them. Checked by the compiler; the test binary merely carries it.
#include "base/printf_format.h"

#include <cstddef>
#include <cstdint>

namespace {

using printf_format::FormatFits;

// Fits: one argument per conversion, each what its conversion reads.
static_assert(FormatFits<>("plain text, 100%% sure"));
static_assert(FormatFits<const char*>("Executing as \"%s\""));
static_assert(FormatFits<char*, int>("%s (%d)"));
static_assert(FormatFits<int, const char*>("%.*s"));
static_assert(FormatFits<int, int>("%*d"));
static_assert(FormatFits<unsigned, int>("[WIN32 0x%08x/C%04d]"));
static_assert(FormatFits<std::uint16_t, char>("%u %c"));  // promoted to int
static_assert(FormatFits<long>("%ld"));
static_assert(FormatFits<unsigned long long>("%llu"));
static_assert(FormatFits<std::size_t>("%-12zu"));
static_assert(FormatFits<const void*, const char*>("%p %p"));
static_assert(FormatFits<float, double>("%f %.2g"));

// Does not fit: too many or too few arguments, the wrong kind or size, conversions
// the launcher never writes.
static_assert(!FormatFits<>("%s%s%n%n"));
static_assert(!FormatFits<>("100%done"));
static_assert(!FormatFits<const char*>("%s %s"));
static_assert(!FormatFits<const char*, int>("%s"));
static_assert(!FormatFits<int>("%s"));
static_assert(!FormatFits<const char*>("%d"));
static_assert(!FormatFits<const int*>("%s"));
static_assert(!FormatFits<std::int64_t>("%d"));
static_assert(!FormatFits<int>("%llu"));
static_assert(!FormatFits<double>("%d"));
static_assert(!FormatFits<int>("%f"));
static_assert(!FormatFits<int*>("%n"));
static_assert(!FormatFits<const char*>("%.*s"));
static_assert(!FormatFits<const wchar_t*>("%ls"));
static_assert(!FormatFits<>("ends in %"));
static_assert(!FormatFits<int>("%5"));

}  // namespace
