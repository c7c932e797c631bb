#include "ui/StartupChain.h"

#include <iostream>

#include <glibmm/main.h>

#include "browser/CallbackGuard.h"
#include "browser/EmbeddedWB.h"
#include "models/GeneratedPages.h"
#include "models/StartupPlan.h"
#include "policy/NavigationGuard.h"
#include "settings/Settings.h"

namespace tovali {

StartupChain::StartupChain(StartupHost& host) : m_host(host) {}

StartupChain::~StartupChain() {
  m_startup_timer.disconnect();
  m_connection_timer.disconnect();
  m_probe_disposal.disconnect();
}

void StartupChain::Start() {
  m_startup_timer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &StartupChain::on_startup_timer), 10);
}

void StartupChain::StopProbe() {
  if (m_probe) guarded("stopping the probe", [this] { m_probe->Stop(); });
}

bool StartupChain::on_startup_timer() {
  guarded("StartupTimer", [this] {
    NavigationGuard& guard = m_host.guard();
    const std::string start_page = to_engine_url(StartPagePath(m_host.ProgramDir()));
    guard.open_start_page(start_page);
    m_host.set_toolbar_buttons(false);

    m_probe = std::make_unique<EmbeddedWB>();
    m_probe->events().LoadFinished = [this] { on_connection_probe_loaded(); };
    m_check.Start();
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
    const auto actions = m_check.Tick(m_host.msg_panel_visible(), m_probe && m_probe->Busy());
    if (actions.show_waiting_message) {
      m_host.ShowMsgPanel(ConnectionCheck::kWaitingMessage);
      m_host.set_msg_panel_timer(false);
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
  if (!m_check.End()) return;  // the check has already ended
  m_connection_timer.disconnect();
  // The rest runs once the probe's own event has returned: the probe view
  // can then be destroyed, and the configuration download's wait does not
  // run inside the engine's callback.
  m_probe_disposal = Glib::signal_idle().connect([this] {
    m_probe.reset();
    FinishStartup();
    return false;
  });
}

void StartupChain::FinishStartup() {
  if (m_host.guard().ClosedToSites()) {
    // No configuration, no menu and no site: the administrator's message
    // stays where the child looks, and the toolbar stays disabled.
    guarded("start-up", [this] {
      m_host.ShowMsgPanel(kSettingsUnreadableMessage);
      m_host.set_msg_panel_timer(false);
    });
    std::cerr << "tovali-explorer: the administrator's settings cannot be read; the program "
                 "stays closed and opens no site\n";
    m_finished = true;
    return;
  }
  guarded("start-up", [this] {
    NavigationGuard& guard = m_host.guard();
    const FirstMainPage page = ChooseFirstMainPage(m_host.settings(), m_host.ProgramDir());
    if (page.kind == FirstPageKind::Site)
      guard.open_site(page.url);
    else
      guard.open_start_page(to_engine_url(page.url));

    m_host.ShowMsgPanel(kLoadingMessage);
    m_host.set_msg_panel_timer(false);
  });
  guarded("configuration download", [this] { m_host.GetRemoteConfig(); });
  guarded("start-up", [this] {
    m_host.set_msg_panel_timer(true);
    m_host.set_toolbar_buttons(true);
    if (auto notice = UpdateNotice(m_host.settings())) m_host.ShowMsgPanel(*notice);
    m_host.guard().open_menu_page(m_host.HomeSite());
    m_finished = true;
  });
}

}  // namespace tovali
