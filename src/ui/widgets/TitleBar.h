#pragma once

namespace Gtk {
class Window;
}

namespace tovali {

// The buttons a window manager may put in a window's title bar.
enum class TitleButtons {
  None,          // a border only: no title bar, so no window menu, minimise, maximise or close
  MaximiseOnly,  // a sizeable window: the window menu and maximise, no minimise
};

// What a window manager offers on the program's windows besides the
// caption: never a minimise button, which would hide a window of the
// program behind nothing.
class TitleBar {
 public:
  // Applies `buttons` to `window`; call before the window is realised.
  static void keep(Gtk::Window& window, TitleButtons buttons);

  // A fixed window of the parent's: modal over `parent` (when given),
  // centred, not resizable, framed by a border without a title bar. Window
  // managers such as openbox put a window menu and a close button on every
  // title bar they draw, whatever the window asks for; without a title bar
  // there is neither. The caption stays the window's title (task lists,
  // accessibility).
  static void keep_fixed_modal(Gtk::Window& window, Gtk::Window* parent);
};

}  // namespace tovali
