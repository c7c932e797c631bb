#pragma once

#include <functional>

#include <gtkmm/window.h>
#include <sigc++/connection.h>

namespace tovali {

class Settings;

// Keeps the child inside the program: while `prevent_switch` is "1" the
// program's windows stay on every desktop of a window manager, the keyboard
// is grabbed for the program (so the window manager's shortcuts never reach
// it) and the program is pulled back to the front when none of its windows
// is active. Also drops right-button presses (and right double-clicks)
// everywhere in the program, and reports every left-button press.
class KioskLock {
 public:
  static constexpr int kPreventSwitchMs = 100;

  // `main_window` and `settings` must outlive the lock.
  KioskLock(Gtk::Window& main_window, const Settings& settings);
  ~KioskLock();

  // Installs the application-wide event filter; `on_left_press` runs at every
  // left-button press before the event goes on to its window.
  void install_event_filter(std::function<void()> on_left_press);

  // Starts and stops the timer that keeps the program in front (see
  // on_prevent_switch_timer); stopping releases the keyboard.
  void start();
  void stop();
  bool running() const { return m_timer.connected(); }

  // Brings `window` to the front: restored first when minimised, then
  // presented with the X server's time. True when it has the input focus
  // afterwards.
  static bool ForceForegroundWindow(Gtk::Window& window);
  // Whether `window` (or a window inside it) has the input focus.
  static bool has_focus(Gtk::Window& window);

 private:
  bool on_prevent_switch_timer();
  static void filter_event(GdkEvent* event, gpointer data);
  // Sticks the shown windows to every desktop (or unsticks them when the
  // lock is off).
  void hold_on_every_desktop(bool lock);
  // Keeps the keyboard grabbed on `front` while the lock is on.
  void hold_keyboard(bool lock, Gtk::Window& front);
  void release_keyboard();

  Gtk::Window& m_main;
  const Settings& m_settings;
  std::function<void()> m_on_left_press;
  sigc::connection m_timer;
  GdkWindow* m_keyboard_window = nullptr;  // where the keyboard grab is held
};

}  // namespace tovali
