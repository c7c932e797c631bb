// The real program: the shell's own controls (the E-mail button, the tools
// picture with the control panel and its close picture).
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

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

// The progress bar at the left end of the status line (its middle row).
constexpr int kProgressRowY = 790;

bool is_progress_blue(Rgb c) {
  return c.b >= 100 && c.r < 60 && c.g < 60;
}
bool is_empty_trough(Rgb c) {
  return c.r == 255 && c.g == 255 && c.b == 255;
}

// The bar is 85 pixels wide, fills while the main frame loads and empties
// when the load has ended.
TEST_F(ExplorerShell, ProgressBarFollowsTheLoadAndEmptiesAfterIt) {
  write_site_file("kids/slow.png", "not really a picture");
  write_site_file("kids/slow.png.headers", "Delay-Ms: 10000\r\n");
  open_in_main_frame("/kids/slow.html", "<p>slow</p><img src='/kids/slow.png'>");
  EXPECT_TRUE(x().wait_for_screen(0, kProgressRowY, 200, 1, [](const Image& row) {
    return row.count(is_progress_blue) > 5;
  })) << "the bar did not fill while the page loaded";
  ASSERT_TRUE(server().wait_for_path("/kids/slow.png")) << server().log_text();
  std::optional<Image> after;
  EXPECT_TRUE(x().wait_for_screen(0, kProgressRowY, 200, 1, [&](const Image& row) {
    after = row;
    return row.count(is_progress_blue) == 0;
  })) << "the bar stayed full after the load";
  screenshot("after-load");
  ASSERT_TRUE(after.has_value());
  // Inside its one-pixel border the empty trough is 83 pixels wide.
  const int trough = after->count(is_empty_trough);
  EXPECT_GE(trough, 80);
  EXPECT_LE(trough, 85);
}

// Navigations that load nothing: a refused menu link, then an admitted one
// whose server answers with a redirect to a refused site. Each time the menu
// page asks for a marker well after the click, when the engine has long
// reported its progress; the bar must still be empty then.
TEST_F(ExplorerShell, ProgressBarStaysEmptyAfterARefusedNavigation) {
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  write_site_file("kids/moved.html", "moved");
  write_site_file("kids/moved.html.headers",
                  "Status: 302\r\nLocation: " + url("/kids/shop.html", "shop.localhost") + "\r\n");
  const auto marker = [](const char* path, int delay_ms) -> std::string {
    return "<script>window.addEventListener('load', function () { setTimeout(function () {"
           " new Image().src = '" +
           std::string(path) + "'; }, " + std::to_string(delay_ms) + "); });</script>";
  };
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                {{"shop", menu_link("001", "/kids/shop.html", "shop.localhost"), "Shop"},
                 {"moved", menu_link("001", "/kids/moved.html", "zoo.localhost"), "Moved"}},
                click_script("shop", 600) + marker("/refused-click-handled", 2600) +
                    click_script("moved", 4600) + marker("/refused-redirect-handled", 6600)));
  struct Step {
    const char* marker;
    const char* name;
  };
  for (const Step step : {Step{"/refused-click-handled", "refused-link"},
                          Step{"/refused-redirect-handled", "refused-redirect"}}) {
    ASSERT_TRUE(server().wait_for_path(step.marker)) << server().log_text();
    const std::optional<Image> row = x().grab(0, kProgressRowY, 200, 1);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->count(is_progress_blue), 0) << "the bar filled after the " << step.name;
    screenshot(step.name);
  }
  EXPECT_TRUE(server().was_requested("/kids/moved.html")) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/shop.html")) << server().log_text();
}

bool is_dark(Rgb c) {
  return c.r < 120 && c.g < 120 && c.b < 120;
}
bool is_coloured(Rgb c) {
  return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) > 40;
}

// Home is disabled until the configuration has been downloaded: its
// picture is then etched in mid grey on the silver bar, with nothing dark or
// coloured on it; enabled, it shows its dark outline again.
TEST_F(ExplorerShell, DisabledToolbarPictureIsClearlyGreyed) {
  const std::string config = std::string(kSitePath) + "teconfig.dat";
  write_site_file(config + ".headers", "Delay-Ms: 10000\r\n");
  write_site_file(config, "program-version=200\r\n");
  write_site_file(std::string(kSitePath) + "teindex.php3", menu_page({}, {}));
  point_sites_at_server();
  start_explorer();
  // The picture of Home, 24 by 24 in the middle of its 69 by 31 button.
  const int x0 = 69 / 2 - 12, y0 = 31 / 2 - 12;
  EXPECT_TRUE(x().wait_for_screen(x0, y0, 24, 24, [](const Image& icon) {
    const int etched = icon.count([](Rgb c) { return c.r < 140 && c.g < 140 && c.b < 140; });
    return etched > 30 && icon.count(is_dark) == 0 && icon.count(is_coloured) == 0;
  })) << "Home was not greyed during the configuration download";
  screenshot("home-disabled");
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3", kStartTimeout))
      << server().log_text();
  EXPECT_TRUE(x().wait_for_screen(x0, y0, 24, 24, [](const Image& icon) {
    return icon.count(is_dark) > 20;
  })) << "Home did not look enabled after the download";
  screenshot("home-enabled");
}

// The tools picture in the status line shows hammer, screwdriver and wrench:
// a red screwdriver handle, a wooden hammer handle, steel.
TEST_F(ExplorerShell, ToolsPictureShowsHammerScrewdriverAndWrench) {
  start_with_menu(menu_page({}, {}));
  EXPECT_TRUE(x().wait_for_screen(kToolsX - 9, kToolsY - 9, 18, 18, [](const Image& tools) {
    const int red = tools.count([](Rgb c) { return c.r > 170 && c.g < 80 && c.b < 80; });
    const int wood = tools.count([](Rgb c) {
      return c.r > 120 && c.r < 200 && c.g > 70 && c.g < 140 && c.b < 90 && c.r - c.b > 60;
    });
    const int steel =
        tools.count([](Rgb c) { return c.b >= c.r && c.b - c.r < 40 && c.r > 100 && c.r < 190; });
    return red > 4 && wood > 4 && steel > 8;
  })) << "no hammer, screwdriver and wrench";
  screenshot("tools");
}

// The about panel (double-click on the logo): every dark pixel of its
// texts lies on the star, none on the white around it.
TEST_F(ExplorerShell, AboutPanelTextsStayInsideTheStar) {
  open_in_main_frame("/kids/plain.html", "<p></p>");
  constexpr int kLeft = 1280 / 2 - 353 / 2, kTop = 800 / 2 - 218 / 2;
  // The start-up message has gone: the empty white page shows there.
  ASSERT_TRUE(x().wait_for_screen(kLeft, kTop, 353, 218, [](const Image& image) {
    return image.count([](Rgb c) { return c.r == 255 && c.g == 255 && c.b == 255; }) ==
           image.width * image.height;
  }));
  ASSERT_TRUE(x().double_click_at(1280 - 54, 22));
  std::optional<Image> panel;
  ASSERT_TRUE(x().wait_for_screen(kLeft, kTop, 353, 218, [&](const Image& image) {
    panel = image;
    return image.count([](Rgb c) { return c.r > 240 && c.g > 180 && c.b < 120; }) > 2000;
  })) << "no about panel";
  screenshot("about");
  int outside = 0;
  for (int y = 2; y < panel->height - 2; ++y)
    for (int x = 2; x < panel->width - 2; ++x) {
      if (!is_dark(panel->at(x, y))) continue;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
          const Rgb n = panel->at(x + dx, y + dy);
          if (n.r == 255 && n.g == 255 && n.b == 255) ++outside;
        }
    }
  EXPECT_EQ(outside, 0) << "text on the white around the star";
}

// The tools picture wants a double click: a single click on it opens no
// control panel, as the double click on the logo after it shows (its about
// panel comes up in the main window).
TEST_F(ExplorerShell, SingleClickOnTheToolsPictureOpensNothing) {
  open_in_main_frame("/kids/plain.html", "<p></p>");
  constexpr int kLeft = 1280 / 2 - 353 / 2, kTop = 800 / 2 - 218 / 2;
  ASSERT_TRUE(x().wait_for_screen(kLeft, kTop, 353, 218, [](const Image& image) {
    return image.count([](Rgb c) { return c.r == 255 && c.g == 255 && c.b == 255; }) ==
           image.width * image.height;
  }));
  ASSERT_TRUE(x().click_at(kToolsX, kToolsY));
  ASSERT_TRUE(x().double_click_at(1280 - 54, 22));
  ASSERT_TRUE(x().wait_for_screen(kLeft, kTop, 353, 218, [&](const Image& image) {
    return image.count([](Rgb c) { return c.r > 240 && c.g > 180 && c.b < 120; }) > 2000;
  })) << "no about panel";
  EXPECT_EQ(x().search(kMainWindow).size(), 1u) << "a single click opened the control panel";
  EXPECT_TRUE(explorer().process().running());
}

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

// With `hide_navframe` "1" the navigation frame and the strip beside it are
// gone; the splitter stays at the left edge, and dragging it uncovers nothing.
TEST_F(ExplorerShell, HiddenNavigationFrameLeavesTheSplitter) {
  set_setting("hide_navframe", "1");
  open_in_main_frame("/kids/blue.html", "<style>html,body{background:#3366cc}</style>");
  constexpr int kRow = 700;
  const auto first_blue_column = [this](const std::string& name) {
    const auto row = XTool::read_region(screenshot(name), 0, kRow, 400, 1);
    if (!row) return -1;
    for (int x = 0; x < row->width; ++x) {
      const Rgb c = row->at(x, 0);
      if (c.r == 0x33 && c.g == 0x66 && c.b == 0xcc) return x;
    }
    return -1;
  };
  int first = -1;
  ASSERT_TRUE(wait_until(
      [&] {
        first = first_blue_column("hidden");
        return first >= 0;
      },
      kEventTimeout, milliseconds(300)))
      << "the page never showed";
  // The splitter's few pixels, then the page.
  EXPECT_GE(first, 3);
  EXPECT_LE(first, 12);

  ASSERT_TRUE(x().drag(first / 2, kRow, 300, kRow));
  ASSERT_TRUE(home_round_trip());
  EXPECT_EQ(first_blue_column("after-drag"), first);
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
    // The dialog dims the whole white page grey; the script waits behind it.
    EXPECT_TRUE(x().wait_for_screen(1100, 600, 100, 100, [](const Image& image) {
      return image.width > 0 && image.count([](Rgb p) { return p.r > 200 || p.r < 60; }) == 0;
    })) << "no dialog";
    EXPECT_FALSE(server().was_requested("/kids/after-alert")) << server().log_text();
    screenshot("alert-shown");
  }
}

INSTANTIATE_TEST_SUITE_P(Silent, ExplorerSilentMode, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

}  // namespace
}  // namespace tovali::testing
