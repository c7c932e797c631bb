#include "app/MainWindow.h"

#include <iostream>

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <glibmm/main.h>

#include "app/core/GeneratedPages.h"
#include "app/core/ProgressFill.h"
#include "app/core/StartupPlan.h"
#include "browser/CallbackGuard.h"
#include "crypto/PasswordHash.h"
#include "policy/UrlText.h"
#include "windows/ControlPanelForm.h"
#include "windows/PasswordChange.h"
#include "windows/PasswordForm.h"
#include "windows/SetupForm.h"
#include "windows/ShellPictures.h"

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

RequestOrigin request_origin(NavigationOrigin origin) {
  switch (origin) {
    case NavigationOrigin::Program:
      return RequestOrigin::Queue;
    case NavigationOrigin::History:
      return RequestOrigin::History;
    case NavigationOrigin::LinkClick:
      return RequestOrigin::LinkClick;
    case NavigationOrigin::Page:
      break;
  }
  return RequestOrigin::Page;
}

}  // namespace

MainWindow::MainWindow(const Locations& locations)
    : m_locations(locations),
      m_state(RunStartupSettingsSteps(locations)),
      m_store(locations.SettingsDir),
      m_guard(m_state.settings, m_state.prohibitedLog, *this, m_clock),
      m_logo([](const auto& cr, double w, double h) { pictures::logo(cr, w, h); }, 108, 44,
             HandCursor::Off),
      m_closeButton([](const auto& cr, double w, double h) { pictures::close_box(cr, w, h); }, 16,
                    14, HandCursor::On),
      m_progress([this](const auto& cr, double w,
                        double h) { pictures::progress_bar(cr, w, h, m_progressFill); },
                 85, 14),
      m_toolsImage([](const auto& cr, double w, double h) { pictures::tools(cr, w, h); }, 18, 18),
      m_redDot(
          [](const auto& cr, double w, double) { pictures::dot(cr, w, pictures::DotColour::Red); },
          17, 17),
      m_greenDot([](const auto& cr, double w,
                    double) { pictures::dot(cr, w, pictures::DotColour::Green); },
                 17, 17),
      m_kiosk(*this, m_state.settings),
      m_startup(*this) {
  // `FormCreate`.
  set_title(kCaption);
  set_name("MainWindow");
  set_decorated(false);
  cover_monitor();
  if (!m_state.saveFailures.ok())
    std::cerr << "tovali-explorer: settings copies not written:\n"
              << m_state.saveFailures.describe() << "\n";
  if (!m_state.systemSettingsProblems.empty())
    std::cerr << "tovali-explorer: " << m_state.systemSettingsProblems;
  if (PasswordHashInForce(m_state.settings) &&
      !is_supported_password_hash(m_state.settings.value("password_hash")))
    std::cerr << "tovali-explorer: password_hash in the administrator's settings is not a "
                 "yescrypt ($y$) or SHA-512 ($6$) hash; no password is accepted\n";
  apply_window_level();
  build_layout();
  wire_frames();
  std::vector<std::string> own_pages;
  for (const std::string& path : ProgramPagePaths(m_locations.ProgramDir, m_locations.StateDir))
    own_pages.push_back(to_engine_url(path));
  m_guard.SetProgramPages(std::move(own_pages));
  UpdateLists();
  UpdateControls();
  UpdateCtrlAltDel();
  m_configDownload = std::make_unique<ConfigDownload>(
      m_state.settings, m_store, m_state.SiteBaseURL, *this, [this] { return m_closeAllowed; });
  m_kiosk.install_event_filter([this] { m_guard.MouseDown(); });
  m_kiosk.start();
  m_queueTimer =
      Glib::signal_timeout().connect(sigc::mem_fun(*this, &MainWindow::QueueTimerTimer), 200);
  m_startup.Start();
}

MainWindow::~MainWindow() {
  // `FormDestroy`.
  m_queueTimer.disconnect();
  m_showNewBrowserTimer.disconnect();
  m_popup.reset();
  SaveProhibitedLogNow();
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

void MainWindow::apply_window_level() {
  set_keep_above(m_state.settings.value("prevent_switch") == "1");
}

void MainWindow::build_layout() {
  build_toolbar();
  build_left_strip();
  build_status_line();

  m_navFramePanel.pack_start(m_navFrame.widget(), Gtk::PACK_EXPAND_WIDGET);
  m_navFramePanel.set_size_request(1, -1);
  m_mainPanel.pack_start(m_webbrowser.widget(), Gtk::PACK_EXPAND_WIDGET);
  m_splitter.pack1(m_navFramePanel, false, false);
  m_splitter.pack2(m_mainPanel, true, false);
  m_splitter.set_wide_handle(true);
  // The navigation frame gets its width once the splitter has its size.
  m_splitter.signal_size_allocate().connect([this](Gtk::Allocation& allocation) {
    if (m_navFramePlaced || allocation.get_width() <= 1) return;
    m_navFramePlaced = true;
    Glib::signal_idle().connect_once([this] { m_splitter.set_position(m_pendingNavFrameWidth); });
  });
  m_middle.pack_start(m_loadingFrame, Gtk::PACK_SHRINK);
  m_middle.pack_start(m_splitter, Gtk::PACK_EXPAND_WIDGET);

  m_layout.pack_start(m_topPanel, Gtk::PACK_SHRINK);
  m_layout.pack_start(m_middle, Gtk::PACK_EXPAND_WIDGET);
  m_layout.pack_start(m_statusLine, Gtk::PACK_SHRINK);
  m_overlay.add(m_layout);
  m_overlay.add_overlay(m_about);
  m_overlay.add_overlay(m_msgPanel);
  add(m_overlay);
  m_layout.show_all();
  m_overlay.show();
  m_loadingLabel.hide();
  m_showBox.hide();
  m_greenDot.hide();

  m_about.signal_picture_clicked().connect(sigc::mem_fun(*this, &MainWindow::Image7Click));
}

void MainWindow::build_toolbar() {
  m_topPanel.override_background_color(kSilver);
  m_topPanel.set_size_request(-1, 50);
  for (ToolbarButton* button : {&m_home, &m_back, &m_forward, &m_stop, &m_print, &m_email})
    m_toolbar1.pack_start(*button, Gtk::PACK_SHRINK);
  m_back.set_enabled(false);
  m_forward.set_enabled(false);

  m_helpMenu.append(m_helpLocal);
  m_helpMenu.append(m_helpWeb);
  m_helpMenu.append(m_helpSeparator);
  m_helpMenu.append(m_helpAbout);
  m_helpMenu.show_all();
  m_helpArrow.set_popup(m_helpMenu);
  m_helpArrow.set_relief(Gtk::RELIEF_NONE);
  m_helpArrow.set_valign(Gtk::ALIGN_START);
  m_helpArrow.set_size_request(14, ToolbarButton::kHeight);
  m_helpArrow.set_name("help_menu");
  m_toolbar2.pack_start(m_help, Gtk::PACK_SHRINK);
  m_toolbar2.pack_start(m_helpArrow, Gtk::PACK_SHRINK);

  m_logo.set_valign(Gtk::ALIGN_START);
  m_closeButton.set_valign(Gtk::ALIGN_START);
  m_closeButton.set_no_show_all(true);
  m_rightCorner.pack_start(m_logo, Gtk::PACK_SHRINK);
  m_rightCorner.pack_start(m_closeButton, Gtk::PACK_SHRINK);

  m_topBox.pack_start(m_toolbar1, Gtk::PACK_SHRINK);
  m_topBox.pack_start(m_toolbar2, Gtk::PACK_SHRINK, 8);
  m_topBox.pack_end(m_rightCorner, Gtk::PACK_SHRINK);
  m_topPanel.add(m_topBox);

  m_home.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::home_buttonClick));
  m_back.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::back_buttonClick));
  m_forward.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::forward_buttonClick));
  m_stop.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::stop_buttonClick));
  m_print.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::print_buttonClick));
  m_email.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::email_buttonClick));
  m_help.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::TovaliHelp1Click));
  m_helpLocal.signal_activate().connect(sigc::mem_fun(*this, &MainWindow::TovaliHelp1Click));
  m_helpWeb.signal_activate().connect(sigc::mem_fun(*this, &MainWindow::help_buttonClick));
  m_helpAbout.signal_activate().connect(sigc::mem_fun(*this, &MainWindow::Image8DblClick));
  m_logo.signal_double_clicked().connect(sigc::mem_fun(*this, &MainWindow::Image8DblClick));
  m_closeButton.signal_clicked().connect(sigc::mem_fun(*this, &MainWindow::Image6Click));
  m_logo.present_as_button("About Tovali Explorer", [this] { Image8DblClick(); });
  m_closeButton.present_as_button("Close", [this] { Image6Click(); });
}

void MainWindow::build_left_strip() {
  m_loadingFrame.override_background_color(kSilver);
  m_loadingFrame.set_size_request(16, -1);
  m_loadingLabel.set_text(vertical_word("loading"));
  m_hideLabel.set_text(vertical_word("hide"));
  m_showLabel.set_text(vertical_word("show"));
  m_loadingLabel.set_size_request(16, 128);
  m_hideLabel.set_size_request(16, 80);
  m_showLabel.set_size_request(16, 80);
  for (Gtk::Label* label : {&m_loadingLabel, &m_hideLabel, &m_showLabel}) {
    label->set_valign(Gtk::ALIGN_START);
    label->set_justify(Gtk::JUSTIFY_CENTER);
  }
  m_loadingLabel.set_no_show_all(true);
  m_hideBox.add(m_hideLabel);
  m_showBox.add(m_showLabel);
  m_hideBox.set_name("hide_label");
  m_showBox.set_name("show_label");
  m_showBox.set_no_show_all(true);
  m_showLabel.show();
  for (Gtk::EventBox* box : {&m_hideBox, &m_showBox}) {
    box->override_background_color(kSilver);
    box->signal_realize().connect([box] {
      box->get_window()->set_cursor(Gdk::Cursor::create(box->get_display(), "pointer"));
    });
  }
  m_hideBox.signal_button_press_event().connect([this](GdkEventButton* event) {
    if (event->button == 1 && event->type == GDK_BUTTON_PRESS) hide_labelClick();
    return true;
  });
  m_hideBox.present_as_button("Hide", [this] { hide_labelClick(); });
  m_showBox.present_as_button("Show", [this] { show_labelClick(); });
  m_showBox.signal_button_press_event().connect([this](GdkEventButton* event) {
    if (event->button == 1 && event->type == GDK_BUTTON_PRESS) show_labelClick();
    return true;
  });
  m_loadingBox.pack_start(m_loadingLabel, Gtk::PACK_SHRINK);
  m_loadingBox.pack_start(m_hideBox, Gtk::PACK_SHRINK);
  m_loadingBox.pack_start(m_showBox, Gtk::PACK_SHRINK);
  m_loadingFrame.add(m_loadingBox);
}

void MainWindow::build_status_line() {
  m_statusLine.set_size_request(-1, 20);
  m_progress.set_valign(Gtk::ALIGN_CENTER);
  m_progress.set_name("ProgressBar1");
  m_statusFrame.set_shadow_type(Gtk::SHADOW_IN);
  m_statusText.set_xalign(0.0);
  m_statusText.set_ellipsize(Pango::ELLIPSIZE_END);
  m_statusText.set_name("StatusText");
  m_statusFrame.add(m_statusText);
  m_toolsImage.set_valign(Gtk::ALIGN_CENTER);
  m_toolsImage.set_name("ToolsImage");
  m_dots.add(m_redDot);
  m_dots.add_overlay(m_greenDot);
  m_greenDot.set_no_show_all(true);
  m_dots.set_valign(Gtk::ALIGN_CENTER);
  m_statusRight.set_size_request(40, -1);
  m_statusRight.pack_start(m_toolsImage, Gtk::PACK_SHRINK, 2);
  m_statusRight.pack_start(m_dots, Gtk::PACK_SHRINK);
  m_statusLine.pack_start(m_progress, Gtk::PACK_SHRINK, 2);
  m_statusLine.pack_start(m_statusFrame, Gtk::PACK_EXPAND_WIDGET);
  m_statusLine.pack_start(m_statusRight, Gtk::PACK_SHRINK);
  m_toolsImage.signal_double_clicked().connect(
      sigc::mem_fun(*this, &MainWindow::ToolsImageDblClick));
  m_toolsImage.present_as_button("Tools", [this] { ToolsImageDblClick(); });
}

void MainWindow::wire_frames() {
  EmbeddedWBEvents& nav = m_navFrame.events();
  nav.BeforeNavigate2 = [this](const std::string& url) {
    // The engine asks about the program's own request some time after the
    // Navigate call (the old control asked within it), so another navigation
    // of the frame may have come first and emptied the mailbox. The
    // program's own request is the one it queued.
    if (m_navFrame.CurrentNavigationOrigin() == NavigationOrigin::Program &&
        m_guard.PendingNavURL().empty())
      m_guard.SetPendingNavURL(url);
    const NavigationStep step = m_navFrame.CurrentNavigationKind() == NavigationKind::Redirect
                                    ? NavigationStep::Redirect
                                    : NavigationStep::Request;
    const RequestOrigin origin = request_origin(m_navFrame.CurrentNavigationOrigin());
    return m_guard.NavFrameBeforeNavigate2(url, origin, step) == Verdict::Cancel
               ? NavigationVerdict::Cancel
               : NavigationVerdict::Proceed;
  };
  nav.NewWindow2 = [this]() -> EmbeddedWB* {
    m_guard.NavFrameNewWindow2();
    return nullptr;
  };
  nav.NavigateComplete2 = [this](const std::string&, const std::optional<std::string>& body) {
    m_greenDot.set_visible(m_guard.NavFrameNavigateComplete2(body));
  };
  nav.LoadStarted = [this] { ShowLoadingLabel(); };
  nav.LoadFinished = [this] { on_nav_frame_loaded(); };
  // The title may arrive after the load has finished: the same check then.
  nav.TitleChange = [this](const std::string& title) {
    if (TitleReportsMissingPage(title)) m_guard.SetPendingNavURL(ErrorPagePath());
  };
  nav.StatusTextChange = [this](const std::string& text) { NavFrameStatusTextChange(text); };
  nav.LoadFailed = [this](const std::string& url) { NavFrameLoadFailed(url); };

  EmbeddedWBEvents& main = m_webbrowser.events();
  main.BeforeNavigate2 = [this](const std::string& url) {
    return WebBrowserBeforeNavigate2(url, m_webbrowser.CurrentNavigationOrigin());
  };
  main.NewWindow2 = [this] { return WebBrowserNewWindow2(); };
  main.LoadFinished = [this] { on_page_loaded(m_webbrowser); };
  main.TitleChange = [this](const std::string&) { on_page_loaded(m_webbrowser); };
  main.StatusTextChange = [this](const std::string& text) { webbrowserStatusTextChange(text); };
  main.ProgressChange = [this](int progress, int max) { webbrowserProgressChange(progress, max); };
  main.CommandStateChange = [this](BrowserCommand command, bool enable) {
    if (command == BrowserCommand::NavigateBack) m_back.set_enabled(enable);
    if (command == BrowserCommand::NavigateForward) m_forward.set_enabled(enable);
  };
  main.LoadFailed = [this](const std::string& url) { webbrowserLoadFailed(url); };
}

// ---------------------------------------------------------------- settings

SaveReport MainWindow::SaveConfig() {
  SaveReport report = m_store.SaveConfig(m_state.settings);
  if (!report.ok())
    std::cerr << "tovali-explorer: settings not saved:\n" << report.describe() << "\n";
  return report;
}

void MainWindow::UpdateControls() {
  const Settings& s = m_state.settings;
  m_closeButton.set_visible(s.value("show_close_main") == "1");
  const bool hide_nav = s.value("hide_navframe") == "1";
  m_navFramePanel.set_visible(!hide_nav);
  m_loadingFrame.set_visible(!hide_nav);
  const bool email = s.value("enable_email_button") == "1";
  m_email.set_visible(email);
  m_print.set_enabled(s.value("enable_print_button") == "1");
  m_webbrowser.SetSilent(s.value("silent_mode") == "1" ? DialogMode::Silent : DialogMode::Shown);
}

void MainWindow::UpdateCtrlAltDel() {
  m_kiosk.UpdateCtrlAltDel();
}

void MainWindow::UpdateLists() {
  m_guard.UpdateLists();
}

void MainWindow::SetToolbarButtons(bool enabled) {
  m_stop.set_enabled(enabled);
  m_home.set_enabled(enabled);
  m_email.set_enabled(enabled);
}

void MainWindow::GetRemoteConfig() {
  const RemoteConfigResult result = m_configDownload->GetRemoteConfig();
  for (const std::string& refusal : result.refusals)
    std::cerr << "tovali-explorer: configuration refused from " << refusal << "\n";
  if (result.outcome == RemoteConfigOutcome::Applied && !result.save.ok())
    std::cerr << "tovali-explorer: downloaded settings not saved:\n"
              << result.save.describe() << "\n";
}

void MainWindow::set_status_text(const std::string& text) {
  m_statusText.set_text(text);
}

std::string MainWindow::HomeSite() {
  return HomeSiteURL(m_state.settings, m_state.SiteBaseURL, m_state.SitePath);
}

// ------------------------------------------------------------ guard effects

void MainWindow::navigate(BrowserTarget target, const std::string& url) {
  switch (target) {
    case BrowserTarget::MainFrame:
      m_webbrowser.Navigate(url);
      break;
    case BrowserTarget::PopupBrowser:
      if (m_popup) m_popup->NewBrowser().Navigate(url);
      break;
    case BrowserTarget::NavFrame:
      m_navFrame.Navigate(url);
      break;
  }
}

void MainWindow::ShowMsgPanel(const std::string& text) {
  // The pop-up is shown by a timer after its creation, and the engine often
  // asks about its first page before that: a refusal of that page belongs in
  // the pop-up's panel too, where the child will see it once it is up, not
  // in the main window's panel behind the modal pop-up.
  if (popup_exists()) {
    m_popup->ShowMsgPanel(text);
    return;
  }
  m_msgPanel.ShowMsgPanel(text);
}

void MainWindow::set_nav_frame_width(int pixels) {
  if (!m_navFramePlaced) {
    m_pendingNavFrameWidth = pixels;
    return;
  }
  m_splitter.set_position(pixels);
}

std::string MainWindow::ErrorPagePath() {
  return to_engine_url(WriteErrorPage(m_locations.StateDir));
}

std::string MainWindow::MoreSitesPath() {
  const auto path = WriteMoreSitesPage(m_locations.StateDir, m_state.settings);
  if (!path) {
    std::cerr << "tovali-explorer: cannot write " << m_locations.StateDir << "moresites.html\n";
    return std::string();  // nothing is queued; the frame keeps its page
  }
  return to_engine_url(*path);
}

bool MainWindow::QueueTimerTimer() {
  guarded("QueueTimer", [this] { m_guard.QueueTimerTimer(); });
  return true;
}

// ------------------------------------------------- main frame and pop-up

NavigationVerdict MainWindow::WebBrowserBeforeNavigate2(const std::string& url,
                                                        NavigationOrigin origin) {
  return m_guard.WebBrowserBeforeNavigate2(url, request_origin(origin)) == Verdict::Cancel
             ? NavigationVerdict::Cancel
             : NavigationVerdict::Proceed;
}

EmbeddedWB* MainWindow::WebBrowserNewWindow2() {
  if (m_guard.WebBrowserNewWindow2() != NewWindowDecision::OpenPopup) return nullptr;
  m_popup = std::make_unique<NewBrowserForm>(*this, m_webbrowser, *this);
  if (m_state.settings.value("prevent_switch") == "1") m_popup->set_keep_above(true);
  m_showNewBrowserTimer.disconnect();
  m_showNewBrowserTimer = Glib::signal_timeout().connect(
      sigc::mem_fun(*this, &MainWindow::ShowNewBrowserTimerTimer), 10);
  return &m_popup->NewBrowser();
}

bool MainWindow::ShowNewBrowserTimerTimer() {
  if (!m_showNewBrowserTimer.connected() || !m_popup) return false;
  m_showNewBrowserTimer.disconnect();
  guarded("pop-up window", [this] { m_popup->ShowModal(); });
  // Freed once the modal loop has returned; its view goes with it.
  m_popup.reset();
  return false;
}

void MainWindow::on_page_loaded(EmbeddedWB& sender) {
  guarded("on_page_loaded", [&] {
    if (TitleReportsMissingPage(sender.LocationName())) m_guard.SetPendingMainURL(ErrorPagePath());
  });
}

void MainWindow::webbrowserStatusTextChange(const std::string& text) {
  guarded("webbrowserStatusTextChange", [&] {
    if (StatusNamesInternalPage(text)) m_guard.QueueTrustedMainURL(ErrorPagePath());
    m_statusText.set_text(text);
  });
}

// The engine could not load a page in the main frame (or the pop-up): the
// local error page takes its place, as for the old control's error pages.
void MainWindow::webbrowserLoadFailed(const std::string& url) {
  guarded("webbrowserLoadFailed", [&] {
    const std::string error_page = ErrorPagePath();
    if (equals_ignore_case(url, error_page)) return;  // never loop on itself
    m_guard.QueueTrustedMainURL(error_page);
  });
}

void MainWindow::webbrowserProgressChange(int progress, int progress_max) {
  if (const std::optional<double> fill = ProgressFill(progress, progress_max)) {
    m_progressFill = *fill;
    m_progress.queue_draw();
  }
}

void MainWindow::PrepareHistoryStep() {
  m_guard.PrepareHistoryStep();
}

// ---------------------------------------------------------- navigation frame

void MainWindow::NavFrameStatusTextChange(const std::string& text) {
  guarded("NavFrameStatusTextChange", [&] {
    if (StatusNamesInternalPage(text)) m_guard.SetPendingNavURL(ErrorPagePath());
  });
}

void MainWindow::on_nav_frame_loaded() {
  guarded("on_nav_frame_loaded", [this] {
    HideLoadingLabel();
    if (TitleReportsMissingPage(m_navFrame.LocationName()))
      m_guard.SetPendingNavURL(ErrorPagePath());
  });
}

void MainWindow::NavFrameLoadFailed(const std::string& url) {
  guarded("NavFrameLoadFailed", [&] {
    const std::string error_page = ErrorPagePath();
    if (equals_ignore_case(url, error_page)) return;
    m_guard.SetPendingNavURL(error_page);
  });
}

void MainWindow::ShowLoadingLabel() {
  m_hideBox.hide();
  m_loadingLabel.show();
}

void MainWindow::HideLoadingLabel() {
  m_loadingLabel.hide();
  if (!m_showBox.get_visible()) m_hideBox.show();
}

void MainWindow::hide_labelClick() {
  m_savedNavFrameWidth = m_splitter.get_position();
  m_splitter.set_position(1);
  m_hideBox.hide();
  m_showBox.show();
}

void MainWindow::show_labelClick() {
  m_splitter.set_position(m_savedNavFrameWidth > 0 ? m_savedNavFrameWidth : 150);
  m_showBox.hide();
  m_hideBox.show();
}

// ------------------------------------------------------------------ buttons

void MainWindow::home_buttonClick() {
  guarded("Home", [this] {
    ShowLoadingLabel();
    m_guard.SetPendingNavURL(HomeSite());
  });
}

void MainWindow::back_buttonClick() {
  guarded("Back", [this] {
    PrepareHistoryStep();
    m_webbrowser.GoBack();
  });
}

void MainWindow::forward_buttonClick() {
  guarded("Forward", [this] {
    PrepareHistoryStep();
    m_webbrowser.GoForward();
  });
}

void MainWindow::stop_buttonClick() {
  guarded("Stop", [this] { m_webbrowser.Stop(); });
}

void MainWindow::print_buttonClick() {
  guarded("Print", [this] {
    const PrintMode mode = m_state.settings.value("show_print_settings") == "1"
                               ? PrintMode::WithDialog
                               : PrintMode::WithoutDialog;
    m_webbrowser.Print(mode, [this] { ShowMsgPanel("\r\rPrinting..."); });
  });
}

void MainWindow::email_buttonClick() {
  guarded("E-mail", [this] {
    m_guard.SetURLNumber("001");
    const std::string url = m_state.settings.value("email_url");
    m_guard.SetCurrentSiteURL(url);
    m_guard.ExtractMetaData("<!--URL001:AD:" + ExtractDomain(url) + "-->" +
                            m_state.settings.value("email-meta-data"));
    m_guard.SetPendingMainURL(url);
  });
}

void MainWindow::TovaliHelp1Click() {
  guarded("Help", [this] {
    m_guard.QueueTrustedMainURL(to_engine_url(m_locations.ProgramDir + "help.html"));
  });
}

void MainWindow::help_buttonClick() {
  guarded("Help From The Web", [this] {
    m_guard.SetURLNumber("001");
    const std::string url = m_state.SiteBaseURL + m_state.SitePath + "/help.php3";
    m_guard.SetPendingMainURL(url);
    m_guard.ExtractMetaData("<!--URL001:AD:" + ExtractDomain(m_state.SiteBaseURL) + "-->");
    m_guard.SetCurrentSiteURL(url);
  });
}

void MainWindow::Image8DblClick() {
  int width = 0;
  int height = 0;
  get_size(width, height);
  m_about.ShowCentred(width, height);
}

void MainWindow::Image6Click() {
  CloseProgram();
}

void MainWindow::Image7Click() {
  m_msgPanel.HideMsgPanel();
}

void MainWindow::ToolsImageDblClick() {
  guarded("control panel", [this] { OpenControlPanel(this, *this); });
}

bool MainWindow::GetPassword() {
  return tovali::GetPassword(this, m_state.settings);
}

void MainWindow::OpenSetup() {
  SetupForm setup(this, *this);
  setup.run_modal();
}

// ------------------------------------------------------------------ closing

void MainWindow::CloseProgram() {
  if (m_state.settings.value("req_pw_close") == "1" && !GetPassword()) return;
  m_closeAllowed = true;
  m_kiosk.stop();
  iconify();
  guarded("closing", [this] { m_configDownload->http_client().Abort(); });
  guarded("closing", [this] { m_navFrame.Stop(); });
  guarded("closing", [this] { m_webbrowser.Stop(); });
  guarded("closing", [this] { m_startup.StopProbe(); });
  close();
}

bool MainWindow::on_delete_event(GdkEventAny*) {
  // `FormClose`: only CloseProgram may close the window.
  if (!m_closeAllowed) return true;
  hide();
  return false;
}

void MainWindow::SaveProhibitedLogNow() {
  if (!SaveProhibitedLog(m_locations, m_state.prohibitedLog))
    std::cerr << "tovali-explorer: cannot save " << m_locations.StateDir << "prohurl.log\n";
}

void MainWindow::EndSession() {
  SaveProhibitedLogNow();
  m_closeAllowed = true;
}

}  // namespace tovali
