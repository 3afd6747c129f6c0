// The benchmarks' counting allocator: every heap block of the process (the
// launcher's HeapAlloc blocks, which the simulated workstation takes from the C
// heap, and everything else) is counted, so that a benchmark can report the most
// heap it held at once. Off in sanitizer builds, whose allocator must stay in place.
#pragma once

#include <cstddef>

namespace bench {

// Whether the counts are kept in this build.
bool HeapCounting();

// Bytes held now; the most held since the last ResetHeapPeak.
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();

}  // namespace bench
