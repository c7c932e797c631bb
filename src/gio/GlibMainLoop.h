#pragma once

#include "net/EventPump.h"
#include "net/MainLoopPoster.h"

namespace tovali {

// Posts tasks to the default GLib main context as idle sources and runs its
// pending events on request. A task that throws is dropped quietly.
class GlibMainLoop : public MainLoopPoster, public EventPump {
 public:
  void post(std::function<void()> task) override;
  void run_pending() override;
};

}  // namespace tovali
