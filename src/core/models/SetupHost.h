#pragma once

#include <string>

#include "settings/ConfigStore.h"
#include "settings/ProhibitedLog.h"
#include "settings/Settings.h"

namespace tovali {

class ActivityRecord;

// What the setup dialog needs of the main window. The main window owns the
// settings list and re-applies it; the dialog only edits it.
class SetupHost {
 public:
  virtual ~SetupHost() = default;

  // The main window's settings list, edited in place.
  virtual Settings& settings() = 0;

  // Writes the settings list to its three copies.
  virtual SaveReport SaveConfig() = 0;

  // Re-applies the visible switches (close button, navigation frame, e-mail
  // and print buttons, silent mode).
  virtual void UpdateControls() = 0;

  // Reloads the parent's three prohibition lists from the settings.
  virtual void UpdateLists() = 0;

  // The folder of the supplied pages (the setup help), ending with "/".
  virtual std::string ProgramDir() const = 0;

  // The folder the program writes its pages to (the error page), ending
  // with "/".
  virtual std::string state_dir() const = 0;

  // The refused URLs, oldest first.
  virtual const ProhibitedLog& prohibited_log() const = 0;

  // Settings copies that could not be written while the program started;
  // the dialog tells the parent, who is the one able to mend the folder.
  virtual SaveReport startup_save_report() const { return {}; }

  // What was wrong with the administrator's settings file at start-up ("" when
  // nothing); the dialog tells the parent.
  virtual std::string system_settings_problems() const { return {}; }

  // The child's activity per date; nullptr when the program keeps none.
  virtual const ActivityRecord* activity_record() const { return nullptr; }

  // The activity files that were damaged at start-up and set aside, one
  // line each ("" when none); the dialog tells the parent.
  virtual std::string activity_problems() const { return {}; }

  // Re-applies `daily_minutes` and `bedtime`.
  virtual void update_daily_limits() {}

  // Gives the child 15 more minutes today ("Add 15 minutes today").
  virtual void add_extra_minutes() {}
};

}  // namespace tovali
