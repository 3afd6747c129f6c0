// The benchmarks' counting allocator: the C heap's entry points replaced by ones that
// count each block's usable size and hand the work to the C library's own allocator.
#include "bench/heap_counter.h"

#include <atomic>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PORTAVEL_NO_HEAP_COUNTING 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PORTAVEL_NO_HEAP_COUNTING 1
#endif

namespace bench {
namespace {

std::atomic<std::size_t> in_use{0};
std::atomic<std::size_t> peak{0};

}  // namespace

#ifdef PORTAVEL_NO_HEAP_COUNTING
bool HeapCounting() { return false; }
#else
bool HeapCounting() { return true; }
#endif

std::size_t HeapInUse() { return in_use.load(); }
std::size_t HeapPeak() { return peak.load(); }
void ResetHeapPeak() { peak.store(in_use.load()); }

}  // namespace bench

#ifndef PORTAVEL_NO_HEAP_COUNTING

#include <malloc.h>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* __libc_valloc(std::size_t size);
void* __libc_pvalloc(std::size_t size);
void __libc_free(void* block);
}

namespace {

void* Counted(void* block) {
  if (block) {
    const std::size_t now = bench::in_use.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
    std::size_t seen = bench::peak.load();
    while (now > seen && !bench::peak.compare_exchange_weak(seen, now)) {
    }
  }
  return block;
}

void Uncount(void* block) {
  if (block) bench::in_use.fetch_sub(malloc_usable_size(block));
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) { return Counted(__libc_malloc(size)); }
void* calloc(std::size_t count, std::size_t size) { return Counted(__libc_calloc(count, size)); }
void* realloc(void* block, std::size_t size) {
  const std::size_t old_size = block ? malloc_usable_size(block) : 0;
  void* moved = __libc_realloc(block, size);
  if (moved == nullptr && size != 0) return nullptr;  // the old block stays, still counted
  bench::in_use.fetch_sub(old_size);
  return Counted(moved);
}
void free(void* block) {
  Uncount(block);
  __libc_free(block);
}
void* memalign(std::size_t alignment, std::size_t size) {
  return Counted(__libc_memalign(alignment, size));
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
  return Counted(__libc_memalign(alignment, size));
}
void* valloc(std::size_t size) { return Counted(__libc_valloc(size)); }
void* pvalloc(std::size_t size) { return Counted(__libc_pvalloc(size)); }
int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
  void* aligned = Counted(__libc_memalign(alignment, size));
  if (aligned == nullptr) return 12;  // ENOMEM
  *block = aligned;
  return 0;
}

}  // extern "C"

#endif
