#pragma once

#include <functional>
#include <map>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>

#include "models/DisplayText.h"
#include "models/SetupModel.h"

namespace tovali {

class Settings;

// The check boxes and the text entries of the setup dialog's settings
// (setup_checks), which the tabs lay out where each belongs, kept by the
// setting's name for filling, reading and locking them all at once.
class SetupSwitches {
 public:
  // Called when a check box that warns about the configuration download is
  // toggled.
  std::function<void()> on_configuration_toggled;

  // Adds the check boxes of `place` (see setup_checks) to `box`, in order.
  void add_checks(Gtk::Box& box, SetupPlace place);
  // A new entry for the setting `key`, owned by the container it is packed into.
  Gtk::Entry& add_entry(SettingKey key);

  // The check box and the entry of a setting, by the setting's name; throw
  // std::out_of_range for a name there is none for.
  Gtk::CheckButton& check(const std::string& name);
  Gtk::CheckButton& check(SettingKey key) { return check(std::string(key.name())); }
  Gtk::Entry& entry(const std::string& name);
  Gtk::Entry& entry(SettingKey key) { return entry(std::string(key.name())); }

  // Shows the switches and texts of `model`, through `display`.
  void show(const SetupModel& model, DisplayTextMap& display);
  // Reads the switches and texts into `model`, through `display`.
  void read(SetupModel& model, const DisplayTextMap& display) const;
  // Locks the controls of the keys that the administrator locked.
  void show_locks(const Settings& settings);

 private:
  std::map<std::string, Gtk::CheckButton*> m_checks;  // owned by their tabs
  std::map<std::string, Gtk::Entry*> m_entries;       // owned by their tabs
};

}  // namespace tovali
