// The most heap a benchmark's iterations held at once, reported as Google Benchmark
// counters beside the process's peak resident size.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstddef>

#include "bench/heap_counter.h"

namespace bench {

// Measures the heap held beyond what was held before each iteration.
class PeakHeap {
 public:
  void Start() {
    ResetHeapPeak();
    before_ = HeapInUse();
  }
  void Stop() {
    const std::size_t held = HeapPeak() - before_;
    if (held > most_) most_ = held;
  }
  void Report(benchmark::State& state) const {
    if (HeapCounting())
      state.counters["peak_heap"] = benchmark::Counter(static_cast<double>(most_),
                                                       benchmark::Counter::kDefaults,
                                                       benchmark::Counter::kIs1024);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["max_rss"] = benchmark::Counter(static_cast<double>(usage.ru_maxrss) * 1024,
                                                   benchmark::Counter::kDefaults,
                                                   benchmark::Counter::kIs1024);
  }

 private:
  std::size_t before_ = 0;
  std::size_t most_ = 0;
};

}  // namespace bench
