#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePanelHost.h"
#include "models/ControlPanelActions.h"

namespace tovali {
namespace {

TEST(ControlPanelActions, CloseAlwaysClosesThePanel) {
  FakePanelHost host;
  EXPECT_EQ(close_picture_clicked(host), PanelAfterClick::Close);
  EXPECT_EQ(host.calls, std::vector<std::string>{"CloseProgram"});
}

TEST(ControlPanelActions, OkClosesThePanel) {
  EXPECT_EQ(ok_picture_clicked(), PanelAfterClick::Close);
}

TEST(ControlPanelActions, SetupAsksForThePasswordOnlyWhenRequired) {
  struct Case {
    const char* req_pw_config;
    bool answer;
    std::vector<std::string> calls;
    PanelAfterClick after;
  };
  const Case cases[] = {
      {"1", true, {"GetPassword", "OpenSetup"}, PanelAfterClick::Close},
      {"1", false, {"GetPassword"}, PanelAfterClick::StayOpen},
      {"0", false, {"OpenSetup"}, PanelAfterClick::Close},
      {nullptr, false, {"OpenSetup"}, PanelAfterClick::Close},
      {"yes", false, {"OpenSetup"}, PanelAfterClick::Close},
  };
  for (const auto& c : cases) {
    FakePanelHost host;
    if (c.req_pw_config) host.m_settings.set_value("req_pw_config", c.req_pw_config);
    host.password_answer = c.answer;
    EXPECT_EQ(setup_picture_clicked(host), c.after);
    EXPECT_EQ(host.calls, c.calls);
  }
}

}  // namespace
}  // namespace tovali
