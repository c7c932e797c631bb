#include "ui/child/MainWindow.h"

#include <iostream>

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <glibmm/main.h>

#include "activity/TimeBudget.h"
#include "browser/CallbackGuard.h"
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
#include "ui/widgets/ShellPictures.h"

namespace tovali {

namespace {

// One word written one letter per line, with an empty first line.
std::string vertical_word(const std::string& word) {
  std::string text;
  for (char letter : word) {
    text += '\n';
    text += letter;
  }
  return text;
}

const Gdk::RGBA kSilver("#c0c0c0");

}  // namespace

MainWindow::MainWindow(const Locations& locations)
    : m_session(locations, *this, *this, m_clock),
      m_browser_buttons(
          m_main_frame, m_session.settings(), "",
          {[this] { prepare_history_step(); }, [this] { ShowMsgPanel("\r\rPrinting..."); }}),
      m_logo("About Tovali Explorer", pictures::Picture::Logo, 108, 44, MouseClicks::Double),
      m_close_button("Close", pictures::Picture::CloseBox, 16, 14, MouseClicks::Single,
                     HandCursor::On),
      m_progress([this](const auto& cr, double w,
                        double h) { pictures::progress_bar(cr, w, h, m_progress_fill.fill()); },
                 85, 14),
      m_tools_image("Tools", pictures::Picture::Tools, 18, 18, MouseClicks::Double),
      m_red_dot(pictures::picture(pictures::Picture::RedDot, 17, 17)),
      m_green_dot(pictures::picture(pictures::Picture::GreenDot, 17, 17)),
      m_kiosk(*this, m_session.settings()),
      m_startup(m_session, *this) {
  set_title(kCaption);
  set_name("MainWindow");
  set_decorated(false);
  cover_monitor();
  const Settings& settings = m_session.settings();
  if (PasswordHashInForce(settings) &&
      !is_supported_password_hash(settings.value(keys::password_hash)))
    std::cerr << "tovali-explorer: password_hash in the administrator's settings is not a "
                 "yescrypt ($y$) or SHA-512 ($6$) hash; no password is accepted\n";
  apply_window_level();
  build_layout();
  wire_frames();
  m_session.open();
  m_config_download = std::make_unique<ConfigDownload>(
      m_session.settings(), m_session.store(), m_session.SiteBaseURL(), m_session,
      [this] { return m_session.close_allowed(); });
  trust_administrator_authorities();
  m_kiosk.install_event_filter([this] { m_session.guard().MouseDown(); });
  m_kiosk.start();
  m_queue_timer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &MainWindow::on_queue_timer), 200);
  m_startup.Start();
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
  build_toolbar();
  build_left_strip();
  build_status_line();

  m_nav_frame_panel.pack_start(m_nav_frame.widget(), Gtk::PACK_EXPAND_WIDGET);
  m_nav_frame_panel.set_size_request(1, -1);
  m_main_panel.pack_start(m_main_frame.widget(), Gtk::PACK_EXPAND_WIDGET);
  m_splitter.pack1(m_nav_frame_panel, false, false);
  m_splitter.pack2(m_main_panel, true, false);
  m_splitter.set_wide_handle(true);
  // The navigation frame gets its width once the splitter has its size.
  m_splitter.signal_size_allocate().connect([this](Gtk::Allocation& allocation) {
    if (m_nav_frame_placed || allocation.get_width() <= 1) return;
    m_nav_frame_placed = true;
    Glib::signal_idle().connect_once(
        [this] { m_splitter.set_position(m_nav_frame_hidden ? 1 : m_pending_nav_frame_width); });
  });
  // While the administrator hides the navigation frame the splitter stays at
  // the left edge, and a drag of it uncovers nothing.
  m_splitter.property_position().signal_changed().connect([this] {
    if (m_nav_frame_hidden && m_splitter.get_position() > 1) m_splitter.set_position(1);
  });
  m_middle.pack_start(m_loading_frame, Gtk::PACK_SHRINK);
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
  m_loading_label.hide();
  m_show_box.hide();
  m_green_dot.hide();

  m_about.signal_picture_clicked().connect(
      sigc::mem_fun(*this, &MainWindow::on_about_picture_clicked));
}

void MainWindow::build_toolbar() {
  m_top_panel.override_background_color(kSilver);
  m_top_panel.set_size_request(-1, 50);
  m_site_buttons.pack_start(m_home, Gtk::PACK_SHRINK);
  m_site_buttons.pack_start(m_browser_buttons, Gtk::PACK_SHRINK);
  m_site_buttons.pack_start(m_email, Gtk::PACK_SHRINK);

  m_help_menu.append(m_help_local);
  m_help_menu.append(m_help_web);
  m_help_menu.append(m_help_separator);
  m_help_menu.append(m_help_about);
  m_help_menu.show_all();
  m_help_arrow.set_popup(m_help_menu);
  m_help_arrow.set_relief(Gtk::RELIEF_NONE);
  m_help_arrow.set_valign(Gtk::ALIGN_START);
  m_help_arrow.set_size_request(14, ToolbarButton::kHeight);
  m_help_arrow.set_name("help_menu");
  m_help_buttons.pack_start(m_help, Gtk::PACK_SHRINK);
  m_help_buttons.pack_start(m_help_arrow, Gtk::PACK_SHRINK);

  m_logo.set_valign(Gtk::ALIGN_START);
  m_close_button.set_valign(Gtk::ALIGN_START);
  m_close_button.set_no_show_all(true);
  m_right_corner.pack_start(m_logo, Gtk::PACK_SHRINK);
  m_right_corner.pack_start(m_close_button, Gtk::PACK_SHRINK);

  m_top_box.pack_start(m_site_buttons, Gtk::PACK_SHRINK);
  m_top_box.pack_start(m_help_buttons, Gtk::PACK_SHRINK, 8);
  m_top_box.pack_end(m_right_corner, Gtk::PACK_SHRINK);
  m_top_panel.add(m_top_box);

  m_home.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::on_home_clicked));
  m_email.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::on_email_clicked));
  m_help.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::on_local_help_clicked));
  m_help_local.signal_activate().connect(sigc::mem_fun(*this, &MainWindow::on_local_help_clicked));
  m_help_web.signal_activate().connect(sigc::mem_fun(*this, &MainWindow::on_web_help_clicked));
  m_help_about.signal_activate().connect(sigc::mem_fun(*this, &MainWindow::show_about));
  m_logo.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::show_about));
  m_close_button.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::on_close_clicked));
}

void MainWindow::build_left_strip() {
  m_loading_frame.override_background_color(kSilver);
  m_loading_frame.set_size_request(16, -1);
  m_loading_label.set_text(vertical_word("loading"));
  m_hide_label.set_text(vertical_word("hide"));
  m_show_label.set_text(vertical_word("show"));
  m_loading_label.set_size_request(16, 128);
  m_hide_label.set_size_request(16, 80);
  m_show_label.set_size_request(16, 80);
  for (Gtk::Label* label : {&m_loading_label, &m_hide_label, &m_show_label}) {
    label->set_valign(Gtk::ALIGN_START);
    label->set_justify(Gtk::JUSTIFY_CENTER);
  }
  m_loading_label.set_no_show_all(true);
  m_hide_box.add(m_hide_label);
  m_show_box.add(m_show_label);
  m_hide_box.set_name("hide_label");
  m_show_box.set_name("show_label");
  m_show_box.set_no_show_all(true);
  m_show_label.show();
  m_hide_box.signal_clicked().connect([this] { on_hide_nav_frame_clicked(); });
  m_show_box.signal_clicked().connect([this] { on_show_nav_frame_clicked(); });
  m_loading_box.pack_start(m_loading_label, Gtk::PACK_SHRINK);
  m_loading_box.pack_start(m_hide_box, Gtk::PACK_SHRINK);
  m_loading_box.pack_start(m_show_box, Gtk::PACK_SHRINK);
  m_loading_frame.add(m_loading_box);
}

void MainWindow::build_status_line() {
  m_status_line.set_size_request(-1, 20);
  m_progress.set_valign(Gtk::ALIGN_CENTER);
  m_progress.set_name("progress_bar");
  m_status_frame.set_shadow_type(Gtk::SHADOW_IN);
  m_status_text.set_xalign(0.0);
  m_status_text.set_ellipsize(Pango::ELLIPSIZE_END);
  m_status_text.set_name("StatusText");
  m_status_frame.add(m_status_text);
  m_tools_image.set_valign(Gtk::ALIGN_CENTER);
  m_tools_image.set_name("ToolsImage");
  m_dots.add(m_red_dot);
  m_dots.add_overlay(m_green_dot);
  m_green_dot.set_no_show_all(true);
  m_dots.set_valign(Gtk::ALIGN_CENTER);
  m_status_right.set_size_request(40, -1);
  m_time_left.set_name("TimeLeft");
  m_time_left.set_no_show_all(true);
  m_status_line.pack_start(m_time_left, Gtk::PACK_SHRINK, 4);
  m_status_right.pack_start(m_tools_image, Gtk::PACK_SHRINK, 2);
  m_status_right.pack_start(m_dots, Gtk::PACK_SHRINK);
  m_status_line.pack_start(m_progress, Gtk::PACK_SHRINK, 2);
  m_status_line.pack_start(m_status_frame, Gtk::PACK_EXPAND_WIDGET);
  m_status_line.pack_start(m_status_right, Gtk::PACK_SHRINK);
  m_tools_image.signal_clicked().connect(
      sigc::mem_fun(*this, &MainWindow::on_tools_double_clicked));
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
    m_green_dot.set_visible(m_session.guard().NavFrameNavigateComplete2(body));
  };
  nav.LoadStarted = [this] { show_loading_label(); };
  nav.LoadFinished = [this] { on_nav_frame_loaded(); };
  // The title may arrive after the load has finished: the same check then.
  nav.TitleChange = [this](const std::string& title) {
    if (TitleReportsMissingPage(title)) m_session.guard().page_missing(GuardedFrame::Navigation);
  };
  nav.StatusTextChange = [this](const std::string& text) { on_nav_frame_status_text(text); };
  nav.LoadFailed = [this](const std::string& url) { on_nav_frame_load_failed(url); };

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
}

// ---------------------------------------------------------------- settings

void MainWindow::UpdateControls() {
  const Settings& s = m_session.settings();
  m_close_button.set_visible(s.is_on(keys::show_close_main));
  const bool hide_nav = s.is_on(keys::hide_navframe);
  m_loading_frame.set_visible(!hide_nav);
  hide_nav_frame(hide_nav ? NavFrameState::Hidden : NavFrameState::Shown);
  const bool email = s.is_on(keys::enable_email_button);
  m_email.set_visible(email);
  m_browser_buttons.set_print_enabled(s.is_on(keys::enable_print_button));
  m_main_frame.SetSilent(s.is_on(keys::silent_mode) ? DialogMode::Silent : DialogMode::Shown);
}

void MainWindow::set_toolbar_buttons(bool enabled) {
  m_browser_buttons.set_stop_enabled(enabled);
  m_home.set_enabled(enabled);
  m_email.set_enabled(enabled);
}

RemoteConfigResult MainWindow::download_config() {
  return m_config_download->GetRemoteConfig();
}

void MainWindow::set_status_text(const std::string& text) {
  m_status_text.set_text(text);
}

void MainWindow::show_minutes_left(std::optional<int> minutes) {
  if (minutes) m_time_left.set_text(TimeBudget::minutes_left_text(*minutes));
  m_time_left.set_visible(minutes.has_value());
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

// The navigation frame's panel stays in the splitter, one pixel wide, so
// that the splitter stays visible; the width it had comes back with it.
void MainWindow::hide_nav_frame(NavFrameState state) {
  const bool hidden = state == NavFrameState::Hidden;
  if (hidden == m_nav_frame_hidden) return;
  if (hidden && m_nav_frame_placed) m_pending_nav_frame_width = m_splitter.get_position();
  m_nav_frame_hidden = hidden;
  m_nav_frame.widget().set_visible(!hidden);
  if (m_nav_frame_placed) m_splitter.set_position(hidden ? 1 : m_pending_nav_frame_width);
}

void MainWindow::set_nav_frame_width(int pixels) {
  if (!m_nav_frame_placed || m_nav_frame_hidden) {
    m_pending_nav_frame_width = pixels;
    return;
  }
  m_splitter.set_position(pixels);
}

std::string MainWindow::ErrorPagePath() {
  return to_engine_url(WriteErrorPage(m_session.state_dir()));
}

std::string MainWindow::MoreSitesPath() {
  const auto path = WriteMoreSitesPage(m_session.state_dir(), m_session.settings());
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
    if (TitleReportsMissingPage(sender.LocationName()))
      m_session.guard().page_missing(GuardedFrame::Main);
  });
}

void MainWindow::on_status_text_change(const std::string& text) {
  guarded("on_status_text_change", [&] {
    if (StatusNamesInternalPage(text)) m_session.guard().internal_page_named(GuardedFrame::Main);
    m_status_text.set_text(text);
  });
}

// The engine could not load a page in the main frame (or the pop-up): the
// local error page takes its place.
void MainWindow::on_load_failed(const std::string& url) {
  guarded("on_load_failed", [&] { m_session.guard().load_failed(GuardedFrame::Main, url); });
}

void MainWindow::on_load_started() {
  m_progress_fill.load_started();
}

void MainWindow::on_progress_change(int progress, int progress_max) {
  if (m_progress_fill.report(progress, progress_max)) m_progress.queue_draw();
}

void MainWindow::prepare_history_step() {
  m_session.guard().prepare_history_step();
}

// ---------------------------------------------------------- navigation frame

void MainWindow::on_nav_frame_status_text(const std::string& text) {
  guarded("on_nav_frame_status_text", [&] {
    if (StatusNamesInternalPage(text))
      m_session.guard().internal_page_named(GuardedFrame::Navigation);
  });
}

void MainWindow::on_nav_frame_loaded() {
  guarded("on_nav_frame_loaded", [this] {
    hide_loading_label();
    if (TitleReportsMissingPage(m_nav_frame.LocationName()))
      m_session.guard().page_missing(GuardedFrame::Navigation);
  });
}

void MainWindow::on_nav_frame_load_failed(const std::string& url) {
  guarded("on_nav_frame_load_failed",
          [&] { m_session.guard().load_failed(GuardedFrame::Navigation, url); });
}

void MainWindow::show_loading_label() {
  m_hide_box.hide();
  m_loading_label.show();
}

void MainWindow::hide_loading_label() {
  m_loading_label.hide();
  if (!m_show_box.get_visible()) m_hide_box.show();
}

void MainWindow::on_hide_nav_frame_clicked() {
  m_saved_nav_frame_width = m_splitter.get_position();
  m_splitter.set_position(1);
  m_hide_box.hide();
  m_show_box.show();
}

void MainWindow::on_show_nav_frame_clicked() {
  m_splitter.set_position(m_saved_nav_frame_width > 0 ? m_saved_nav_frame_width : 150);
  m_show_box.hide();
  m_hide_box.show();
}

// ------------------------------------------------------------------ buttons

void MainWindow::on_home_clicked() {
  guarded("Home", [this] {
    show_loading_label();
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

void MainWindow::on_about_picture_clicked() {
  m_msg_panel.HideMsgPanel();
}

void MainWindow::on_tools_double_clicked() {
  // The panel and its password prompt open without a password: the daily
  // time counts on.
  guarded("control panel", [this] { OpenControlPanel(this, m_session); });
}

bool MainWindow::GetPassword() {
  return tovali::GetPassword(this, m_session.settings());
}

void MainWindow::run_setup() {
  SetupForm setup(this, m_session);
  setup.run_modal();
}

// ------------------------------------------------------------------ closing

void MainWindow::close_window() {
  m_kiosk.stop();
  iconify();
  guarded("closing", [this] { m_config_download->http_client().Abort(); });
  guarded("closing", [this] { m_nav_frame.Stop(); });
  guarded("closing", [this] { m_main_frame.Stop(); });
  guarded("closing", [this] { m_startup.StopProbe(); });
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
