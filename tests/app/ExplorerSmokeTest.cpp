// One short walk through the real program that touches its main paths: the
// start-up chain and the menu, a refused click with its message, the control
// panel and setup opened and closed over AT-SPI, and a clean exit on SIGTERM.
// scripts/sanitize-program-test.sh runs it with the program built under
// AddressSanitizer and UndefinedBehaviorSanitizer.
#include <algorithm>
#include <string>
#include <vector>

#include "AccessibleBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

class ExplorerSmoke : public AccessibleBrowserTest {
 protected:
  bool showing_button(const std::string& name) {
    return wait_until(
        [&] {
          const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
          return std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode& n) {
            return n.role == "push button" && n.name == name && n.showing;
          });
        },
        kEventTimeout, milliseconds(200));
  }

  ::testing::AssertionResult press(const std::string& name) {
    if (!showing_button(name)) return ::testing::AssertionFailure() << name << " not shown";
    std::string error;
    if (!m_probe->press(name, &error)) return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
  }
};

TEST_F(ExplorerSmoke, MenuRefusalSetupAndExit) {
  const std::string refused = start_with_refused_then_admitted_click();
  EXPECT_TRUE(never_requested("/kids/shop.html", "/kids/zoo.html")) << server().log_text();

  ASSERT_TRUE(press("Tools"));
  ASSERT_TRUE(press("Setup"));
  ASSERT_TRUE(x().wait_for_window("^Tovali Explorer Setup$", kEventTimeout).has_value())
      << "setup did not open";
  ASSERT_TRUE(press("Cancel"));
  EXPECT_TRUE(
      wait_until([this] { return x().search("^Tovali Explorer Setup$").empty(); }, kEventTimeout))
      << "setup stayed open";

  ASSERT_TRUE(terminates_cleanly());
  EXPECT_EQ(state_file("prohurl.log"), refused + "\r\n");
}

}  // namespace
}  // namespace tovali::testing
