#pragma once

#include "settings/Settings.h"

namespace tovali {

// Whether the child's daily time counts while a parent's window is open: it
// stops only for what the right password opened.
enum class TimeWhileOpen { Counts, Stops };

// What the control panel needs of the main window.
class ControlPanelHost {
 public:
  virtual ~ControlPanelHost() = default;

  virtual const Settings& settings() const = 0;

  // The close sequence: asks for the password when `req_pw_close` is "1";
  // when the close goes ahead the program ends.
  virtual void CloseProgram() = 0;

  // Shows the password prompt until the right password is typed (true) or
  // the prompt is cancelled (false).
  virtual bool GetPassword() = 0;

  // Shows the setup dialog modally and returns when it has closed; `time`
  // says whether the daily time counts meanwhile.
  virtual void OpenSetup(TimeWhileOpen time) = 0;
};

}  // namespace tovali
