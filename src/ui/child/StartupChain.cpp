#include "ui/child/StartupChain.h"

#include <glibmm/main.h>

#include "browser/CallbackGuard.h"
#include "browser/EmbeddedWB.h"
#include "session/Session.h"
#include "session/SessionEdge.h"

namespace tovali {

StartupChain::StartupChain(Session& session, SessionEdge& edge)
    : m_session(session), m_edge(edge) {}

StartupChain::~StartupChain() {
  m_startup_timer.disconnect();
  m_connection_timer.disconnect();
  m_probe_disposal.disconnect();
  m_welcome.disconnect();
}

void StartupChain::start() {
  m_startup_timer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &StartupChain::on_startup_timer), 10);
}

void StartupChain::stop_probe() {
  if (m_probe) guarded("stopping the probe", [this] { m_probe->Stop(); });
}

bool StartupChain::on_startup_timer() {
  guarded("StartupTimer", [this] {
    m_session.begin_startup();
    m_probe = std::make_unique<EmbeddedWB>();
    // It only asks an address that never resolves whether the network answers.
    m_probe->set_page_guard_check(PageGuardCheck::Waived);
    m_probe->events().LoadFinished = [this] { on_connection_probe_loaded(); };
    m_check.start();
    schedule_connection_timer(m_check.interval());
  });
  return false;  // `StartupTimer` fires once
}

void StartupChain::schedule_connection_timer(int interval) {
  m_connection_timer.disconnect();
  m_connection_timer = Glib::signal_timeout().connect(
      sigc::mem_fun(*this, &StartupChain::on_connection_timer), interval);
}

bool StartupChain::on_connection_timer() {
  bool rescheduled = false;
  guarded("ConnectionTimer", [&] {
    const int before = m_check.interval();
    const auto actions = m_check.tick(m_edge.msg_panel_visible(), m_probe && m_probe->Busy());
    if (actions.show_waiting_message) {
      m_edge.ShowMsgPanel(ConnectionCheck::kWaitingMessage);
      m_edge.set_msg_panel_timer(false);
    }
    if (actions.navigate_probe && m_probe) m_probe->Navigate(ConnectionCheck::kProbeURL);
    if (actions.next_interval != before) {
      schedule_connection_timer(actions.next_interval);
      rescheduled = true;
    }
  });
  // A changed interval runs on a fresh timer; this one ends then.
  return !rescheduled && m_check.running();
}

void StartupChain::on_connection_probe_loaded() {
  if (!m_check.end()) return;  // the check has already ended
  m_connection_timer.disconnect();
  // The rest runs once the probe's own event has returned: the probe view
  // can then be destroyed, and the configuration download's wait does not
  // run inside the engine's callback.
  m_probe_disposal = Glib::signal_idle().connect([this] {
    m_probe.reset();
    finish_startup();
    return false;
  });
}

void StartupChain::finish_startup() {
  m_session.finish_startup();
  m_finished = true;
  // The welcome's own loop runs once the start-up's idle call has returned.
  m_welcome = Glib::signal_idle().connect([this] {
    guarded("welcome", [this] { m_session.offer_welcome(); });
    return false;
  });
}

}  // namespace tovali
