#pragma once

#include <functional>
#include <string>

#include <gtkmm/box.h>

#include "base/Translate.h"
#include "browser/EmbeddedWB.h"
#include "ui/widgets/ToolbarButton.h"

namespace tovali {

class Settings;

// The browser buttons the main window and the pop-up share: Back, Forward,
// Stop and Print, in that order, acting on one view. Back and Forward follow
// the view's command-state event (both start disabled); Print opens the
// print dialog when show_print_settings is "1" and prints directly otherwise.
// The owning window packs its own buttons before or after this bar.
class BrowserToolbar : public Gtk::Box {
 public:
  // What the owning window does around the buttons' work.
  struct Hooks {
    // Called before Back and Forward step through the history.
    std::function<void()> before_history_step;
    // Called once printing has started, to tell the child.
    std::function<void()> on_printing;
  };

  // `browser` and `settings` must outlive the bar. `where` prefixes the
  // names under which errors of the button handlers are reported ("" or
  // "pop-up "). Takes over the view's CommandStateChange event.
  BrowserToolbar(EmbeddedWB& browser, const Settings& settings, const std::string& where,
                 Hooks hooks);
  ~BrowserToolbar() override;

  void set_stop_enabled(bool enabled) { m_stop.set_enabled(enabled); }
  void set_print_enabled(bool enabled) { m_print.set_enabled(enabled); }

 private:
  void on_command_state_change(BrowserCommand command, bool enable);
  void on_back_clicked();
  void on_forward_clicked();
  void on_stop_clicked();
  void on_print_clicked();

  EmbeddedWB& m_browser;
  const Settings& m_settings;
  Hooks m_hooks;
  std::string m_back_where;
  std::string m_forward_where;
  std::string m_stop_where;
  std::string m_print_where;
  ToolbarButton m_back{tr("Back"), {"go-previous"}};
  ToolbarButton m_forward{tr("Forward"), {"go-next"}};
  ToolbarButton m_stop{tr("Stop"), {"process-stop"}};
  ToolbarButton m_print{tr("Print"), {"document-print"}};
};

}  // namespace tovali
