#pragma once

#include <chrono>

namespace tovali {

// Source of the current time for the policy. The program uses SteadyClock;
// tests hand in a clock they move themselves.
class Clock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;

  // The current time. Never goes backwards.
  virtual TimePoint now() const = 0;
};

// The machine's monotonic clock.
class SteadyClock : public Clock {
 public:
  TimePoint now() const override { return std::chrono::steady_clock::now(); }
};

}  // namespace tovali
