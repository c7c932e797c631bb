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
  // Every start here is a first start: settings made from the factory
  // defaults, by the program or by tovali-settings.
  void SetUp() override {
    AccessibleBrowserTest::SetUp();
    keep_welcome_pending();
  }
  void start_first_time() { start_explorer(); }

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

  // Types `text` into the welcome's field called `name`.
  bool fill(const std::string& name, const std::string& text) {
    std::string error;
    const bool filled = m_probe->set_text(name, text, &error);
    EXPECT_TRUE(filled) << name << ": " << error;
    return filled;
  }

  // True once something called `name` shows.
  bool wait_for_name(const std::string& name) {
    return wait_until(
        [&] {
          const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
          return std::any_of(nodes.begin(), nodes.end(),
                             [&](const AccessibleNode& n) { return n.name == name && n.showing; });
        },
        kEventTimeout, milliseconds(300));
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
  // A site the parent listed with tovali-settings before the first start.
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  set_setting("num_menu_sites", "1");
  set_setting("mt-0", "Our zoo");
  set_setting("mu-0", url("/kids/zoo.html", "zoo.localhost"));
  start_first_time();
  ASSERT_TRUE(wait_for_welcome()) << "no welcome on the first start";
  ASSERT_TRUE(fill("New password", "tulip"));
  ASSERT_TRUE(fill("Type it again", "tulip"));
  ASSERT_TRUE(press("Done"));
  ASSERT_TRUE(x().wait_for_no_window(std::string("^") + kWelcome + "$"));
  EXPECT_EQ(settings().get("req_pw_close"), "1");
  EXPECT_EQ(settings().get("req_pw_config"), "1");
  EXPECT_EQ(settings().get("local_menu"), "1");
  EXPECT_EQ(settings().get("download_config"), "0");
  EXPECT_EQ(settings().get("password"), "tulip");
  EXPECT_EQ(settings().get("welcome_done"), "1");
  // The navigation frame shows the program's own menu page with the
  // parent's site, and its button opens the site.
  ASSERT_TRUE(wait_until([&] { return m_probe->follow("Our zoo"); }, kEventTimeout))
      << "the own menu does not show the parent's site";
  EXPECT_TRUE(server().wait_for_path("/kids/zoo.html")) << server().log_text();
  // The kiosk is protected: setup asks for the password.
  ASSERT_TRUE(press("Tools"));
  ASSERT_TRUE(press("Setup"));
  EXPECT_TRUE(x().wait_for_window("^Enter Password$", kEventTimeout)) << "setup opened unasked";
  ASSERT_TRUE(press("Cancel"));
  ASSERT_TRUE(stop_explorer());

  start_explorer();
  // The menu page is read once the start-up (and with it the welcome's turn)
  // is over.
  ASSERT_TRUE(wait_for_menu_read());
  const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
  EXPECT_TRUE(std::none_of(nodes.begin(), nodes.end(),
                           [](const AccessibleNode& n) { return n.name == kWelcome; }));
}

// "The menu of a home site": the welcome asks the site for its
// configuration once, says that it answered, and its menu opens.
TEST_F(ExplorerWelcome, DoneWithAHomeSiteAsksItOnceAndSaysItAnswered) {
  const std::string config = std::string("/") + kSitePath + "teconfig.dat";
  write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
  write_site_file(std::string(kSitePath) + "teindex.php3", menu_page({}, {}));
  start_first_time();
  ASSERT_TRUE(wait_for_welcome()) << "no welcome on the first start";
  ASSERT_TRUE(fill("New password", "tulip"));
  ASSERT_TRUE(fill("Type it again", "tulip"));
  ASSERT_TRUE(fill("The menu of a home site", url("")));
  std::string error;
  ASSERT_TRUE(m_probe->choose("The menu of a home site", &error)) << error;
  ASSERT_TRUE(press("Done"));
  ASSERT_TRUE(server().wait_for_path(config)) << server().log_text();
  EXPECT_TRUE(
      wait_for_name("The home site answered: its settings are in use and its menu opens now."))
      << "the grown-up was not told";
  ASSERT_TRUE(press("OK"));
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3"))
      << server().log_text();
  EXPECT_EQ(settings().get("site-0"), url(""));
  EXPECT_EQ(settings().get("local_menu"), "0");
  EXPECT_EQ(settings().get("download_config"), "1");
  EXPECT_TRUE(wait_for_menu_read());
  const auto requests = server().requests();
  EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                          [&](const ServedRequest& r) { return r.path() == config; }),
            1)
      << server().log_text();
}

}  // namespace
}  // namespace tovali::testing
