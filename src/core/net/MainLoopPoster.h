#pragma once

#include <functional>

namespace tovali {

// Runs tasks later on the main loop's thread, in the order posted, each after
// the notification that is running now has returned.
class MainLoopPoster {
 public:
  virtual ~MainLoopPoster() = default;
  virtual void post(std::function<void()> task) = 0;
};

}  // namespace tovali
