// Logged allocation and release of heap blocks and handles.
//
// Every acquisition and release is a developer-level record; a released variable
// holds the all-ones value, so that a second release is harmless and shows as
// "already free" in the debug log.
#include "diag/heap_helpers.h"

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"

namespace {

void* AsPointer(platform::Handle handle) { return reinterpret_cast<void*>(handle); }

}  // namespace

bool HeapAllocHlpr(Launcher& l, void** pointer, std::size_t size, const char* label) {
  if (pointer == nullptr) {
    if (label) {
      ErrorLog(l, "HeapAllocHlpr: Pointer to be used for memory allocation for %s is invalid. (nullptr)",
               label);
    } else {
      ErrorLogText(l, "HeapAllocHlpr: Pointer to be used for memory allocation is invalid. (nullptr)");
    }
    return false;
  }
  DebugLogLevel(l, kDeveloperLevel, "HeapAllocHlpr: Arg pointer = %p (%p).", *pointer,
                static_cast<void*>(pointer));

  l.os.system.SetLastError(0);
  *pointer = l.os.system.HeapAlloc(size);
  if (*pointer == nullptr) {
    // Taken before anything else can touch the last error.
    const platform::ErrorCode error = l.os.system.GetLastError();
    ErrorDescription description;
    FormatErrorString(l, error, description);
    if (label) {
      ErrorLog(l, "HeapAllocHlpr: Failed to allocate heap memory for %s (size requested=%d); %s",
               label, static_cast<int>(size), description.c_str());
    } else {
      ErrorLog(l, "HeapAllocHlpr: Failed to allocate heap memory (size requested=%d); %s",
               static_cast<int>(size), description.c_str());
    }
    return false;
  }

  if (label) {
    DebugLogLevel(l, kDeveloperLevel,
                  "HeapAllocHlpr: Allocated %d byte(s) of heap memory for %s at address %p.",
                  static_cast<int>(size), label, *pointer);
  } else {
    DebugLogLevel(l, kDeveloperLevel,
                  "HeapAllocHlpr: Allocated %d byte(s) of heap memory at address %p",
                  static_cast<int>(size), *pointer);
  }
  return true;
}

void HeapFreeHlpr(Launcher& l, void** pointer, const char* label) {
  if (pointer == nullptr) {
    DebugLogLevel(l, kDeveloperLevel, "HeapFreeHlpr: Arg pointer = nullptr.");
    if (label) {
      ErrorLog(l, "HeapFreeHlpr: Pointer to allocated memory for %s is invalid. (nullptr)", label);
    } else {
      ErrorLogText(l, "HeapFreeHlpr: Pointer to allocated memory is invalid. (nullptr)");
    }
    return;
  }
  void* const block = *pointer;
  void* const address = static_cast<void*>(pointer);
  DebugLogLevel(l, kDeveloperLevel, "HeapFreeHlpr: Arg pointer = %p (%p).", block, address);

  // A variable still holding null was never allocated (its allocation failed or never
  // happened); HeapFree is not defined for null, so it counts as already free and
  // keeps its null.
  if (block == ReleasedPointer() || block == nullptr) {
    if (label) {
      DebugLogLevel(l, kDeveloperLevel,
                    "HeapFreeHlpr: Allocated memory for %s is already free. (INVALID_HANDLE_VALUE): "
                    "%p (%p)",
                    label, block, address);
    } else {
      DebugLogLevel(l, kDeveloperLevel,
                    "HeapFreeHlpr: Allocated memory is already free. (INVALID_HANDLE_VALUE): %p (%p)",
                    block, address);
    }
    return;
  }

  if (label) {
    DebugLogLevel(l, kDeveloperLevel,
                  "HeapFreeHlpr: Freeing heap allocated memory for %s at address %p (%p)", label,
                  block, address);
  } else {
    DebugLogLevel(l, kDeveloperLevel, "HeapFreeHlpr: Freeing heap allocated memory at address %p (%p)",
                  block, address);
  }
  if (!l.os.system.HeapFree(block)) {
    if (label) {
      ErrorLog(l,
               "HeapFreeHlpr: Failed to free allocation for %s from default process heap at address "
               "%p (%p)",
               label, block, address);
    } else {
      ErrorLog(l,
               "HeapFreeHlpr: Failed to free allocation from default process heap at address %p (%p)",
               block, address);
    }
  }
  // Marked released even when the heap refused: the block is not to be touched again.
  *pointer = ReleasedPointer();
}

void CloseAndDestroyHandle(Launcher& l, platform::Handle& handle, const char* label) {
  const char* const name = label ? label : "";
  void* const address = static_cast<void*>(&handle);
  if (handle != platform::kInvalidHandle) {
    DebugLogLevel(l, kDeveloperLevel, "CloseAndDestroyHandle: Closing %s=%p (%p)", name,
                  AsPointer(handle), address);
    l.os.system.CloseHandle(handle);  // nothing to do about a handle that will not close
    handle = platform::kInvalidHandle;
  } else {
    DebugLogLevel(l, kDeveloperLevel,
                  "CloseAndDestroyHandle: Handle %s is already free. (INVALID_HANDLE_VALUE): %p (%p)",
                  name, AsPointer(handle), address);
  }
}
