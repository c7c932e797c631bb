// The real program: the shell's own controls (the E-mail button, the tools
// picture with the control panel and its close picture).
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using ExplorerShell = GuardedBrowserTest;
using std::chrono::milliseconds;

// The sixth toolbar button, 69 pixels each.
constexpr int kEmailX = 5 * 69 + 34;
// The tools picture at the right end of the status line.
constexpr int kToolsX = 1250;
constexpr int kToolsY = 789;

TEST_F(ExplorerShell, EmailButtonOpensTheMailSiteUnderItsOwnRules) {
  write_page("/mail/inbox.html", "Inbox", "<p>inbox</p>");
  set_setting("enable_email_button", "1");
  set_setting("email_url", url("/mail/inbox.html", "mail.localhost"));
  start_with_menu(menu_page({}, {}));
  ASSERT_TRUE(wait_until_painted());
  ASSERT_TRUE(x().click_at(kEmailX, kButtonY));
  EXPECT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.path() == "/mail/inbox.html" && r.host.rfind("mail.localhost", 0) == 0;
  })) << server().log_text();
}

TEST_F(ExplorerShell, ToolsPictureOpensTheControlPanelWhoseCloseEndsTheProgram) {
  start_with_menu(menu_page({}, {}));
  ASSERT_TRUE(x().wait_for_window(kMainWindow));
  ASSERT_TRUE(wait_until_painted());
  ASSERT_TRUE(x().double_click_at(kToolsX, kToolsY));
  // The control panel carries the same caption as the main window.
  ASSERT_TRUE(wait_until([this] { return x().search(kMainWindow).size() == 2; }, kEventTimeout));
  screenshot("control-panel");
  const auto panels = x().search(kMainWindow);
  std::optional<WindowGeometry> panel;
  for (const auto& id : panels) {
    const auto g = x().geometry(id);
    if (g && g->width < 400) panel = g;
  }
  ASSERT_TRUE(panel.has_value());
  // The close picture runs along the top of the panel.
  ASSERT_TRUE(x().click_at(panel->x + panel->width / 2, panel->y + 50));
  const auto status = explorer().process().wait_exit(kEventTimeout);
  ASSERT_TRUE(status.has_value()) << "the program is still running";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describe_wait_status(*status);
  EXPECT_TRUE(std::filesystem::exists(state_dir() + "prohurl.log"));
}

// The menu page's width comment sizes the navigation frame when a link is
// followed; "hide" collapses the frame and "show" brings back that width.
TEST_F(ExplorerShell, WidthCommentHideAndShowSizeTheNavigationFrame) {
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  const std::string blue = "<style>html,body{background:#3366cc}</style>";
  start_with_menu(
      menu_page({"<!--NAVFRAMEWIDTH=250-->", url_comment("001", "AD", domain("z.localhost"))},
                {{"zoo", menu_link("001", "/kids/zoo.html", "z.localhost"), "Zoo"}},
                blue + click_script("zoo", 600)));
  ASSERT_TRUE(server().wait_for_path("/kids/zoo.html"));
  const auto blue_at = [this](int x, const std::string& name) {
    const auto pixel = XTool::read_region(screenshot(name), x, 700, 1, 1);
    const Rgb c = pixel ? pixel->at(0, 0) : Rgb{};
    return c.r == 0x33 && c.g == 0x66 && c.b == 0xcc;
  };
  // 16 pixels of strip, then the frame: 250 wide after the link.
  ASSERT_TRUE(
      wait_until([&] { return blue_at(16 + 240, "wide"); }, kEventTimeout, milliseconds(300)));
  ASSERT_TRUE(x().click_at(8, 100));  // "hide"
  ASSERT_TRUE(wait_until([&] { return !blue_at(16 + 100, "collapsed"); }, kEventTimeout,
                         milliseconds(300)));
  ASSERT_TRUE(x().click_at(8, 100));  // "show", where "hide" was
  EXPECT_TRUE(
      wait_until([&] { return blue_at(16 + 240, "restored"); }, kEventTimeout, milliseconds(300)));
}

// With `silent_mode` "1" the main frame's script dialogs are suppressed and
// the script goes on at once; otherwise the dialog waits for the child.
class ExplorerSilentMode : public ExplorerShell, public ::testing::WithParamInterface<bool> {};

TEST_P(ExplorerSilentMode, DecidesWhetherScriptDialogsShow) {
  const bool silent = GetParam();
  set_setting("silent_mode", silent ? "1" : "0");
  open_in_main_frame("/kids/alert.html",
                     "<script>window.addEventListener('load', function () {"
                     " alert('Hello'); new Image().src = '/kids/after-alert'; });</script>");
  if (silent) {
    EXPECT_TRUE(server().wait_for_path("/kids/after-alert")) << server().log_text();
  } else {
    EXPECT_TRUE(never_requested("/kids/after-alert")) << server().log_text();
    screenshot("alert-shown");
  }
}

INSTANTIATE_TEST_SUITE_P(Silent, ExplorerSilentMode, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

}  // namespace
}  // namespace tovali::testing
