#pragma once

#include <memory>
#include <optional>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/overlay.h>
#include <gtkmm/paned.h>
#include <gtkmm/separatormenuitem.h>
#include <gtkmm/window.h>

#include "base/Clock.h"
#include "browser/EmbeddedWB.h"
#include "gio/ConfigDownload.h"
#include "models/ProgressFill.h"
#include "policy/GuardEffects.h"
#include "session/Session.h"
#include "session/SessionEdge.h"
#include "settings/StartupSettings.h"
#include "ui/child/AboutPanel.h"
#include "ui/child/BrowserToolbar.h"
#include "ui/child/GrownUpRequests.h"
#include "ui/child/KioskLock.h"
#include "ui/child/MessagePanel.h"
#include "ui/child/NewBrowserForm.h"
#include "ui/child/StartupChain.h"
#include "ui/widgets/PictureArea.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/ToolbarButton.h"

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
  void UpdateControls() override;
  void set_status_text(const std::string& text) override;
  void show_minutes_left(std::optional<int> minutes) override;
  void close_popup() override;
  RemoteConfigResult download_config() override;
  bool GetPassword() override;
  void run_setup() override;
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
  void build_toolbar();
  void build_left_strip();
  void build_status_line();
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
  void on_about_picture_clicked();
  void on_tools_double_clicked();
  enum class NavFrameState { Shown, Hidden };
  // Applies hide_navframe: the frame goes, the splitter stays.
  void hide_nav_frame(NavFrameState state);
  void on_hide_nav_frame_clicked();
  void on_show_nav_frame_clicked();
  void show_loading_label();
  void hide_loading_label();
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
  int m_saved_nav_frame_width = 0;  // the width before the frame was hidden
  bool m_nav_frame_placed = false;
  bool m_nav_frame_hidden = false;  // hide_navframe is on
  int m_pending_nav_frame_width = kNavFrameWidth;

  // Frames.
  EmbeddedWB m_nav_frame{BodyCapture::On, ScriptLinks::AskFirst, BrowserTarget::NavFrame};
  EmbeddedWB m_main_frame;
  std::unique_ptr<NewBrowserForm> m_popup;

  // Layout.
  Gtk::Overlay m_overlay;
  Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL};
  Gtk::EventBox m_top_panel;
  Gtk::Box m_top_box{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Box m_site_buttons{Gtk::ORIENTATION_HORIZONTAL};
  ToolbarButton m_home{"Home", {"go-home"}};
  BrowserToolbar m_browser_buttons;
  ToolbarButton m_email{"E-mail", {"mail-send", "mail-message-new", "internet-mail"}};
  Gtk::Box m_help_buttons{Gtk::ORIENTATION_HORIZONTAL};
  ToolbarButton m_help{"Help", {"help-browser", "help-contents"}};
  Gtk::MenuButton m_help_arrow;
  Gtk::Menu m_help_menu;
  Gtk::MenuItem m_help_local{"Tovali Explorer Help"};
  Gtk::MenuItem m_help_web{"Help From The Web"};
  Gtk::SeparatorMenuItem m_help_separator;
  Gtk::MenuItem m_help_about{"About Tovali Explorer"};
  Gtk::Box m_right_corner{Gtk::ORIENTATION_HORIZONTAL};
  PictureButton m_logo;
  PictureButton m_close_button;

  Gtk::Box m_middle{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::EventBox m_loading_frame;
  Gtk::Box m_loading_box{Gtk::ORIENTATION_VERTICAL};
  Gtk::Label m_loading_label;
  PictureButton m_hide_box{"Hide", MouseClicks::Single, HandCursor::On};
  Gtk::Label m_hide_label;
  PictureButton m_show_box{"Show", MouseClicks::Single, HandCursor::On};
  Gtk::Label m_show_label;
  Gtk::Paned m_splitter{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Box m_nav_frame_panel{Gtk::ORIENTATION_VERTICAL};
  Gtk::Box m_main_panel{Gtk::ORIENTATION_VERTICAL};

  Gtk::Box m_status_line{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Label m_time_left;  // "N minutes left today"
  ProgressFill m_progress_fill;
  PictureArea m_progress;
  Gtk::Frame m_status_frame;
  Gtk::Label m_status_text;
  Gtk::Box m_status_right{Gtk::ORIENTATION_HORIZONTAL};
  PictureButton m_tools_image;
  Gtk::Overlay m_dots;
  Gtk::Image m_red_dot;
  Gtk::Image m_green_dot;

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
