#pragma once

#include <gtkmm/box.h>

#include "ui/parent/SetupSwitches.h"

namespace tovali {

// The General tab of the setup dialog: its switches and the main frame's
// start page.
class SetupGeneralPage : public Gtk::Box {
 public:
  // Lays out the tab's controls, kept in `switches`.
  explicit SetupGeneralPage(SetupSwitches& switches);
};

}  // namespace tovali
