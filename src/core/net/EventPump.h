#pragma once

namespace tovali {

// Lets a waiting caller run the main loop's pending events (timers, input,
// socket notifications, posted tasks) without leaving its own function.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Runs every event that is pending now, then returns. Never blocks.
  virtual void run_pending() = 0;
};

}  // namespace tovali
