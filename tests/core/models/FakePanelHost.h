#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/ControlPanelHost.h"

namespace tovali {

// Records what the control panel asks of the main window; the password
// prompt answers `password_answer`.
class FakePanelHost : public ControlPanelHost {
 public:
  const Settings& settings() const override { return m_settings; }
  void CloseProgram() override { calls.push_back("CloseProgram"); }
  bool GetPassword() override {
    calls.push_back("GetPassword");
    return password_answer;
  }
  void OpenSetup(TimeWhileOpen time) override {
    calls.push_back("OpenSetup");
    setup_time = time;
  }

  Settings m_settings;
  bool password_answer = true;
  std::vector<std::string> calls;
  std::optional<TimeWhileOpen> setup_time;  // of the last OpenSetup
};

}  // namespace tovali
