#pragma once

#include <functional>

#include <gtkmm/window.h>
#include <sigc++/connection.h>

namespace tovali {

class Settings;

// Keeps the child inside the program: pulls it back to the front when none
// of its windows is active and `prevent_switch` is "1", drops right-button
// presses (and right double-clicks) everywhere in the program, and reports
// every left-button press.
class KioskLock {
 public:
  static constexpr int kPreventSwitchMs = 100;

  // `main_window` and `settings` must outlive the lock.
  KioskLock(Gtk::Window& main_window, const Settings& settings);
  ~KioskLock();

  // Installs the application-wide event filter; `on_left_press` runs at every
  // left-button press before the event goes on to its window.
  void install_event_filter(std::function<void()> on_left_press);

  // Starts and stops `PreventSwitchTimer`.
  void start();
  void stop();
  bool running() const { return m_timer.connected(); }

  // Brings `window` to the front: restored first when minimised, then
  // presented with the X server's time. True when it is active afterwards.
  static bool ForceForegroundWindow(Gtk::Window& window);

  // Applies `disable_ctrl_alt_del`. On the old desktop this set the
  // screen-saver-running flag that kept the system from acting on
  // Ctrl+Alt+Del; a Linux desktop has no such flag (like the NT family,
  // which ignored it), so there is nothing to apply and this does nothing.
  // The keyboard lock is a separate concern of the desktop session.
  void UpdateCtrlAltDel();

 private:
  bool PreventSwitchTimerTimer();
  static void filter_event(GdkEvent* event, gpointer data);

  Gtk::Window& m_main;
  const Settings& m_settings;
  std::function<void()> m_onLeftPress;
  sigc::connection m_timer;
};

}  // namespace tovali
