#pragma once

#include <gtkmm/box.h>

#include "models/DisplayText.h"
#include "models/SetupModel.h"
#include "ui/widgets/LinesField.h"

namespace tovali {

class Settings;

// The Downloads tab of the setup dialog: the list of prohibited file
// extensions.
class SetupDownloadsPage : public Gtk::Box {
 public:
  SetupDownloadsPage();

  // Shows the list of `model`, through `display`.
  void show(const SetupModel& model, DisplayTextMap& display);
  // Reads the list into `model`, through `display`.
  void read(SetupModel& model, const DisplayTextMap& display) const;
  // Locks the list when the administrator keeps it.
  void show_locks(const Settings& settings);

 private:
  // Tests reach the controls through it.
  friend class SetupFormTestAccess;

  LinesField m_prohibited_file_exts_memo{"prohibited_file_exts_memo"};
};

}  // namespace tovali
