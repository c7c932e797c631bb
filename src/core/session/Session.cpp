#include "session/Session.h"

#include <exception>
#include <iostream>
#include <utility>
#include <vector>

#include "base/PageLanguage.h"
#include "models/GeneratedPages.h"
#include "models/StartupPlan.h"
#include "policy/PageLoadRules.h"
#include "policy/WebSocketFilter.h"
#include "session/HomeSiteCheck.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

// Runs one part of a step; an error it throws is told on stderr and the
// step goes on with its next part.
template <typename Fn>
void run_part(const char* where, Fn&& fn) {
  try {
    std::forward<Fn>(fn)();
  } catch (const std::exception& e) {
    std::cerr << "tovali-explorer: " << where << ": " << e.what() << "\n";
  } catch (...) {
    std::cerr << "tovali-explorer: " << where << ": unknown error\n";
  }
}

}  // namespace

Session::Session(const Locations& locations, SessionEdge& edge, GuardEffects& effects,
                 const Clock& clock)
    : m_locations(locations),
      m_state(run_startup_settings_steps(locations)),
      m_store(m_state.store),
      m_edge(edge),
      m_guard(m_state.settings, m_state.prohibited_log, effects, clock),
      m_daily_time(m_locations.state_dir, start_page_path(m_locations.ProgramDir), m_state.settings,
                   m_guard,
                   {[this](const std::string& text) { m_edge.ShowMsgPanel(text); },
                    [this] { m_edge.close_popup(); },
                    [this](std::optional<int> minutes) { m_edge.show_minutes_left(minutes); },
                    [this](const std::string& path) { return m_edge.engine_url(path); }}) {
  if (!m_state.save_failures.ok())
    std::cerr << "tovali-explorer: settings copies not written:\n"
              << m_state.save_failures.describe() << "\n";
  if (!m_state.system_settings_problems.empty())
    std::cerr << "tovali-explorer: " << m_state.system_settings_problems;
}

Session::~Session() = default;

void Session::open() {
  std::vector<std::string> own_pages;
  for (const std::string& path : program_page_paths(m_locations.ProgramDir, m_locations.state_dir))
    own_pages.push_back(m_edge.engine_url(path));
  m_guard.set_program_pages(std::move(own_pages));
  // Without the administrator's locks the kiosk stays closed: no site opens.
  if (m_state.system_settings_unreadable) {
    create_state_dir(m_locations);
    m_guard.close_to_sites(
        m_edge.engine_url(write_settings_unreadable_page(m_locations.state_dir)));
  }
  UpdateLists();
  UpdateControls();
}

void Session::sync_page_load_rules() {
  const LinkMetaData& meta = m_guard.link_meta_data();
  SentLoadRules now{meta.shared_rules().get(), meta.URLNumber(), meta.CurrentSiteURL(),
                    m_lists_version};
  if (m_sent_load_rules && m_sent_load_rules->rule_set == now.rule_set &&
      m_sent_load_rules->url_number == now.url_number &&
      m_sent_load_rules->site_url == now.site_url &&
      m_sent_load_rules->lists_version == now.lists_version)
    return;
  TextList own_pages;
  for (const std::string& dir : {m_locations.ProgramDir, m_locations.state_dir})
    if (!dir.empty()) own_pages.push_back(m_edge.engine_url(dir));
  const PageLoadRules rules = page_load_rules(m_state.settings, meta, own_pages);
  m_edge.set_page_load_rules(encode_page_load_rules(rules), websocket_filter_json(rules));
  m_sent_load_rules = std::move(now);
}

// ---------------------------------------------------------------- start-up

void Session::begin_startup() {
  m_guard.open_start_page(m_edge.engine_url(start_page_path(m_locations.ProgramDir)));
  m_edge.set_toolbar_buttons(false);
}

void Session::finish_startup() {
  if (m_guard.closed_to_sites()) {
    // No configuration, no menu and no site: the administrator's message
    // stays where the child looks, and the toolbar stays disabled.
    run_part("start-up", [this] {
      m_edge.ShowMsgPanel(kSettingsUnreadableMessage);
      m_edge.set_msg_panel_timer(false);
    });
    std::cerr << "tovali-explorer: the administrator's settings cannot be read; the program "
                 "stays closed and opens no site\n";
    return;
  }
  run_part("start-up", [this] {
    const FirstMainPage page = choose_first_main_page(m_state.settings, m_locations.ProgramDir);
    if (page.kind == FirstPageKind::Site)
      m_guard.open_site(page.url);
    else
      m_guard.open_start_page(m_edge.engine_url(page.url));

    m_edge.ShowMsgPanel(kLoadingMessage);
    m_edge.set_msg_panel_timer(false);
  });
  run_part("configuration download", [this] { GetRemoteConfig(); });
  run_part("start-up", [this] {
    m_edge.set_msg_panel_timer(true);
    m_edge.set_toolbar_buttons(true);
    if (auto notice = update_notice(m_state.settings)) m_edge.ShowMsgPanel(*notice);
    m_guard.open_menu_page(HomeSite());
  });
}

void Session::offer_welcome() {
  // While the administrator's settings.conf cannot be read the kiosk stays
  // closed and its locks are unknown: nothing is offered to set up.
  if (m_state.system_settings_unreadable || !welcome_needed(m_state.settings)) return;
  WelcomeResult result = WelcomeResult::Later;
  {
    const DailyTime::ParentWindow paused(m_daily_time);
    result = m_edge.run_welcome();
  }
  if (result == WelcomeResult::Later) return;
  if (result == WelcomeResult::HomeSiteChosen) {
    const RemoteConfigResult download = GetRemoteConfig();
    // What the site sent is in force from now on, as after setup.
    if (download.outcome == RemoteConfigOutcome::Applied) {
      m_edge.UpdateControls();
      UpdateLists();
    }
    const DailyTime::ParentWindow paused(m_daily_time);
    m_edge.tell_parent(home_site_check_message(download));
  }
  if (!m_guard.closed_to_sites()) m_guard.open_menu_page(HomeSite());
}

std::string Session::HomeSite() {
  if (!m_state.settings.is_on(keys::local_menu))
    return home_site_url(m_state.settings, m_state.SiteBaseURL, m_state.SitePath);
  write_own_menu();
  return m_edge.engine_url(m_locations.state_dir + kLocalMenuFileName);
}

void Session::write_own_menu() {
  create_state_dir(m_locations);
  if (!write_local_menu_page(m_locations.state_dir, m_state.settings))
    std::cerr << "tovali-explorer: cannot write " << m_locations.state_dir << kLocalMenuFileName
              << "\n";
}

void Session::UpdateLists() {
  m_guard.UpdateLists();
  ++m_lists_version;
  sync_page_load_rules();
  if (m_state.settings.is_on(keys::local_menu) && !m_guard.closed_to_sites()) write_own_menu();
}

RemoteConfigResult Session::GetRemoteConfig() {
  RemoteConfigResult result = m_edge.download_config();
  for (const std::string& refusal : result.refusals)
    std::cerr << "tovali-explorer: configuration refused from " << refusal << "\n";
  if (result.outcome == RemoteConfigOutcome::Applied && !result.save.ok())
    std::cerr << "tovali-explorer: downloaded settings not saved:\n"
              << result.save.describe() << "\n";
  return result;
}

// ------------------------------------------------------------------ toolbar

void Session::open_email() {
  m_guard.open_site(m_state.settings.value(keys::email_url),
                    m_state.settings.value(keys::email_meta_data));
}

void Session::open_local_help() {
  m_guard.open_program_page(
      m_edge.engine_url(supplied_page_path(m_locations.ProgramDir, "help.html")));
}

void Session::open_web_help() {
  // The site path begins with "/": the URL's domain is the site's.
  m_guard.open_site(m_state.SiteBaseURL + m_state.SitePath + "/help.php3");
}

// -------------------------------------------------------------- navigation

Verdict Session::BeforeNavigate2(const NavigationRequest& request) {
  m_request_offered = false;
  const Verdict verdict = m_guard.BeforeNavigate2(request);
  // The page guard judges the page's loads by the rules of this verdict.
  sync_page_load_rules();
  // A page refused in the main frame or the pop-up counts for the day.
  if (verdict == Verdict::Cancel && request.target != BrowserTarget::NavFrame)
    m_daily_time.page_refused(request.url);
  if (request.target == BrowserTarget::MainFrame) {
    if (verdict == Verdict::Cancel && m_request_offered)
      set_ask_button(AskButton::Shown);
    else if (verdict == Verdict::Proceed && request.origin != RequestOrigin::Page)
      set_ask_button(AskButton::Hidden);
  }
  return verdict;
}

// ------------------------------------------------------- grown-up requests

bool Session::offers_grown_up_request(const std::string& message) {
  if (!message_offers_grown_up_request(message) || m_guard.refused_url().empty()) return false;
  m_grown_up_url = m_guard.refused_url();
  m_request_offered = true;
  return true;
}

void Session::answer_grown_up_request(const std::string& url, std::optional<AllowSiteChoice> choice,
                                      const MessageSink& show) {
  // The queue sends it to the pop-up while that is shown (whose panel
  // offered the button then), else to the main frame.
  if (choice == AllowSiteChoice::JustThisTime) m_guard.open_once(url);
  if (choice == AllowSiteChoice::Always) {
    if (add_allowed_site(m_state.settings, url) == MoreSitesWrite::Added) {
      const SaveReport report = SaveConfig();
      if (!report.ok() && show) show(save_failure_message(report));
    }
    // Trusted as the program's own pages are and the current site from now
    // on: the link rules are skipped, the parent's lists still apply.
    m_guard.open_program_page(url);
  }
  if (choice) set_ask_button(AskButton::Hidden);
  m_daily_time.record_request(url, answer_for(choice));
  m_daily_time.save_now();
}

void Session::set_ask_button(AskButton state) {
  if (state == m_ask_button) return;
  m_ask_button = state;
  m_edge.set_ask_button(state);
}

// ---------------------------------------------------------- settings, close

SaveReport Session::SaveConfig() {
  SaveReport report = m_store.SaveConfig(m_state.settings);
  if (!report.ok())
    std::cerr << "tovali-explorer: settings not saved:\n" << report.describe() << "\n";
  return report;
}

void Session::CloseProgram() {
  if (m_state.settings.is_on(keys::req_pw_close) && !GetPassword()) return;
  m_close_allowed = true;
  m_edge.close_window();
}

void Session::OpenSetup(TimeWhileOpen time) {
  std::optional<DailyTime::ParentWindow> paused;
  if (time == TimeWhileOpen::Stops) paused.emplace(m_daily_time);
  m_edge.run_setup();
}

void Session::save_prohibited_log_now() {
  if (!save_prohibited_log(m_locations, m_state.prohibited_log))
    std::cerr << "tovali-explorer: cannot save " << m_locations.state_dir << "prohurl.log\n";
}

void Session::end_session() {
  save_prohibited_log_now();
  m_daily_time.save_now();
  m_close_allowed = true;
}

}  // namespace tovali
