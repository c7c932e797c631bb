#include "gio/GlibMainLoop.h"

#include <glibmm/main.h>

namespace tovali {

namespace {
// Bounds one pass, so that a source that re-arms itself at once cannot keep
// the caller in here for ever.
constexpr int kMaxEventsPerPass = 10000;
}  // namespace

void GlibMainLoop::post(std::function<void()> task) {
  Glib::signal_idle().connect_once([task = std::move(task)] {
    try {
      task();
    } catch (...) {
    }
  });
}

void GlibMainLoop::run_pending() {
  auto context = Glib::MainContext::get_default();
  for (int i = 0; i < kMaxEventsPerPass && context->pending(); ++i) context->iteration(false);
}

}  // namespace tovali
