#pragma once

#include <string>

#include "base/Translate.h"

namespace tovali {

// The connection check's clock: the timer runs at 10 ms, then 3000 ms, then
// 10000 ms for good. Each tick restarts the probe when the probe view is
// idle; the second tick also puts up the waiting message.
class ConnectionCheck {
 public:
  static constexpr int kFirstInterval = 10;
  static constexpr int kSecondInterval = 3000;
  static constexpr int kSteadyInterval = 10000;

  // The probe URL: a host in the reserved ".invalid" domain, which never
  // resolves, so the first attempt ends quickly either way.
  static constexpr const char* kProbeURL = "http://connection-check.tovali.invalid/";

  static constexpr const char* kWaitingMessage =
      N_("Welcome to Tovali Explorer!") "\r\r" N_("Checking for a connection...please wait...");

  struct TickActions {
    int next_interval = kFirstInterval;
    // Show kWaitingMessage and keep it up (stay timer off).
    bool show_waiting_message = false;
    // Tell the probe view to load kProbeURL.
    bool navigate_probe = false;
  };

  // One timer tick. `panel_visible`: the message panel is showing;
  // `probe_busy`: the probe view is loading.
  TickActions tick(bool panel_visible, bool probe_busy);

  int interval() const { return m_interval; }

  // The check has ended (the first completed probe download). Later ends are
  // ignored: returns false then.
  bool end();
  bool running() const { return m_running; }
  void start() { m_running = true; }

 private:
  int m_interval = kFirstInterval;
  bool m_running = false;
};

}  // namespace tovali
