#pragma once

#include <gtkmm/box.h>

#include "ui/parent/SetupSwitches.h"

namespace tovali {

// The Buttons tab of the setup dialog: the home site, the E-mail, Print and
// Close buttons.
class SetupButtonsPage : public Gtk::Box {
 public:
  // Lays out the tab's controls, kept in `switches`.
  explicit SetupButtonsPage(SetupSwitches& switches);
};

}  // namespace tovali
