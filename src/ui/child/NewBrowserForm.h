#pragma once

#include <memory>
#include <string>

#include <glibmm/main.h>
#include <gtkmm/box.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/image.h>
#include <gtkmm/overlay.h>
#include <gtkmm/window.h>

#include "base/Translate.h"
#include "browser/EmbeddedWB.h"
#include "ui/child/BrowserToolbar.h"
#include "ui/child/MessagePanel.h"
#include "ui/widgets/ToolbarButton.h"

namespace tovali {

class Settings;

// What the pop-up window leaves to the main window: every navigation is
// judged by the main window's guard, and status, progress and error pages go
// through the main window's handlers.
class PopupHost {
 public:
  virtual ~PopupHost() = default;
  // Every navigation of the pop-up's view (target PopupBrowser).
  virtual Verdict BeforeNavigate2(const NavigationRequest& request) = 0;
  virtual void on_page_loaded(EmbeddedWB& sender) = 0;
  virtual void on_status_text_change(const std::string& text) = 0;
  virtual void on_load_failed(const std::string& url) = 0;
  // A page load of the view has started; its progress reports follow.
  virtual void on_load_started() = 0;
  virtual void on_progress_change(int progress, int progress_max) = 0;
  // Back and Forward: the next navigation is a trusted history step.
  virtual void prepare_history_step() = 0;
  virtual const Settings& settings() const = 0;
};

// The pop-up browser window: a small modal browser with Back, Forward, Stop,
// Print and Close, its own message panel, and a view handed over from the
// main frame's new-window request. It cannot open further windows.
class NewBrowserForm : public Gtk::Window {
 public:
  static constexpr const char* kCaption = N_("Click Close To Get To Main Screen");
  static constexpr const char* kNoMoreWindowsMessage =
      N_("This page is trying to open a new window. More new windows may not be opened.");

  // `related`: the main frame, whose page asked for the window.
  NewBrowserForm(PopupHost& host, EmbeddedWB& related, Gtk::Window& parent);
  ~NewBrowserForm() override;

  EmbeddedWB& NewBrowser() { return m_browser; }

  // Shows the window modally; returns when it has been closed.
  void show_modal();

  void ShowMsgPanel(const std::string& text, PanelButton button = PanelButton::None) {
    m_msg_panel.ShowMsgPanel(text, button);
  }
  MessagePanel& msg_panel() { return m_msg_panel; }

 protected:
  bool on_delete_event(GdkEventAny* event) override;

 private:
  void wire_browser();
  void on_close_clicked();

  PopupHost& m_host;
  EmbeddedWB m_browser;
  Glib::RefPtr<Glib::MainLoop> m_modal_loop;

  Gtk::Overlay m_overlay;
  Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL};
  Gtk::EventBox m_top_bar;
  Gtk::Box m_top_box{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Box m_toolbar{Gtk::ORIENTATION_HORIZONTAL};
  BrowserToolbar m_browser_buttons;
  ToolbarButton m_close{tr("Close"), {"window-close", "application-exit"}};
  Gtk::Image m_logo;
  MessagePanel m_msg_panel{HandCursor::Off};
};

}  // namespace tovali
