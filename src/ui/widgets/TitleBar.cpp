#include "ui/widgets/TitleBar.h"

#include <gtkmm/window.h>

namespace tovali {

namespace {

void apply(Gtk::Window& window, TitleButtons buttons) {
  auto gdk_window = window.get_window();
  if (!gdk_window) return;
  if (buttons == TitleButtons::None) {
    gdk_window->set_decorations(Gdk::DECOR_BORDER);
    gdk_window->set_functions(Gdk::FUNC_MOVE);
  } else {
    gdk_window->set_decorations(Gdk::DECOR_BORDER | Gdk::DECOR_TITLE | Gdk::DECOR_RESIZEH |
                                Gdk::DECOR_MENU | Gdk::DECOR_MAXIMIZE);
    gdk_window->set_functions(Gdk::FUNC_MOVE | Gdk::FUNC_RESIZE | Gdk::FUNC_MAXIMIZE |
                              Gdk::FUNC_CLOSE);
  }
}

}  // namespace

void TitleBar::keep(Gtk::Window& window, TitleButtons buttons) {
  // Some window managers (openbox among them) ignore these hints for the
  // title-bar buttons and leave minimise and maximise off a tool window
  // only; others follow the hints.
  window.set_type_hint(Gdk::WINDOW_TYPE_HINT_TOOLBAR);
  window.signal_realize().connect([&window, buttons] { apply(window, buttons); });
  if (window.get_realized()) apply(window, buttons);
}

void TitleBar::keep_fixed_modal(Gtk::Window& window, Gtk::Window* parent) {
  window.set_modal(true);
  if (parent) window.set_transient_for(*parent);
  window.set_position(Gtk::WIN_POS_CENTER);
  window.set_deletable(false);
  window.set_resizable(false);
  keep(window, TitleButtons::None);
}

}  // namespace tovali
