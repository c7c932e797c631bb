#include "models/ControlPanelActions.h"

#include "settings/SettingsKeys.h"

namespace tovali {

PanelAfterClick close_picture_clicked(ControlPanelHost& host) {
  host.CloseProgram();
  return PanelAfterClick::Close;
}

PanelAfterClick setup_picture_clicked(ControlPanelHost& host) {
  if (host.settings().is_on(keys::req_pw_config) && !host.GetPassword()) {
    return PanelAfterClick::StayOpen;
  }
  host.OpenSetup();
  return PanelAfterClick::Close;
}

PanelAfterClick ok_picture_clicked() {
  return PanelAfterClick::Close;
}

}  // namespace tovali
