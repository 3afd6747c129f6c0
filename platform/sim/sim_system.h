// Simulated workstation: last error, the virtual clock, the debugger (debugger.log),
// system message texts and the process heap.
#pragma once

#include <string_view>

#include <vector>

#include "platform/sim/sim_state.h"
#include "platform/system.h"

namespace sim {

class SimSystem : public platform::System {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "FormatMessage",
      "HeapAlloc",
      "HeapFree",
      "CloseHandle",
  };

  explicit SimSystem(SimState& state) : s_(state) {}
  ~SimSystem() override;

  platform::ErrorCode GetLastError() override { return s_.last_error; }
  void SetLastError(platform::ErrorCode code) override { s_.last_error = code; }
  void Sleep(std::uint32_t milliseconds) override { s_.clock.Sleep(milliseconds); }
  platform::LocalTime GetLocalTime() override { return s_.clock.Local(); }
  bool IsDebuggerPresent() override { return s_.machine.launcher.debugger; }
  void OutputDebugString(std::string_view text) override;
  bool FormatMessage(std::uint32_t code, std::string* text) override;
  void* HeapAlloc(std::size_t size) override;
  bool HeapFree(void* block) override;
  bool CloseHandle(platform::Handle handle) override;

 private:
  SimState& s_;
  // Blocks whose release was made to fail: freed with the workstation, so that only
  // blocks the launcher never released show as leaks.
  std::vector<void*> unreleased_;
};

}  // namespace sim
