#include <gtest/gtest.h>

#include <optional>
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

// The daily time stops for the setup dialog only after the right password.
TEST(ControlPanelActions, SetupAsksForThePasswordOnlyWhenRequired) {
  constexpr auto Stops = TimeWhileOpen::Stops;
  constexpr auto Counts = TimeWhileOpen::Counts;
  struct Case {
    const char* req_pw_config;
    bool answer;
    std::vector<std::string> calls;
    PanelAfterClick after;
    std::optional<TimeWhileOpen> setup_time;
  };
  const Case cases[] = {
      {"1", true, {"GetPassword", "OpenSetup"}, PanelAfterClick::Close, Stops},
      {"1", false, {"GetPassword"}, PanelAfterClick::StayOpen, std::nullopt},
      {"0", false, {"OpenSetup"}, PanelAfterClick::Close, Counts},
      {nullptr, false, {"OpenSetup"}, PanelAfterClick::Close, Counts},
      {"yes", false, {"OpenSetup"}, PanelAfterClick::Close, Counts},
  };
  for (const auto& c : cases) {
    FakePanelHost host;
    if (c.req_pw_config) host.m_settings.set_value("req_pw_config", c.req_pw_config);
    host.password_answer = c.answer;
    EXPECT_EQ(setup_picture_clicked(host), c.after);
    EXPECT_EQ(host.calls, c.calls);
    EXPECT_EQ(host.setup_time, c.setup_time) << (c.req_pw_config ? c.req_pw_config : "unset");
  }
}

}  // namespace
}  // namespace tovali
