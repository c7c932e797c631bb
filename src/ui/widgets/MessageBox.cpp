#include "ui/widgets/MessageBox.h"

#include <string>

#include <gtkmm/messagedialog.h>

#include "base/Translate.h"

namespace tovali {

void show_message(Gtk::Window& parent, std::string_view text) {
  // Messages of the core may come untranslated.
  std::string shown = tr_lines(text);
  for (auto pos = shown.find("\r\n"); pos != std::string::npos; pos = shown.find("\r\n", pos)) {
    shown.erase(pos, 1);
  }
  for (char& c : shown) {
    if (c == '\r') c = '\n';
  }
  Gtk::Window* owner = &parent;
  if (!parent.get_visible() && parent.get_transient_for() != nullptr) {
    owner = parent.get_transient_for();
  }
  Gtk::MessageDialog box(*owner, shown, false, Gtk::MESSAGE_INFO, Gtk::BUTTONS_OK, true);
  box.set_title("Tovali Explorer");
  box.set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  box.set_deletable(false);
  box.run();
}

}  // namespace tovali
