#include "ui/child/BrowserToolbar.h"

#include <utility>

#include "browser/CallbackGuard.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

BrowserToolbar::BrowserToolbar(EmbeddedWB& browser, const Settings& settings,
                               const std::string& where, Hooks hooks)
    : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL),
      m_browser(browser),
      m_settings(settings),
      m_hooks(std::move(hooks)),
      m_back_where(where + "Back"),
      m_forward_where(where + "Forward"),
      m_stop_where(where + "Stop"),
      m_print_where(where + "Print") {
  for (ToolbarButton* button : {&m_back, &m_forward, &m_stop, &m_print})
    pack_start(*button, Gtk::PACK_SHRINK);
  m_back.set_enabled(false);
  m_forward.set_enabled(false);
  m_back.signal_clicked().connect(sigc::mem_fun(*this, &BrowserToolbar::on_back_clicked));
  m_forward.signal_clicked().connect(sigc::mem_fun(*this, &BrowserToolbar::on_forward_clicked));
  m_stop.signal_clicked().connect(sigc::mem_fun(*this, &BrowserToolbar::on_stop_clicked));
  m_print.signal_clicked().connect(sigc::mem_fun(*this, &BrowserToolbar::on_print_clicked));
  m_browser.events().CommandStateChange = [this](BrowserCommand command, bool enable) {
    on_command_state_change(command, enable);
  };
}

BrowserToolbar::~BrowserToolbar() {
  // The view may outlive the bar: its event must not reach the freed buttons.
  m_browser.events().CommandStateChange = nullptr;
}

void BrowserToolbar::on_command_state_change(BrowserCommand command, bool enable) {
  if (command == BrowserCommand::NavigateBack) m_back.set_enabled(enable);
  if (command == BrowserCommand::NavigateForward) m_forward.set_enabled(enable);
}

void BrowserToolbar::on_back_clicked() {
  guarded(m_back_where.c_str(), [this] {
    if (m_hooks.before_history_step) m_hooks.before_history_step();
    m_browser.GoBack();
  });
}

void BrowserToolbar::on_forward_clicked() {
  guarded(m_forward_where.c_str(), [this] {
    if (m_hooks.before_history_step) m_hooks.before_history_step();
    m_browser.GoForward();
  });
}

void BrowserToolbar::on_stop_clicked() {
  guarded(m_stop_where.c_str(), [this] { m_browser.Stop(); });
}

void BrowserToolbar::on_print_clicked() {
  guarded(m_print_where.c_str(), [this] {
    const PrintMode mode = m_settings.is_on(keys::show_print_settings) ? PrintMode::WithDialog
                                                                       : PrintMode::WithoutDialog;
    m_browser.print(mode, [this] {
      if (m_hooks.on_printing) m_hooks.on_printing();
    });
  });
}

}  // namespace tovali
