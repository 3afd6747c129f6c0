// Simulated workstation: last error, clock, debugger, message texts and heap.
#include "platform/sim/sim_system.h"

#include <cstdlib>

#include "platform/error_codes.h"
#include "platform/sim/folder_entries.h"
#include "platform/sim/system_messages.h"

namespace sim {

void SimSystem::OutputDebugString(std::string_view text) {
  if (!s_.machine.launcher.debugger) return;
  if (auto out = OpenRegularFile(s_.folder / "debugger.log", std::ios::binary | std::ios::app))
    *out << text;
}

bool SimSystem::FormatMessage(std::uint32_t code, std::string* text) {
  if (s_.Fails("FormatMessage")) return false;
  auto found = SystemMessageText(code);
  if (!found) {
    s_.last_error = 317;  // ERROR_MR_MID_NOT_FOUND
    return false;
  }
  *text = *found;
  return true;
}

void* SimSystem::HeapAlloc(std::size_t size) {
  if (s_.Fails("HeapAlloc")) return nullptr;
  // A request of 0 bytes still yields a block of its own.
  void* block = std::calloc(size ? size : 1, 1);
  if (!block) s_.last_error = platform::kErrorNotEnoughMemory;
  return block;
}

SimSystem::~SimSystem() {
  for (void* block : unreleased_) std::free(block);
}

bool SimSystem::HeapFree(void* block) {
  if (s_.Fails("HeapFree")) {
    unreleased_.push_back(block);
    return false;
  }
  std::free(block);
  return true;
}

bool SimSystem::CloseHandle(platform::Handle handle) {
  if (s_.Fails("CloseHandle")) return false;
  if (handle == 0 || handle == platform::kInvalidHandle) {
    s_.last_error = 6;  // ERROR_INVALID_HANDLE
    return false;
  }
  s_.open_files.Close(handle);  // a file handle lets go of its file
  s_.programs.Close(handle);    // a process handle: the program's line is written
  return true;
}

}  // namespace sim
