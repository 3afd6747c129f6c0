// Logged allocation and release of heap blocks and handles. A released pointer or
// handle holds the all-ones value, so a second release is harmless and visible.
#pragma once

#include <cstddef>

#include "platform/processes.h"

struct Launcher;

// Zero-filled block from the process heap into `*pointer`; false on failure.
bool HeapAllocHlpr(Launcher& l, void** pointer, std::size_t size, const char* label);
void HeapFreeHlpr(Launcher& l, void** pointer, const char* label);
void CloseAndDestroyHandle(Launcher& l, platform::Handle& handle, const char* label);

// Typed forms for pointer variables of any object type.
template <class T>
bool HeapAllocHlpr(Launcher& l, T** pointer, std::size_t size, const char* label) {
  return HeapAllocHlpr(l, reinterpret_cast<void**>(pointer), size, label);
}
template <class T>
void HeapFreeHlpr(Launcher& l, T** pointer, const char* label) {
  HeapFreeHlpr(l, reinterpret_cast<void**>(pointer), label);
}

// The value that marks a released block.
inline void* ReleasedPointer() { return reinterpret_cast<void*>(platform::kInvalidHandle); }
