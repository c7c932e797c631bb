// The real program as assistive technologies see it over AT-SPI: every
// control a person can activate is a named button or menu item, and the
// pictures that work as buttons can be pressed through their action.
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AccessibleBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

class ExplorerAccessibility : public AccessibleBrowserTest {
 protected:
  // Starts the program and waits until its status line is on the bus.
  std::vector<AccessibleNode> start_and_read_tree() {
    start_with_menu(menu_page({}, {}));
    std::vector<AccessibleNode> nodes;
    wait_until(
        [&] {
          nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
          return showing_button(nodes, "Tools");
        },
        kStartTimeout, std::chrono::milliseconds(300));
    return nodes;
  }

  static bool showing_button(const std::vector<AccessibleNode>& nodes, const std::string& name) {
    return std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode& n) {
      return n.role == "push button" && n.name == name && n.showing && !n.actions.empty();
    });
  }

  static std::string describe(const std::vector<AccessibleNode>& nodes) {
    std::string text;
    for (const auto& n : nodes)
      text += std::string(static_cast<std::size_t>(n.depth) * 2, ' ') + n.role + " '" + n.name +
              "'" + (n.showing ? "" : " (hidden)") + "\n";
    return text;
  }
};

TEST_F(ExplorerAccessibility, EveryControlIsANamedButtonOrMenuItem) {
  const auto nodes = start_and_read_tree();
  ASSERT_TRUE(showing_button(nodes, "Tools")) << describe(nodes);
  const std::set<std::string> activatable = {"push button", "toggle button", "menu item"};
  std::set<std::string> names;
  for (const auto& node : nodes) {
    if (activatable.count(node.role) == 0) continue;
    EXPECT_FALSE(node.name.empty()) << "a nameless " << node.role << " in\n" << describe(nodes);
    EXPECT_FALSE(node.actions.empty()) << node.role << " '" << node.name << "' has no action";
    names.insert(node.name);
  }
  // The toolbar, the picture buttons of the main window and the About panel,
  // the strip that hides and shows the menu, the Help menu.
  for (const std::string name :
       {"Home", "Back", "Forward", "Stop", "Print", "E-mail", "Help", "Tools", "Hide", "Show",
        "About Tovali Explorer", "Hide the message", "Tovali Explorer Help", "Help From The Web"})
    EXPECT_EQ(names.count(name), 1u) << name << " is missing from\n" << describe(nodes);
  // No picture shows up as an anonymous drawing that does something.
  for (const auto& node : nodes) {
    if (node.role == "drawing area") {
      EXPECT_TRUE(node.actions.empty()) << describe(nodes);
    }
  }
}

TEST_F(ExplorerAccessibility, PictureButtonsWorkThroughTheirAction) {
  const auto nodes = start_and_read_tree();
  ASSERT_TRUE(showing_button(nodes, "Tools")) << describe(nodes);
  std::string error;
  ASSERT_TRUE(m_probe->press("Tools", &error)) << error;
  // The control panel carries the same caption as the main window.
  ASSERT_TRUE(wait_until([this] { return x().search(kMainWindow).size() == 2; }, kEventTimeout))
      << "the tools picture's action opened no control panel";
  std::vector<AccessibleNode> panel;
  ASSERT_TRUE(wait_until(
      [&] {
        panel = m_probe->tree().value_or(std::vector<AccessibleNode>{});
        return showing_button(panel, "Setup") && showing_button(panel, "OK");
      },
      kEventTimeout))
      << describe(panel);
  screenshot("control-panel");
  // Its "OK" star-burst goes back to the program.
  ASSERT_TRUE(m_probe->press("OK", &error)) << error;
  EXPECT_TRUE(wait_until([this] { return x().search(kMainWindow).size() == 1; }, kEventTimeout))
      << "the OK picture's action left the control panel open";
  EXPECT_TRUE(explorer().process().running());
}

}  // namespace
}  // namespace tovali::testing
