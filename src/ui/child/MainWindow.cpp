#include "ui/child/MainWindow.h"

#include <iostream>

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <glibmm/main.h>

#include "base/Translate.h"
#include "browser/CallbackGuard.h"
#include "browser/PageGuard.h"
#include "browser/WebEngine.h"
#include "config/TrustFiles.h"
#include "crypto/PasswordHash.h"
#include "models/GeneratedPages.h"
#include "models/PasswordChange.h"
#include "models/StartupPlan.h"
#include "settings/SettingsKeys.h"
#include "settings/SystemFolder.h"
#include "ui/parent/ControlPanelForm.h"
#include "ui/parent/PasswordForm.h"
#include "ui/parent/SetupForm.h"
#include "ui/parent/WelcomeDialog.h"
#include "ui/widgets/MessageBox.h"

namespace tovali {

MainWindow::MainWindow(const Locations& locations)
    : m_session(locations, *this, *this, m_clock),
      m_top_panel(
          m_main_frame, m_session.settings(),
          {[this] { prepare_history_step(); },
           [this] { ShowMsgPanel(std::string("\r\r") + tr("Printing...")); }},
          {[this] { on_home_clicked(); }, [this] { on_email_clicked(); },
           [this] { on_local_help_clicked(); }, [this] { on_web_help_clicked(); },
           [this] { show_about(); }, [this] { on_close_clicked(); }, [this] { on_ask_clicked(); }}),
      m_kiosk(*this, m_session.settings()),
      m_startup(m_session, *this) {
  set_title(kCaption);
  set_name("MainWindow");
  set_decorated(false);
  cover_monitor();
  const Settings& settings = m_session.settings();
  if (password_hash_in_force(settings) &&
      !is_supported_password_hash(settings.value(keys::password_hash)))
    std::cerr << "tovali-explorer: password_hash in the administrator's settings is not a "
                 "yescrypt ($y$) or SHA-512 ($6$) hash; no password is accepted\n";
  // The page guard before any view loads: every web process gets it.
  if (!m_session.locations().page_guard_dir.empty())
    WebEngine::instance().use_page_guard(m_session.locations().page_guard_dir);
  apply_window_level();
  build_layout();
  wire_frames();
  m_session.open();
  m_config_download = std::make_unique<ConfigDownload>(
      m_session.settings(), m_session.store(), m_session.SiteBaseURL(), m_session,
      [this] { return m_session.close_allowed(); });
  trust_administrator_authorities();
  m_kiosk.install_event_filter([this] { m_session.guard().mouse_down(); });
  m_kiosk.start();
  m_queue_timer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &MainWindow::on_queue_timer), 200);
  m_startup.start();
  m_session.daily_time().start();
  m_daily_time_timer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &MainWindow::on_daily_time_timer), 1000);
}

MainWindow::~MainWindow() {
  // Stop the timers and the pop-up first, then save the refused-URL log.
  m_queue_timer.disconnect();
  m_show_new_browser_timer.disconnect();
  m_daily_time_timer.disconnect();
  m_popup.reset();
  m_session.save_prohibited_log_now();
  m_session.daily_time().save_now();
}

void MainWindow::cover_monitor() {
  auto display = Gdk::Display::get_default();
  Glib::RefPtr<Gdk::Monitor> monitor;
  if (display) monitor = display->get_primary_monitor();
  if (!monitor && display && display->get_n_monitors() > 0) monitor = display->get_monitor(0);
  Gdk::Rectangle area(0, 0, 1024, 768);
  if (monitor) monitor->get_geometry(area);
  set_default_size(area.get_width(), area.get_height());
  set_size_request(area.get_width(), area.get_height());
  set_resizable(false);
  move(area.get_x(), area.get_y());
  maximize();  // with a window manager; without one the size above holds
}

// The pages trust what the configuration download trusts: the system's
// store and the administrator's ca.pem. When the administrator's files
// cannot be used the download trusts no site and reports why; the pages then
// get no extra authority either.
void MainWindow::trust_administrator_authorities() {
  const TrustFiles files = read_trust_files(system_folder());
  if (!files.problem.empty() || files.ca_file.empty()) return;
  std::string problem;
  if (!EmbeddedWB::trust_authorities_in(files.ca_file, problem))
    std::cerr << "tovali-explorer: cannot read " << files.ca_file << ": " << problem << "\n";
}

void MainWindow::apply_window_level() {
  set_keep_above(m_session.settings().is_on(keys::prevent_switch));
}

void MainWindow::build_layout() {
  m_left_strip.on_hide = [this] { m_splitter.fold(); };
  m_left_strip.on_show = [this] { m_splitter.unfold(); };
  m_status_line.signal_tools_clicked().connect(
      sigc::mem_fun(*this, &MainWindow::on_tools_double_clicked));
  m_middle.pack_start(m_left_strip, Gtk::PACK_SHRINK);
  m_middle.pack_start(m_splitter, Gtk::PACK_EXPAND_WIDGET);

  m_layout.pack_start(m_top_panel, Gtk::PACK_SHRINK);
  m_layout.pack_start(m_middle, Gtk::PACK_EXPAND_WIDGET);
  m_layout.pack_start(m_status_line, Gtk::PACK_SHRINK);
  m_overlay.add(m_layout);
  m_overlay.add_overlay(m_about);
  m_overlay.add_overlay(m_msg_panel);
  m_overlay.add_overlay(m_msg_panel.ask_button());
  m_msg_panel.on_ask = [this] { m_grown_up.ask(*this); };
  add(m_overlay);
  m_layout.show_all();
  m_overlay.show();

  m_about.signal_picture_clicked().connect(
      sigc::mem_fun(*this, &MainWindow::on_about_picture_clicked));
}

void MainWindow::wire_frames() {
  EmbeddedWBEvents& nav = m_nav_frame.events();
  nav.BeforeNavigate2 = [this](const NavigationRequest& request) {
    return m_session.BeforeNavigate2(request);
  };
  nav.NewWindow2 = [this]() -> EmbeddedWB* {
    m_session.guard().NavFrameNewWindow2();
    return nullptr;
  };
  nav.NavigateComplete2 = [this](const std::string&, const std::optional<std::string>& body) {
    m_status_line.set_green_dot(m_session.guard().NavFrameNavigateComplete2(body));
  };
  nav.LoadStarted = [this] { m_left_strip.show_loading(); };
  nav.LoadFinished = [this] { on_nav_frame_loaded(); };
  // The title may arrive after the load has finished: the same check then.
  nav.TitleChange = [this](const std::string& title) {
    if (title_reports_missing_page(title)) m_session.guard().page_missing(GuardedFrame::Navigation);
  };
  nav.StatusTextChange = [this](const std::string& text) { on_nav_frame_status_text(text); };
  nav.LoadFailed = [this](const std::string& url) { on_nav_frame_load_failed(url); };
  // What the page guard refused a page is silent for the child: counted only.
  nav.LoadRefused = [this](const std::string& url) { m_session.page_load_refused(url); };

  EmbeddedWBEvents& main = m_main_frame.events();
  main.BeforeNavigate2 = [this](const NavigationRequest& request) {
    return m_session.BeforeNavigate2(request);
  };
  main.NewWindow2 = [this] { return on_main_frame_new_window(); };
  main.LoadFinished = [this] { on_page_loaded(m_main_frame); };
  main.NavigateComplete2 = [this](const std::string& url, const std::optional<std::string>&) {
    m_session.page_opened(url);
  };
  main.TitleChange = [this](const std::string&) { on_page_loaded(m_main_frame); };
  main.StatusTextChange = [this](const std::string& text) { on_status_text_change(text); };
  main.LoadStarted = [this] { on_load_started(); };
  main.ProgressChange = [this](int progress, int max) { on_progress_change(progress, max); };
  main.LoadFailed = [this](const std::string& url) { on_load_failed(url); };
  main.LoadRefused = [this](const std::string& url) { m_session.page_load_refused(url); };
}

// ---------------------------------------------------------------- settings

void MainWindow::UpdateControls() {
  const Settings& s = m_session.settings();
  m_top_panel.set_close_visible(s.is_on(keys::show_close_main));
  const bool hide_nav = s.is_on(keys::hide_navframe);
  m_left_strip.set_visible(!hide_nav);
  m_splitter.hide_nav_frame(hide_nav ? NavFrameState::Hidden : NavFrameState::Shown);
  m_top_panel.set_email_visible(s.is_on(keys::enable_email_button));
  m_top_panel.set_print_enabled(s.is_on(keys::enable_print_button));
  m_main_frame.set_silent(s.is_on(keys::silent_mode) ? DialogMode::Silent : DialogMode::Shown);
}

void MainWindow::set_toolbar_buttons(bool enabled) {
  m_top_panel.set_buttons_enabled(enabled);
}

RemoteConfigResult MainWindow::download_config() {
  return m_config_download->GetRemoteConfig();
}

void MainWindow::set_status_text(const std::string& text) {
  m_status_line.set_text(text);
}

void MainWindow::show_minutes_left(std::optional<int> minutes) {
  m_status_line.show_minutes_left(minutes);
}

void MainWindow::close_popup() {
  if (m_popup) m_popup->hide();
}

// ------------------------------------------------------------ guard effects

void MainWindow::navigate(BrowserTarget target, const std::string& url) {
  switch (target) {
    case BrowserTarget::MainFrame:
      m_main_frame.Navigate(url);
      break;
    case BrowserTarget::PopupBrowser:
      if (m_popup) m_popup->NewBrowser().Navigate(url);
      break;
    case BrowserTarget::NavFrame:
      m_nav_frame.Navigate(url);
      break;
  }
}

void MainWindow::ShowMsgPanel(const std::string& text) {
  // The pop-up is shown by a timer after its creation, and the engine often
  // asks about its first page before that: a refusal of that page belongs in
  // the pop-up's panel too, where the child will see it once it is up, not
  // in the main window's panel behind the modal pop-up.
  const PanelButton button = m_grown_up.button_for(text);
  if (popup_exists()) {
    m_popup->ShowMsgPanel(text, button);
    return;
  }
  m_msg_panel.ShowMsgPanel(text, button);
}

void MainWindow::set_nav_frame_width(int pixels) {
  m_splitter.set_nav_frame_width(pixels);
}

std::string MainWindow::ErrorPagePath() {
  return to_engine_url(write_error_page(m_session.state_dir()));
}

std::string MainWindow::MoreSitesPath() {
  const auto path = write_more_sites_page(m_session.state_dir(), m_session.settings());
  if (!path) {
    std::cerr << "tovali-explorer: cannot write " << m_session.state_dir() << "moresites.html\n";
    return std::string();  // nothing is queued; the frame keeps its page
  }
  return to_engine_url(*path);
}

bool MainWindow::on_queue_timer() {
  guarded("QueueTimer", [this] { m_session.guard().QueueTimerTimer(); });
  return true;
}

bool MainWindow::on_daily_time_timer() {
  guarded("daily time", [this] { m_session.daily_time().tick(); });
  return true;
}

// ------------------------------------------------- main frame and pop-up

Verdict MainWindow::BeforeNavigate2(const NavigationRequest& request) {
  return m_session.BeforeNavigate2(request);
}

EmbeddedWB* MainWindow::on_main_frame_new_window() {
  if (m_session.guard().WebBrowserNewWindow2() != NewWindowDecision::OpenPopup) return nullptr;
  m_popup = std::make_unique<NewBrowserForm>(*this, m_main_frame, *this);
  m_popup->msg_panel().on_ask = [this] {
    if (m_popup) m_grown_up.ask(*m_popup);
  };
  m_popup->NewBrowser().events().NavigateComplete2 = [this](const std::string& url,
                                                            const std::optional<std::string>&) {
    m_session.page_opened(url);
  };
  m_popup->NewBrowser().events().LoadRefused = [this](const std::string& url) {
    m_session.page_load_refused(url);
  };
  if (m_session.settings().is_on(keys::prevent_switch)) m_popup->set_keep_above(true);
  m_show_new_browser_timer.disconnect();
  m_show_new_browser_timer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &MainWindow::on_show_popup_timer), 10);
  return &m_popup->NewBrowser();
}

bool MainWindow::on_show_popup_timer() {
  if (!m_show_new_browser_timer.connected() || !m_popup) return false;
  m_show_new_browser_timer.disconnect();
  guarded("pop-up window", [this] { m_popup->show_modal(); });
  // Freed once the modal loop has returned; its view goes with it.
  m_popup.reset();
  return false;
}

void MainWindow::on_page_loaded(EmbeddedWB& sender) {
  guarded("on_page_loaded", [&] {
    if (title_reports_missing_page(sender.LocationName()))
      m_session.guard().page_missing(GuardedFrame::Main);
  });
}

void MainWindow::on_status_text_change(const std::string& text) {
  guarded("on_status_text_change", [&] {
    if (status_names_internal_page(text)) m_session.guard().internal_page_named(GuardedFrame::Main);
    m_status_line.set_text(text);
  });
}

// The engine could not load a page in the main frame (or the pop-up): the
// local error page takes its place.
void MainWindow::on_load_failed(const std::string& url) {
  guarded("on_load_failed", [&] { m_session.guard().load_failed(GuardedFrame::Main, url); });
}

void MainWindow::on_load_started() {
  m_status_line.load_started();
}

void MainWindow::on_progress_change(int progress, int progress_max) {
  m_status_line.report_progress(progress, progress_max);
}

void MainWindow::prepare_history_step() {
  m_session.guard().prepare_history_step();
}

// ---------------------------------------------------------- navigation frame

void MainWindow::on_nav_frame_status_text(const std::string& text) {
  guarded("on_nav_frame_status_text", [&] {
    if (status_names_internal_page(text))
      m_session.guard().internal_page_named(GuardedFrame::Navigation);
  });
}

void MainWindow::on_nav_frame_loaded() {
  guarded("on_nav_frame_loaded", [this] {
    m_left_strip.hide_loading();
    if (title_reports_missing_page(m_nav_frame.LocationName()))
      m_session.guard().page_missing(GuardedFrame::Navigation);
  });
}

void MainWindow::on_nav_frame_load_failed(const std::string& url) {
  guarded("on_nav_frame_load_failed",
          [&] { m_session.guard().load_failed(GuardedFrame::Navigation, url); });
}

// ------------------------------------------------------------------ buttons

void MainWindow::on_home_clicked() {
  guarded("Home", [this] {
    m_left_strip.show_loading();
    m_session.guard().open_menu_page(m_session.HomeSite());
  });
}

void MainWindow::on_email_clicked() {
  guarded("E-mail", [this] { m_session.open_email(); });
}

void MainWindow::on_local_help_clicked() {
  guarded("Help", [this] { m_session.open_local_help(); });
}

void MainWindow::on_web_help_clicked() {
  guarded("Help From The Web", [this] { m_session.open_web_help(); });
}

void MainWindow::show_about() {
  int width = 0;
  int height = 0;
  get_size(width, height);
  m_about.show_centred(width, height);
}

void MainWindow::on_close_clicked() {
  m_session.CloseProgram();
}

// The toolbar's "Ask a grown-up": the same request as the message panel's
// button, about the same address, once the panel may have gone.
void MainWindow::on_ask_clicked() {
  guarded("Ask a grown-up", [this] {
    m_msg_panel.HideMsgPanel();
    m_grown_up.ask(*this);
  });
}

void MainWindow::on_about_picture_clicked() {
  m_msg_panel.HideMsgPanel();
}

void MainWindow::on_tools_double_clicked() {
  // The panel and its password prompt open without a password: the daily
  // time counts on.
  guarded("control panel", [this] { open_control_panel(this, m_session); });
}

bool MainWindow::GetPassword() {
  return tovali::GetPassword(this, m_session.settings());
}

void MainWindow::run_setup() {
  SetupForm setup(this, m_session);
  setup.run_modal();
}

WelcomeResult MainWindow::run_welcome() {
  WelcomeDialog welcome(*this, m_session);
  return welcome.run_modal();
}

void MainWindow::tell_parent(const std::string& text) {
  show_message(*this, text);
}

void MainWindow::set_page_load_rules(const std::string& encoded,
                                     const std::string& websocket_filter) {
  PageGuard::instance().set_rules(encoded);
  PageGuard::instance().set_websocket_filter(websocket_filter);
}

// ------------------------------------------------------------------ closing

void MainWindow::close_window() {
  m_kiosk.stop();
  iconify();
  guarded("closing", [this] { m_config_download->http_client().Abort(); });
  guarded("closing", [this] { m_nav_frame.Stop(); });
  guarded("closing", [this] { m_main_frame.Stop(); });
  guarded("closing", [this] { m_startup.stop_probe(); });
  // Hidden directly: a close request would be dropped by GTK while the
  // control panel (modal, open around this call) still holds its grab.
  hide();
}

bool MainWindow::on_delete_event(GdkEventAny*) {
  // Only CloseProgram may close the window.
  if (!m_session.close_allowed()) return true;
  hide();
  return false;
}

}  // namespace tovali
