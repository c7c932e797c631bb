#include "windows/ControlPanelActions.h"

namespace tovali {

PanelAfterClick CloseButtonClick(ControlPanelHost& host) {
  host.CloseProgram();
  return PanelAfterClick::Close;
}

PanelAfterClick SetupButtonClick(ControlPanelHost& host) {
  if (host.settings().value("req_pw_config") == "1" && !host.GetPassword()) {
    return PanelAfterClick::StayOpen;
  }
  host.OpenSetup();
  return PanelAfterClick::Close;
}

PanelAfterClick ok_imageClick() {
  return PanelAfterClick::Close;
}

}  // namespace tovali
