#pragma once

#include <string_view>

namespace Gtk {
class Window;
}

namespace tovali {

// Shows `text` in a modal message box with an OK button, on top of `parent`,
// and returns when it is dismissed. A carriage return in `text` breaks the
// line. When `parent` is not shown yet, the box goes on top of the window
// `parent` belongs to.
void show_message(Gtk::Window& parent, std::string_view text);

}  // namespace tovali
