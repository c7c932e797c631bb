#pragma once

#include <memory>
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

#include "app/AboutPanel.h"
#include "app/KioskLock.h"
#include "app/StartupChain.h"
#include "browser/EmbeddedWB.h"
#include "net/ConfigDownload.h"
#include "policy/Clock.h"
#include "policy/GuardEffects.h"
#include "policy/NavigationGuard.h"
#include "settings/StartupSettings.h"
#include "settings/StatusReporter.h"
#include "windows/AccessibleButton.h"
#include "windows/ControlPanelHost.h"
#include "windows/MessagePanel.h"
#include "windows/NewBrowserForm.h"
#include "windows/PictureArea.h"
#include "windows/SetupHost.h"
#include "windows/ToolbarButton.h"

namespace tovali {

// The main window: toolbar, navigation frame and main frame, status line,
// message panel and about panel; owner of the settings, the navigation
// guard, the start-up chain, the kiosk lock and the pop-up window.
class MainWindow : public Gtk::Window,
                   public GuardEffects,
                   public StartupHost,
                   public PopupHost,
                   public ControlPanelHost,
                   public SetupHost,
                   public StatusReporter {
 public:
  static constexpr const char* kCaption = "Tovali Explorer";
  static constexpr int kNavFrameWidth = 145;

  explicit MainWindow(const Locations& locations);
  ~MainWindow() override;

  // --- settings and lists (secondary windows) ---
  Settings& settings() override { return m_state.settings; }
  const Settings& settings() const override { return m_state.settings; }
  SaveReport SaveConfig() override;
  void UpdateControls() override;
  void UpdateCtrlAltDel() override;
  void UpdateLists() override;
  std::string ProgramDir() const override { return m_locations.ProgramDir; }
  std::string StateDir() const override { return m_locations.StateDir; }
  const ProhibitedLog& prohibited_log() const override { return m_state.prohibitedLog; }
  SaveReport startup_save_report() const override { return m_state.saveFailures; }
  std::string system_settings_problems() const override { return m_state.systemSettingsProblems; }
  void CloseProgram() override;
  bool GetPassword() override;
  void OpenSetup() override;

  // --- navigation guard effects ---
  void navigate(BrowserTarget target, const std::string& url) override;
  void ShowMsgPanel(const std::string& text) override;
  bool popup_exists() const override { return m_popup != nullptr; }
  bool popup_visible() const override { return m_popup && m_popup->get_visible(); }
  void set_nav_frame_width(int pixels) override;
  std::string ErrorPagePath() override;
  std::string MoreSitesPath() override;

  // --- start-up chain ---
  NavigationGuard& guard() override { return m_guard; }
  bool MsgPanelVisible() const override { return m_msgPanel.panel_visible(); }
  void SetMsgPanelTimer(bool on) override { m_msgPanel.SetMsgPanelTimer(on); }
  void SetToolbarButtons(bool enabled) override;
  void GetRemoteConfig() override;
  std::string HomeSite() override;

  // --- pop-up window ---
  NavigationVerdict WebBrowserBeforeNavigate2(const std::string& url,
                                              NavigationOrigin origin) override;
  void on_page_loaded(EmbeddedWB& sender) override;
  void webbrowserStatusTextChange(const std::string& text) override;
  void webbrowserLoadFailed(const std::string& url) override;
  void webbrowserProgressChange(int progress, int progress_max) override;
  void PrepareHistoryStep() override;

  // --- configuration download ---
  void set_status_text(const std::string& text) override;

  // Saves the refused-URL log (the first step of `FormDestroy`).
  void SaveProhibitedLogNow();
  // The session is ending (SIGTERM and the like): save and leave at once.
  void EndSession();

  EmbeddedWB& NavFrame() { return m_navFrame; }
  EmbeddedWB& webbrowser() { return m_webbrowser; }

 protected:
  bool on_delete_event(GdkEventAny* event) override;  // `FormClose`

 private:
  void build_layout();
  void build_toolbar();
  void build_left_strip();
  void build_status_line();
  void wire_frames();
  void cover_monitor();
  void apply_window_level();

  // Handlers.
  void home_buttonClick();
  void back_buttonClick();
  void forward_buttonClick();
  void stop_buttonClick();
  void print_buttonClick();
  void email_buttonClick();
  void TovaliHelp1Click();
  void help_buttonClick();
  void Image8DblClick();
  void Image6Click();
  void Image7Click();
  void ToolsImageDblClick();
  void hide_labelClick();
  void show_labelClick();
  void ShowLoadingLabel();
  void HideLoadingLabel();
  void NavFrameStatusTextChange(const std::string& text);
  void on_nav_frame_loaded();
  void NavFrameLoadFailed(const std::string& url);
  EmbeddedWB* WebBrowserNewWindow2();
  bool QueueTimerTimer();
  bool ShowNewBrowserTimerTimer();

  Locations m_locations;
  StartupState m_state;
  ConfigStore m_store;
  SteadyClock m_clock;
  NavigationGuard m_guard;
  bool m_closeAllowed = false;   // `CloseAllowed`
  int m_savedNavFrameWidth = 0;  // `SavedNavFrameWidth`
  bool m_navFramePlaced = false;
  int m_pendingNavFrameWidth = kNavFrameWidth;

  // Frames.
  EmbeddedWB m_navFrame{BodyCapture::On};   // `NavFrame`
  EmbeddedWB m_webbrowser;                  // `webbrowser`
  std::unique_ptr<NewBrowserForm> m_popup;  // `NewBrowserForm`

  // Layout.
  Gtk::Overlay m_overlay;
  Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL};
  Gtk::EventBox m_topPanel;  // Panel5
  Gtk::Box m_topBox{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Box m_toolbar1{Gtk::ORIENTATION_HORIZONTAL};
  ToolbarButton m_home{"Home", {"go-home"}};
  ToolbarButton m_back{"Back", {"go-previous"}};
  ToolbarButton m_forward{"Forward", {"go-next"}};
  ToolbarButton m_stop{"Stop", {"process-stop"}};
  ToolbarButton m_print{"Print", {"document-print"}};
  ToolbarButton m_email{"E-mail", {"mail-send", "mail-message-new", "internet-mail"}};
  Gtk::Box m_toolbar2{Gtk::ORIENTATION_HORIZONTAL};
  ToolbarButton m_help{"Help", {"help-browser", "help-contents"}};
  Gtk::MenuButton m_helpArrow;
  Gtk::Menu m_helpMenu;  // PopupMenu1
  Gtk::MenuItem m_helpLocal{"Tovali Explorer Help"};
  Gtk::MenuItem m_helpWeb{"Help From The Web"};
  Gtk::SeparatorMenuItem m_helpSeparator;
  Gtk::MenuItem m_helpAbout{"About Tovali Explorer"};
  Gtk::Box m_rightCorner{Gtk::ORIENTATION_HORIZONTAL};
  PictureArea m_logo;         // logo_image
  PictureArea m_closeButton;  // close_button

  Gtk::Box m_middle{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::EventBox m_loadingFrame;  // a_loading_frame
  Gtk::Box m_loadingBox{Gtk::ORIENTATION_VERTICAL};
  Gtk::Label m_loadingLabel;  // a_loading_label
  AccessibleButton<Gtk::EventBox> m_hideBox;
  Gtk::Label m_hideLabel;  // hide_label
  AccessibleButton<Gtk::EventBox> m_showBox;
  Gtk::Label m_showLabel;                               // show_label
  Gtk::Paned m_splitter{Gtk::ORIENTATION_HORIZONTAL};   // Splitter1
  Gtk::Box m_navFramePanel{Gtk::ORIENTATION_VERTICAL};  // NavFramePanel
  Gtk::Box m_mainPanel{Gtk::ORIENTATION_VERTICAL};      // Panel4

  Gtk::Box m_statusLine{Gtk::ORIENTATION_HORIZONTAL};  // Panel2
  double m_progressFill = 0.0;
  PictureArea m_progress;  // ProgressBar1
  Gtk::Frame m_statusFrame;
  Gtk::Label m_statusText;                              // StatusText
  Gtk::Box m_statusRight{Gtk::ORIENTATION_HORIZONTAL};  // Panel3
  PictureArea m_toolsImage;                             // ToolsImage
  Gtk::Overlay m_dots;
  PictureArea m_redDot;    // RedDotImage
  PictureArea m_greenDot;  // GreenDotImage

  AboutPanel m_about;
  MessagePanel m_msgPanel{HandCursor::On};

  KioskLock m_kiosk;
  StartupChain m_startup;
  std::unique_ptr<ConfigDownload> m_configDownload;
  sigc::connection m_queueTimer;
  sigc::connection m_showNewBrowserTimer;
};

}  // namespace tovali
