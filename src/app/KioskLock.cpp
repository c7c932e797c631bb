#include "app/KioskLock.h"

#include <iostream>

#include <gdk/gdkx.h>
#include <glibmm/main.h>

#include "settings/Settings.h"

namespace tovali {

KioskLock::KioskLock(Gtk::Window& main_window, const Settings& settings)
    : m_main(main_window), m_settings(settings) {}

KioskLock::~KioskLock() {
  stop();
  if (m_onLeftPress)
    gdk_event_handler_set([](GdkEvent* event, gpointer) { gtk_main_do_event(event); }, nullptr,
                          nullptr);
}

void KioskLock::install_event_filter(std::function<void()> on_left_press) {
  m_onLeftPress = std::move(on_left_press);
  gdk_event_handler_set(&KioskLock::filter_event, this, nullptr);
}

// `ApplicationEvents1Message`: runs before any window sees an event.
void KioskLock::filter_event(GdkEvent* event, gpointer data) {
  auto* self = static_cast<KioskLock*>(data);
  switch (event->type) {
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
      if (event->button.button == 3) return;  // dropped: reaches no window
      if (event->type == GDK_BUTTON_PRESS && event->button.button == 1 && self->m_onLeftPress) {
        try {
          self->m_onLeftPress();
        } catch (...) {
          std::cerr << "tovali-explorer: error while recording a click\n";
        }
      }
      break;
    default:
      break;
  }
  gtk_main_do_event(event);
}

void KioskLock::start() {
  if (m_timer.connected()) return;
  m_timer = Glib::signal_timeout().connect(
      sigc::mem_fun(*this, &KioskLock::PreventSwitchTimerTimer), kPreventSwitchMs);
}

void KioskLock::stop() {
  m_timer.disconnect();
}

bool KioskLock::PreventSwitchTimerTimer() {
  try {
    // The program is the active application when one of its windows is.
    Gtk::Window* front = nullptr;
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
      if (!window->get_visible()) continue;
      if (window->is_active()) return true;
      // A modal window of the program (pop-up, prompt, setup, control
      // panel) is what the program shows in front.
      if (window != &m_main && window->get_modal()) front = window;
    }
    if (m_settings.value("prevent_switch") != "1") return true;
    ForceForegroundWindow(front ? *front : m_main);
  } catch (const std::exception& e) {
    std::cerr << "tovali-explorer: kiosk lock: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "tovali-explorer: kiosk lock: unknown error\n";
  }
  return true;
}

bool KioskLock::ForceForegroundWindow(Gtk::Window& window) {
  auto gdk_window = window.get_window();
  if (!gdk_window) return false;
  if (gdk_window->get_state() & Gdk::WINDOW_STATE_ICONIFIED) window.deiconify();
  if (window.is_active()) return true;
  guint32 time = GDK_CURRENT_TIME;
  if (GDK_IS_X11_WINDOW(gdk_window->gobj())) time = gdk_x11_get_server_time(gdk_window->gobj());
  window.present(time);
  return window.is_active();
}

void KioskLock::UpdateCtrlAltDel() {
  // Read for the record; there is no platform flag to set (see header).
  (void)m_settings.value("disable_ctrl_alt_del");
}

}  // namespace tovali
