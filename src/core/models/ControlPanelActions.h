#pragma once

#include "models/ControlPanelHost.h"

namespace tovali {

// What the control panel does after one of its pictures was clicked.
enum class PanelAfterClick { Close, StayOpen };

// The close picture: CloseProgram (which asks for the password when
// `req_pw_close` is "1"); the panel closes whether or not the program does.
PanelAfterClick close_picture_clicked(ControlPanelHost& host);

// The setup picture: with `req_pw_config` "1" the password is asked first
// and a cancelled prompt leaves the panel open; otherwise, or after the right
// password, the setup dialog is shown and the panel closes after it. The
// daily time stops while the setup dialog is open only after the right
// password; the panel itself and the prompt never stop it.
PanelAfterClick setup_picture_clicked(ControlPanelHost& host);

// The OK picture: the panel closes.
PanelAfterClick ok_picture_clicked();

}  // namespace tovali
