#pragma once

#include <functional>

#include <gtkmm/box.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/separatormenuitem.h>

#include "base/Translate.h"
#include "browser/EmbeddedWB.h"
#include "models/GrownUpRequest.h"
#include "session/SessionEdge.h"
#include "ui/child/BrowserToolbar.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/ToolbarButton.h"

namespace tovali {

class Settings;

// The toolbar along the top of the main window: Home, the browser buttons
// (BrowserToolbar) and E-mail; Help with its menu; "Ask a grown-up" while
// the session offers it; the logo (a double click shows the about panel)
// and the Close picture in the right corner. Each press calls the matching
// action of its owner.
class TopPanel : public Gtk::EventBox {
 public:
  // What the owning window does for each button and menu item.
  struct Actions {
    std::function<void()> home;
    std::function<void()> email;
    std::function<void()> local_help;
    std::function<void()> web_help;
    std::function<void()> about;
    std::function<void()> close;
    std::function<void()> ask_grown_up;
  };

  // `main_frame` and `settings` must outlive the panel; the browser buttons
  // act on `main_frame` with `hooks` around their work.
  TopPanel(EmbeddedWB& main_frame, const Settings& settings, BrowserToolbar::Hooks hooks,
           Actions actions);

  // Home, E-mail and Stop take clicks while `enabled` is true.
  void set_buttons_enabled(bool enabled);
  void set_close_visible(bool visible) { m_close_button.set_visible(visible); }
  void set_email_visible(bool visible) { m_email.set_visible(visible); }
  void set_print_enabled(bool enabled) { m_browser_buttons.set_print_enabled(enabled); }
  // Shows or hides "Ask a grown-up", after Help; hidden at start.
  void set_ask_button(AskButton state);

 private:
  Actions m_actions;
  Gtk::Box m_top_box{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Box m_site_buttons{Gtk::ORIENTATION_HORIZONTAL};
  ToolbarButton m_home{tr("Home"), {"go-home"}};
  BrowserToolbar m_browser_buttons;
  ToolbarButton m_email{tr("E-mail"), {"mail-send", "mail-message-new", "internet-mail"}};
  Gtk::Box m_help_buttons{Gtk::ORIENTATION_HORIZONTAL};
  ToolbarButton m_help{tr("Help"), {"help-browser", "help-contents"}};
  Gtk::MenuButton m_help_arrow;
  Gtk::Menu m_help_menu;
  Gtk::MenuItem m_help_local{tr("Tovali Explorer Help")};
  Gtk::MenuItem m_help_web{tr("Help From The Web")};
  Gtk::SeparatorMenuItem m_help_separator;
  Gtk::MenuItem m_help_about{tr("About Tovali Explorer")};
  ToolbarButton m_ask{tr(kAskGrownUpCaption), {"dialog-question", "help-faq", "system-users"}};
  Gtk::Box m_right_corner{Gtk::ORIENTATION_HORIZONTAL};
  PictureButton m_logo;
  PictureButton m_close_button;
};

}  // namespace tovali
