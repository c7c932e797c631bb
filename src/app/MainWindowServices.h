#pragma once

#include <string>

#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace Gtk {
class Window;
}

namespace tovali {

// What the secondary windows (control panel, password prompt, setup dialog)
// may ask of the main window. The main window implements it; the secondary
// windows hold a reference for the one use they are created for.
class MainWindowServices {
public:
  virtual ~MainWindowServices() = default;

  // The settings list the whole program reads; edits take effect through the
  // calls below and last once SaveConfig has written them.
  virtual Settings& settings() = 0;

  // Writes all three settings copies. Never throws; failures are reported.
  virtual SaveReport SaveConfig() = 0;

  // Re-applies the visible settings (close button, navigation frame, e-mail
  // and print buttons, silent mode).
  virtual void UpdateControls() = 0;

  // Applies `disable_ctrl_alt_del` (does nothing on this platform).
  virtual void UpdateCtrlAltDel() = 0;

  // Reloads the parent's prohibited domains, URLs and file extensions.
  virtual void UpdateLists() = 0;

  // The only way to end the program; asks for the password when
  // `req_pw_close` is "1". Returns without effect when the prompt is cancelled.
  virtual void CloseProgram() = 0;

  // Asks for the parent password in a modal prompt: true for the right
  // password, false when cancelled.
  virtual bool GetPassword() = 0;

  // Creates the setup dialog, shows it modally and frees it when it closes.
  virtual void OpenSetup() = 0;

  // Folder of the executable (the supplied pages), ending with "/".
  virtual std::string ProgramDir() const = 0;

  // The main window, as the transient parent of modal windows.
  virtual Gtk::Window& window() = 0;
};

}  // namespace tovali
