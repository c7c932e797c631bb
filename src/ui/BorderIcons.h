#pragma once

namespace Gtk {
class Window;
}

namespace tovali {

// The buttons a window manager may put in a window's title bar.
enum class TitleButtons {
  None,          // caption only: no window menu, no minimise, maximise or close
  MaximiseOnly,  // a sizeable window: the window menu and maximise, no minimise
};

// What a window manager offers on the program's windows besides the
// caption: never a minimise button, which would hide a window of the
// program behind nothing.
class BorderIcons {
 public:
  // Applies `buttons` to `window`; call before the window is realised.
  static void keep(Gtk::Window& window, TitleButtons buttons);

  // A fixed window of the parent's: modal over `parent` (when given),
  // centred, neither resizable nor closable from its title bar, caption only.
  static void keep_fixed_modal(Gtk::Window& window, Gtk::Window* parent);
};

}  // namespace tovali
