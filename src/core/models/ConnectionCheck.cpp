#include "models/ConnectionCheck.h"

namespace tovali {

ConnectionCheck::TickActions ConnectionCheck::tick(bool panel_visible, bool probe_busy) {
  TickActions actions;
  if (m_interval == kFirstInterval) {
    m_interval = kSecondInterval;
  } else if (m_interval <= kSecondInterval) {
    m_interval = kSteadyInterval;
    actions.show_waiting_message = !panel_visible;
  }
  actions.next_interval = m_interval;
  actions.navigate_probe = !probe_busy;
  return actions;
}

bool ConnectionCheck::end() {
  if (!m_running) return false;
  m_running = false;
  return true;
}

}  // namespace tovali
