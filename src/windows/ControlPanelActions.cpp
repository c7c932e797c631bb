#include "windows/ControlPanelActions.h"

namespace tovali {

PanelAfterClick close_picture_clicked(ControlPanelHost& host) {
  host.CloseProgram();
  return PanelAfterClick::Close;
}

PanelAfterClick setup_picture_clicked(ControlPanelHost& host) {
  if (host.settings().value("req_pw_config") == "1" && !host.GetPassword()) {
    return PanelAfterClick::StayOpen;
  }
  host.OpenSetup();
  return PanelAfterClick::Close;
}

PanelAfterClick ok_picture_clicked() {
  return PanelAfterClick::Close;
}

}  // namespace tovali
