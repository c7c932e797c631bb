#include "models/ControlPanelActions.h"

#include "settings/SettingsKeys.h"

namespace tovali {

PanelAfterClick close_picture_clicked(ControlPanelHost& host) {
  host.CloseProgram();
  return PanelAfterClick::Close;
}

PanelAfterClick setup_picture_clicked(ControlPanelHost& host) {
  if (!host.settings().is_on(keys::req_pw_config)) {
    // Open to the child: it must not stop her clock.
    host.OpenSetup(TimeWhileOpen::Counts);
    return PanelAfterClick::Close;
  }
  if (!host.GetPassword()) return PanelAfterClick::StayOpen;
  host.OpenSetup(TimeWhileOpen::Stops);
  return PanelAfterClick::Close;
}

PanelAfterClick ok_picture_clicked() {
  return PanelAfterClick::Close;
}

}  // namespace tovali
