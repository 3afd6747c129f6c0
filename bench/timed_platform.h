// Splits a run's time into the launcher's own work and the time the system took to
// answer it: the launcher's file and system calls go through decorators that time
// each answer. Calls of the other interfaces (registry, security, the window, …) are
// not timed and so count as the launcher's own work: its figure is an upper bound.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace bench {

class CallClock {
 public:
  using Clock = std::chrono::steady_clock;

  // Measures what one reading of the clock costs.
  CallClock();

  void Reset() {
    inside_ = Clock::duration::zero();
    calls_ = 0;
  }

  // Times one call while it lives.
  class Scope {
   public:
    explicit Scope(CallClock& clock) : clock_(clock), start_(Clock::now()) {}
    ~Scope() {
      clock_.inside_ += Clock::now() - start_;
      ++clock_.calls_;
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    CallClock& clock_;
    const Clock::time_point start_;
  };

  // The time a run of `elapsed` spent outside the timed calls. Each timed call reads the
  // clock twice, and about one reading's cost falls outside the call: taken off.
  Clock::duration Outside(Clock::duration elapsed) const {
    return elapsed - inside_ - static_cast<std::int64_t>(calls_) * reading_;
  }
  Clock::duration Inside() const { return inside_; }
  std::uint64_t calls() const { return calls_; }

 private:
  Clock::duration reading_{};
  Clock::duration inside_{};
  std::uint64_t calls_ = 0;
};

// The platform of `os` with its file system and system interfaces timed by `clock`.
class TimedPlatform {
 public:
  TimedPlatform(platform::Platform& os, CallClock& clock);
  ~TimedPlatform();
  TimedPlatform(const TimedPlatform&) = delete;
  TimedPlatform& operator=(const TimedPlatform&) = delete;

  platform::Platform& platform() { return platform_; }

 private:
  class Files;
  class System;
  std::unique_ptr<Files> files_;
  std::unique_ptr<System> system_;
  platform::Platform platform_;  // refers to the two above
};

}  // namespace bench
