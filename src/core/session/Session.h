#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Clock.h"
#include "base/NavigationRequest.h"
#include "config/StatusReporter.h"
#include "models/ControlPanelHost.h"
#include "models/GrownUpRequest.h"
#include "models/SetupApply.h"
#include "models/SetupHost.h"
#include "policy/GuardEffects.h"
#include "policy/NavigationGuard.h"
#include "session/DailyTime.h"
#include "session/SessionEdge.h"
#include "settings/ConfigStore.h"
#include "settings/StartupSettings.h"

namespace tovali {

// The running program's state and decisions, apart from its widgets: the
// settings and their store, the navigation guard, the daily time and
// activity record, the grown-up requests' answers, the steps of the start-up
// chain and the configuration download's outcome. It is the setup dialog's,
// the control panel's and the download's host. Everything shown, every
// dialog, every timer and every view stays with the window, which the
// session reaches through SessionEdge (and the guard through GuardEffects).
// All methods run on the UI thread.
class Session : public SetupHost, public ControlPanelHost, public StatusReporter {
 public:
  // Reads the settings (run_startup_settings_steps on `locations`), the
  // refused-URL log and the activity record, and makes the guard. All
  // references must outlive the session; nothing of `edge` or `effects` is
  // called before open().
  Session(const Locations& locations, SessionEdge& edge, GuardEffects& effects, const Clock& clock);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Puts the settings in force once the window exists: tells what went wrong
  // while reading them on stderr, gives the guard the program's own pages,
  // keeps the kiosk closed to sites when the administrator's settings cannot
  // be read, loads the parent's lists, applies the controls and
  // `disable_ctrl_alt_del`.
  void open();

  // --- start-up chain ---
  // The first step (`StartupTimer`): the start page is queued for the main
  // frame and Home, E-mail and Stop are disabled.
  void begin_startup();
  // The last step, once the connection check has ended: the first main page,
  // the configuration download, the update notice and the home menu page;
  // with the kiosk closed to sites only the administrator's message. Each
  // part runs on when an earlier one failed (told on stderr).
  void finish_startup();
  // The menu page for the navigation frame: with `local_menu` on, the
  // program's own page, written afresh into the state folder from the
  // `num_menu_sites` list (a failed write is told on stderr; the frame then
  // shows the error page); else the home site's menu page.
  std::string HomeSite();
  // Once start-up has ended: when welcome_needed, shows the grown-up's
  // welcome through the edge while the daily time stops; after "Done" the
  // navigation frame opens the menu page the answers chose. A chosen home
  // site's configuration is fetched once first, and the grown-up is told
  // whether it answered (home_site_check_message).
  void offer_welcome();
  // Downloads the remote configuration through the edge and tells refused
  // sites and a failed save on stderr; returns the download's outcome.
  RemoteConfigResult GetRemoteConfig();

  // --- the toolbar's sites ---
  // E-mail: the `email_url` site under the `email_meta_data` rules.
  void open_email();
  // Help: the local help page, trusted as the program's own.
  void open_local_help();
  // Help From The Web: the help page of the home site.
  void open_web_help();

  // --- navigation ---
  // Judges `request` (NavigationGuard::BeforeNavigate2); a refusal in the
  // main frame or the pop-up counts in the day's activity. A refusal in the
  // main frame whose message offered "Ask a grown-up" shows the toolbar's
  // button; a main-frame navigation admitted as the child's or the
  // program's (origin LinkClick, Program or History) hides it. The page's
  // own navigations (origin Page: its scripts, its frames) leave it as it
  // is: the engine asks about the frames of the page the child is on too.
  Verdict BeforeNavigate2(const NavigationRequest& request);
  // A page opened in the main frame or the pop-up.
  void page_opened(const std::string& url) { m_daily_time.page_opened(url); }
  // A load of a page (an image, a script, a fetch...) from `url` that was
  // refused: one blocked item of today's date, under the host that refused
  // navigations count under (ActivityRecord::host_of). A refused load is
  // silent for the child: no message panel, no line in prohurl.log, and the
  // toolbar's "Ask a grown-up" stays as it is.
  void page_load_refused(const std::string& url) { m_daily_time.page_load_refused(url); }

  // --- grown-up requests ---
  // True when `message`, about to be shown, offers "Ask a grown-up"; the URL
  // the guard refused last is then the one asked about.
  bool offers_grown_up_request(const std::string& message);
  // The URL that "Ask a grown-up" asks about ("" when none).
  const std::string& grown_up_url() const { return m_grown_up_url; }
  // Whether the toolbar offers "Ask a grown-up" about grown_up_url() (see
  // BeforeNavigate2 and answer_grown_up_request). Hidden at start.
  AskButton ask_button() const { return m_ask_button; }
  // Applies and records the grown-up's answer about `url` (nullopt: the
  // password prompt was cancelled) and saves the day's activity. "Just this
  // time" opens it once; "Always" adds it to "More Sites", saves the
  // settings (a failed save is handed to `show` before the page is queued),
  // and opens it as the program's own page. Any answer hides the toolbar's
  // "Ask a grown-up"; a cancelled prompt leaves it for another try.
  void answer_grown_up_request(const std::string& url, std::optional<AllowSiteChoice> choice,
                               const MessageSink& show);

  // --- closing ---
  // True once CloseProgram (or end_session) has begun.
  bool close_allowed() const { return m_close_allowed; }
  // Saves the refused-URL log; a failure is told on stderr.
  void save_prohibited_log_now();
  // The session is ending (SIGTERM and the like): saves the log and the
  // day's activity and allows the close.
  void end_session();

  NavigationGuard& guard() { return m_guard; }
  DailyTime& daily_time() { return m_daily_time; }
  const Locations& locations() const { return m_locations; }
  // The settings' site, changed by the configuration download.
  std::string& SiteBaseURL() { return m_state.SiteBaseURL; }
  const ConfigStore& store() const { return m_store; }

  // --- SetupHost ---
  Settings& settings() override { return m_state.settings; }
  SaveReport SaveConfig() override;
  void UpdateControls() override { m_edge.UpdateControls(); }
  // Reloads the guard's lists and, with `local_menu` on, rewrites the
  // program's own menu page.
  void UpdateLists() override;
  std::string ProgramDir() const override { return m_locations.ProgramDir; }
  std::string state_dir() const override { return m_locations.state_dir; }
  const ProhibitedLog& prohibited_log() const override { return m_state.prohibited_log; }
  SaveReport startup_save_report() const override { return m_state.save_failures; }
  std::string system_settings_problems() const override { return m_state.system_settings_problems; }
  const ActivityRecord* activity_record() const override { return &m_daily_time.record(); }
  std::string activity_problems() const override { return m_daily_time.load_problems(); }
  void update_daily_limits() override { m_daily_time.update_limits(); }
  void add_extra_minutes() override { m_daily_time.add_extra_minutes(); }

  // --- ControlPanelHost ---
  const Settings& settings() const override { return m_state.settings; }
  // Asks for the password when `req_pw_close` is on; when the close goes
  // ahead it is allowed from then on and the edge closes the window.
  void CloseProgram() override;
  bool GetPassword() override { return m_edge.GetPassword(); }
  // With TimeWhileOpen::Stops no daily time counts while the dialog shows.
  void OpenSetup(TimeWhileOpen time) override;

  // --- StatusReporter ---
  void set_status_text(const std::string& text) override { m_edge.set_status_text(text); }

 private:
  // Sends the rules of what pages may load (page_load_rules) to the edge when
  // they may have changed since the last time: the parent's lists, the link
  // rules in force, the link number or the current site. Called after every
  // guard step that can change them, before the engine hears the verdict.
  void sync_page_load_rules();
  // Shows or hides the toolbar's "Ask a grown-up" through the edge when it
  // changes.
  void set_ask_button(AskButton state);
  // Writes the parent's own menu page into the state folder (created when
  // missing); a failure is told on standard error.
  void write_own_menu();

  Locations m_locations;
  StartupState m_state;
  ConfigStore m_store;
  SessionEdge& m_edge;
  NavigationGuard m_guard;
  DailyTime m_daily_time;
  std::string m_grown_up_url;
  // Set by offers_grown_up_request: the refusal being judged offered the
  // panel's button.
  bool m_request_offered = false;
  AskButton m_ask_button = AskButton::Hidden;
  bool m_close_allowed = false;
  // What the rules last sent were made of.
  struct SentLoadRules {
    const void* rule_set = nullptr;
    std::string url_number;
    std::string site_url;
    std::uint64_t lists_version = 0;
  };
  std::optional<SentLoadRules> m_sent_load_rules;
  std::uint64_t m_lists_version = 0;
};

}  // namespace tovali
