#include "ui/child/KioskLock.h"

#include <iostream>

#include <gdk/gdkx.h>
#include <glibmm/main.h>

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

KioskLock::KioskLock(Gtk::Window& main_window, const Settings& settings)
    : m_main(main_window), m_settings(settings) {}

KioskLock::~KioskLock() {
  stop();
  if (m_on_left_press)
    gdk_event_handler_set([](GdkEvent* event, gpointer) { gtk_main_do_event(event); }, nullptr,
                          nullptr);
}

void KioskLock::install_event_filter(std::function<void()> on_left_press) {
  m_on_left_press = std::move(on_left_press);
  gdk_event_handler_set(&KioskLock::filter_event, this, nullptr);
}

// Sees every event of the program before any window does.
void KioskLock::filter_event(GdkEvent* event, gpointer data) {
  auto* self = static_cast<KioskLock*>(data);
  switch (event->type) {
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
      if (event->button.button == 3) return;  // dropped: reaches no window
      if (event->type == GDK_BUTTON_PRESS && event->button.button == 1 && self->m_on_left_press) {
        try {
          self->m_on_left_press();
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
      sigc::mem_fun(*this, &KioskLock::on_prevent_switch_timer), kPreventSwitchMs);
}

void KioskLock::stop() {
  m_timer.disconnect();
  release_keyboard();
}

bool KioskLock::on_prevent_switch_timer() {
  try {
    const bool lock = m_settings.is_on(keys::prevent_switch);
    // A modal window of the program (pop-up, prompt, setup, control panel,
    // print dialog) is what the program shows in front.
    Gtk::Window* front = nullptr;
    bool active = false;
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
      if (!window->get_visible()) continue;
      if (has_focus(*window)) active = true;
      if (window != &m_main && window->get_modal()) front = window;
    }
    hold_on_every_desktop(lock);
    hold_keyboard(lock, front ? *front : m_main);
    // The program is the active application when one of its windows is.
    if (active || !lock) return true;
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
  if (has_focus(window)) return true;
  guint32 time = GDK_CURRENT_TIME;
  if (GDK_IS_X11_WINDOW(gdk_window->gobj())) time = gdk_x11_get_server_time(gdk_window->gobj());
  window.present(time);
  return has_focus(window);
}

bool KioskLock::has_focus(Gtk::Window& window) {
  auto gdk_window = window.get_window();
  if (!gdk_window || !GDK_IS_X11_WINDOW(gdk_window->gobj())) return window.is_active();
  // While the program holds the keyboard, GTK keeps the window it grabbed
  // on as focused whatever has the focus: ask the X server.
  GdkDisplay* gdk_display = gdk_window_get_display(gdk_window->gobj());
  Display* display = GDK_WINDOW_XDISPLAY(gdk_window->gobj());
  const ::Window own = GDK_WINDOW_XID(gdk_window->gobj());
  // The focused window may be destroyed at any moment (a closing dialog,
  // another client): an X error about it must not end the program, which
  // GDK does for any error nobody expected.
  gdk_x11_display_error_trap_push(gdk_display);
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  bool found = false;
  // The focus may be on a window inside the program's window.
  for (int depth = 0; focus > PointerRoot && depth < 16; ++depth) {
    if (focus == own) {
      found = true;
      break;
    }
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, focus, &root, &parent, &children, &count)) break;
    if (children) XFree(children);
    if (parent == root) break;
    focus = parent;
  }
  gdk_x11_display_error_trap_pop_ignored(gdk_display);
  return found;
}

void KioskLock::hold_on_every_desktop(bool lock) {
  GdkScreen* screen = gdk_screen_get_default();
  // Without a window manager there are no desktops to leave to.
  if (!screen || !GDK_IS_X11_SCREEN(screen) ||
      !gdk_x11_screen_supports_net_wm_hint(screen,
                                           gdk_atom_intern_static_string("_NET_WM_DESKTOP")))
    return;
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
    auto gdk_window = window->get_window();
    if (!window->get_visible() || window->get_window_type() != Gtk::WINDOW_TOPLEVEL || !gdk_window)
      continue;
    const bool sticky = (gdk_window->get_state() & Gdk::WINDOW_STATE_STICKY) != 0;
    if (lock && !sticky) window->stick();
    if (!lock && sticky) window->unstick();
  }
}

void KioskLock::hold_keyboard(bool lock, Gtk::Window& front) {
  if (!lock) {
    release_keyboard();
    return;
  }
  auto gdk_window = front.get_window();
  if (!gdk_window || !gdk_window->is_viewable()) return;
  GdkDisplay* display = gdk_window_get_display(gdk_window->gobj());
  GdkSeat* seat = gdk_display_get_default_seat(display);
  GdkDevice* keyboard = seat ? gdk_seat_get_keyboard(seat) : nullptr;
  if (!keyboard) return;
  // A grab of the program's own (a menu, a combo box's list) is left alone;
  // when it ends, the next tick grabs again.
  if (gdk_display_device_is_grabbed(display, keyboard) && m_keyboard_window == gdk_window->gobj())
    return;
  if (gdk_display_device_is_grabbed(display, keyboard) && !m_keyboard_window) return;
  // Events still go to the program's window that has the focus.
  if (gdk_seat_grab(seat, gdk_window->gobj(), GDK_SEAT_CAPABILITY_KEYBOARD, TRUE, nullptr, nullptr,
                    nullptr, nullptr) == GDK_GRAB_SUCCESS)
    m_keyboard_window = gdk_window->gobj();
  else
    m_keyboard_window = nullptr;
}

void KioskLock::release_keyboard() {
  if (!m_keyboard_window) return;
  m_keyboard_window = nullptr;
  GdkDisplay* display = gdk_display_get_default();
  GdkSeat* seat = display ? gdk_display_get_default_seat(display) : nullptr;
  GdkDevice* keyboard = seat ? gdk_seat_get_keyboard(seat) : nullptr;
  if (keyboard && gdk_display_device_is_grabbed(display, keyboard)) gdk_seat_ungrab(seat);
}

}  // namespace tovali
