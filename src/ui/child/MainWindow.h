#pragma once

#include <memory>
#include <optional>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/overlay.h>
#include <gtkmm/window.h>

#include "base/Clock.h"
#include "browser/EmbeddedWB.h"
#include "gio/ConfigDownload.h"
#include "policy/GuardEffects.h"
#include "session/Session.h"
#include "session/SessionEdge.h"
#include "settings/StartupSettings.h"
#include "ui/child/AboutPanel.h"
#include "ui/child/FrameSplitter.h"
#include "ui/child/GrownUpRequests.h"
#include "ui/child/KioskLock.h"
#include "ui/child/LeftStrip.h"
#include "ui/child/MessagePanel.h"
#include "ui/child/NewBrowserForm.h"
#include "ui/child/StartupChain.h"
#include "ui/child/StatusLine.h"
#include "ui/child/TopPanel.h"

namespace tovali {

// The main window: toolbar, navigation frame and main frame, status line,
// message panel and about panel; owner of the session (the program's state
// and decisions), the start-up chain's timers, the kiosk lock and the pop-up
// window. It carries out what the session and its guard ask for
// (SessionEdge, GuardEffects) and turns the views' signals into calls of the
// session.
class MainWindow : public Gtk::Window, public GuardEffects, public SessionEdge, public PopupHost {
 public:
  static constexpr const char* kCaption = "Tovali Explorer";
  static constexpr int kNavFrameWidth = 145;

  explicit MainWindow(const Locations& locations);
  ~MainWindow() override;

  // --- session edge ---
  std::string engine_url(const std::string& path) const override { return to_engine_url(path); }
  bool msg_panel_visible() const override { return m_msg_panel.panel_visible(); }
  void set_msg_panel_timer(bool on) override { m_msg_panel.set_msg_panel_timer(on); }
  void set_toolbar_buttons(bool enabled) override;
  void set_ask_button(AskButton state) override { m_top_panel.set_ask_button(state); }
  void UpdateControls() override;
  void set_status_text(const std::string& text) override;
  void show_minutes_left(std::optional<int> minutes) override;
  void close_popup() override;
  RemoteConfigResult download_config() override;
  bool GetPassword() override;
  void run_setup() override;
  WelcomeResult run_welcome() override;
  void tell_parent(const std::string& text) override;
  void set_page_load_rules(const std::string& encoded,
                           const std::string& websocket_filter) override;
  void close_window() override;

  // --- navigation guard effects ---
  void navigate(BrowserTarget target, const std::string& url) override;
  void ShowMsgPanel(const std::string& text) override;
  bool popup_exists() const override { return m_popup != nullptr; }
  bool popup_visible() const override { return m_popup && m_popup->get_visible(); }
  void set_nav_frame_width(int pixels) override;
  std::string ErrorPagePath() override;
  std::string MoreSitesPath() override;

  // --- pop-up window ---
  Verdict BeforeNavigate2(const NavigationRequest& request) override;
  void on_page_loaded(EmbeddedWB& sender) override;
  void on_status_text_change(const std::string& text) override;
  void on_load_failed(const std::string& url) override;
  void on_load_started() override;
  void on_progress_change(int progress, int progress_max) override;
  void prepare_history_step() override;
  const Settings& settings() const override { return m_session.settings(); }

  // The session is ending (SIGTERM and the like): save and leave at once.
  void end_session() { m_session.end_session(); }

  Session& session() { return m_session; }

  EmbeddedWB& nav_frame() { return m_nav_frame; }
  EmbeddedWB& main_frame() { return m_main_frame; }

 protected:
  // Lets the window close only once CloseProgram has begun.
  bool on_delete_event(GdkEventAny* event) override;

 private:
  void build_layout();
  void wire_frames();
  void cover_monitor();
  void apply_window_level();
  void trust_administrator_authorities();

  // Handlers.
  void on_home_clicked();
  void on_email_clicked();
  void on_local_help_clicked();
  void on_web_help_clicked();
  void show_about();
  void on_close_clicked();
  void on_ask_clicked();
  void on_about_picture_clicked();
  void on_tools_double_clicked();
  void on_nav_frame_status_text(const std::string& text);
  void on_nav_frame_loaded();
  void on_nav_frame_load_failed(const std::string& url);
  EmbeddedWB* on_main_frame_new_window();
  bool on_queue_timer();
  bool on_daily_time_timer();
  bool on_show_popup_timer();

  SteadyClock m_clock;
  Session m_session;
  GrownUpRequests m_grown_up{m_session};

  // Frames.
  EmbeddedWB m_nav_frame{BodyCapture::On, ScriptLinks::AskFirst, BrowserTarget::NavFrame};
  EmbeddedWB m_main_frame;
  std::unique_ptr<NewBrowserForm> m_popup;

  // Layout.
  Gtk::Overlay m_overlay;
  Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL};
  TopPanel m_top_panel;
  Gtk::Box m_middle{Gtk::ORIENTATION_HORIZONTAL};
  LeftStrip m_left_strip;
  FrameSplitter m_splitter{m_nav_frame.widget(), m_main_frame.widget(), kNavFrameWidth};
  StatusLine m_status_line;

  AboutPanel m_about;
  MessagePanel m_msg_panel{HandCursor::On};

  KioskLock m_kiosk;
  StartupChain m_startup;
  std::unique_ptr<ConfigDownload> m_config_download;
  sigc::connection m_queue_timer;
  sigc::connection m_daily_time_timer;
  sigc::connection m_show_new_browser_timer;
};

}  // namespace tovali
