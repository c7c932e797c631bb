// The real program's first start over AT-SPI: the grown-up's welcome covers
// the window until it is completed; "Later" leaves the factory settings and
// brings it back at the next start, "Done" writes the parent's answers.
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "AccessibleBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

constexpr const char* kWelcome = "Welcome, grown-up";

class ExplorerWelcome : public AccessibleBrowserTest {
 protected:
  // Starts the program on settings it makes itself from the factory
  // defaults.
  void start_first_time() {
    keep_welcome_pending();
    start_explorer();
  }

  // True once the welcome and its "Done" and "Later" are on the bus.
  bool wait_for_welcome() {
    return wait_until(
        [&] {
          const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
          const auto named = [&](const std::string& name) {
            return std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode& n) {
              return n.name == name && n.showing;
            });
          };
          return named(kWelcome) && named("Done") && named("Later");
        },
        kStartTimeout, milliseconds(300));
  }

  bool press(const std::string& button) {
    std::string error;
    const bool pressed = m_probe->press(button, &error);
    EXPECT_TRUE(pressed) << button << ": " << error;
    return pressed;
  }

  bool stop_explorer() { return explorer().signal_and_wait(SIGTERM); }
};

TEST_F(ExplorerWelcome, LaterLeavesTheFactorySettingsAndTheWelcomeReturns) {
  start_first_time();
  ASSERT_TRUE(wait_for_welcome()) << "no welcome on the first start";
  ASSERT_TRUE(x().wait_for_window(std::string("^") + kWelcome + "$"));
  screenshot("welcome");
  ASSERT_TRUE(press("Later"));
  ASSERT_TRUE(x().wait_for_no_window(std::string("^") + kWelcome + "$"));
  EXPECT_EQ(settings().get("welcome_done"), "0");
  EXPECT_EQ(settings().get("req_pw_close"), "0");
  EXPECT_EQ(settings().get("password"), "marigold");
  EXPECT_FALSE(settings().get("local_menu").has_value());
  ASSERT_TRUE(stop_explorer());

  start_explorer();
  EXPECT_TRUE(wait_for_welcome()) << "the welcome did not come back";
}

TEST_F(ExplorerWelcome, DoneWithOwnSitesAsksForThePasswordAndShowsTheOwnMenu) {
  start_first_time();
  ASSERT_TRUE(wait_for_welcome()) << "no welcome on the first start";
  const auto window = x().wait_for_window(std::string("^") + kWelcome + "$");
  ASSERT_TRUE(window);
  const auto at = x().geometry(*window);
  ASSERT_TRUE(at);
  // The keyboard follows the pointer on a display without a window manager;
  // the first field, "New password", has the focus.
  x().move_mouse(at->x + at->width / 2, at->y + at->height / 2);
  x().type_text("tulip");
  x().key("Tab");
  x().type_text("tulip");
  ASSERT_TRUE(press("Done"));
  ASSERT_TRUE(x().wait_for_no_window(std::string("^") + kWelcome + "$"));
  EXPECT_EQ(settings().get("req_pw_close"), "1");
  EXPECT_EQ(settings().get("req_pw_config"), "1");
  EXPECT_EQ(settings().get("local_menu"), "1");
  EXPECT_EQ(settings().get("download_config"), "0");
  EXPECT_EQ(settings().get("password"), "tulip");
  EXPECT_EQ(settings().get("welcome_done"), "1");
  // The navigation frame shows the program's own menu page.
  EXPECT_TRUE(
      wait_until([&] { return std::filesystem::exists(state_dir() + "menu.html"); }, kEventTimeout))
      << "no menu page written";
  ASSERT_TRUE(stop_explorer());

  start_explorer();
  // The menu page is read once the start-up (and with it the welcome's turn)
  // is over.
  ASSERT_TRUE(wait_for_menu_read());
  const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
  EXPECT_TRUE(std::none_of(nodes.begin(), nodes.end(),
                           [](const AccessibleNode& n) { return n.name == kWelcome; }));
}

}  // namespace
}  // namespace tovali::testing
