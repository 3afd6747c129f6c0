// Scope guards over the logged release helpers: a heap block or handle acquired by
// hand is released through HeapFreeHlpr or CloseAndDestroyHandle on every way out,
// in reverse order of acquisition, unless the scope hands it on.
#pragma once

#include "diag/heap_helpers.h"

template <class T>
class ScopedHeapBlock {
 public:
  // `pointer` holds a block allocated by HeapAllocHlpr.
  ScopedHeapBlock(Launcher& l, T*& pointer, const char* label)
      : l_(l), pointer_(pointer), label_(label) {}
  ~ScopedHeapBlock() {
    if (owned_) HeapFreeHlpr(l_, &pointer_, label_);
  }
  ScopedHeapBlock(const ScopedHeapBlock&) = delete;
  ScopedHeapBlock& operator=(const ScopedHeapBlock&) = delete;

  // Releases the block now.
  void Free() {
    HeapFreeHlpr(l_, &pointer_, label_);
    owned_ = false;
  }
  // The block outlives the scope.
  void Keep() { owned_ = false; }

 private:
  Launcher& l_;
  T*& pointer_;
  const char* label_;
  bool owned_ = true;
};

class ScopedHandle {
 public:
  ScopedHandle(Launcher& l, platform::Handle& handle, const char* label)
      : l_(l), handle_(handle), label_(label) {}
  ~ScopedHandle() {
    if (owned_) CloseAndDestroyHandle(l_, handle_, label_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  // Closes the handle now.
  void Close() {
    CloseAndDestroyHandle(l_, handle_, label_);
    owned_ = false;
  }
  // The handle outlives the scope.
  void Keep() { owned_ = false; }

 private:
  Launcher& l_;
  platform::Handle& handle_;
  const char* label_;
  bool owned_ = true;
};
