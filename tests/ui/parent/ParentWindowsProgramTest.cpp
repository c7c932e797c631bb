// The parent's windows in the real program: the control panel opened from
// the tools picture, the password prompt, the setup dialog and its apply,
// driven with xdotool and checked through the settings copies (read with
// tovali-settings), the files the program writes and screenshots.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "AppTest.h"
#include "SitePages.h"
#include "crypto/PasswordHash.h"
#include "settings/ConfigStore.h"

namespace tovali::testing {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool dark(Rgb p) {
  return p.r < 100 && p.g < 100 && p.b < 100;
}
bool navy(Rgb p) {
  return p.r < 40 && p.g < 40 && p.b > 80 && p.b < 160;
}
// The theme's accent blue: the line beside the selected tab.
bool accent(Rgb p) {
  return p.r < 90 && p.g > 100 && p.g < 170 && p.b > 190;
}

// Where things are inside the parent's windows (offsets from the window's
// top left corner).
struct Point {
  int x, y;
};
// Control panel: the three star-bursts.
constexpr Point kClosePicture{94, 54};
constexpr Point kSetupPicture{153, 162};
constexpr Point kOkPicture{94, 271};
// Password prompt.
constexpr Point kPromptCancel{74, 159};
// Setup dialog (Browser tab hidden): its size, the tabs in their column at
// the left, the bottom bar and controls.
constexpr int kSetupWidth = 840;
constexpr int kSetupHeight = 520;
constexpr Point kGeneralTab{63, 32};
constexpr Point kPasswordTab{63, 70};
constexpr Point kButtonsTab{63, 108};
constexpr Point kSiteAccessTab{63, 146};
constexpr Point kRefusedTab{63, 222};
constexpr Point kOkButton{34, 495};
constexpr Point kCancelButton{106, 495};
constexpr Point kHelpButton{183, 495};
constexpr Point kPreventSwitchBox{140, 82};
constexpr Point kHideNavframeBox{140, 186};
constexpr Point kSetPasswordButton{442, 246};
constexpr Point kDomainsMemo{274, 408};
constexpr Point kFirstRefusedRow{409, 93};
constexpr Point kAddToMoreSites{748, 448};
// Where the selected tab's accent line runs (window columns), beside the
// tab from 15 rows above its middle to 14 below.
constexpr int kTabMarkLeft = 114;
// The More Sites grid's cells: rows 23 high from y 88, columns from x 129
// (220 wide) and x 349.
constexpr int kGridLeft = 129;
constexpr int kGridColumn0Width = 220;
constexpr int kGridRow0Top = 88;
constexpr int kGridRowHeight = 23;
// Top left corner of the prohibited domains memo (inside its frame).
constexpr int kMemoLeft = 127;
constexpr int kMemoTop = 354;
// A text field: a point inside it, and its left edge and width.
struct Field {
  Point at;
  int left, width;
};
constexpr Field kLoadMainUrl{{429, 264}, 137, 675};
constexpr Field kHomeButtonUrl{{429, 98}, 137, 675};
constexpr Field kEmailUrl{{429, 240}, 137, 675};
constexpr Field kCurrentPassword{{364, 132}, 282, 164};
constexpr Field kNewPassword{{364, 170}, 282, 164};
constexpr Field kNewPasswordAgain{{364, 208}, 282, 164};

class ParentWindowsTest : public ExplorerTest {
 protected:
  // Factory settings with the test server as the home site, no foreground
  // pull (unless a test wants it).
  void prepare_settings() {
    point_sites_at_server();
    write_site_file("tovali/v200/group1/teconfig.dat", "program-version=200\r\n");
    set_setting("prevent_switch", "0");
  }

  void start() {
    start_explorer();
    main_window = wait_for_main_window();
    ASSERT_FALSE(main_window.empty());
    const auto g = x().geometry(main_window);
    ASSERT_TRUE(g.has_value());
    main_geometry = *g;
    // The tools picture at the end of the status line is drawn: from then on
    // the window takes clicks (the first paint comes late on a busy machine).
    ASSERT_TRUE(x().wait_for_screen(
        g->x + g->width - 42, g->y + g->height - 24, 24, 24,
        [](const Image& image) { return image.count([](Rgb p) { return p.r < 200; }) > 50; }))
        << "the main window was not drawn";
  }

  // The visible windows titled exactly `title` whose size is width x height.
  // The mapped windows now that were not among `before` (windows that went
  // away meanwhile, such as a hover hint, do not count).
  std::vector<std::string> windows_added_since(const std::vector<std::string>& before) {
    std::vector<std::string> added;
    for (const auto& w : x().search(".*"))
      if (std::find(before.begin(), before.end(), w) == before.end()) added.push_back(w);
    return added;
  }

  std::vector<std::string> windows_sized(const std::string& title, int width, int height) {
    std::vector<std::string> found;
    for (const auto& w : x().search("^" + title + "$")) {
      const auto g = x().geometry(w);
      if (g && g->width == width && g->height == height) found.push_back(w);
    }
    return found;
  }

  std::optional<WindowGeometry> wait_for_sized(const std::string& title, int width, int height) {
    std::optional<WindowGeometry> geometry;
    wait_until(
        [&] {
          const auto found = windows_sized(title, width, height);
          if (found.empty()) return false;
          geometry = x().geometry(found.front());
          return geometry.has_value();
        },
        kEventTimeout);
    return geometry;
  }

  bool wait_gone(const std::string& title, int width, int height) {
    return wait_until([&] { return windows_sized(title, width, height).empty(); }, kEventTimeout);
  }

  // A message box: a "Tovali Explorer" window that is neither the main
  // window nor the control panel.
  std::vector<std::string> message_boxes() {
    std::vector<std::string> found;
    for (const auto& w : x().search("^Tovali Explorer$")) {
      if (w == main_window) continue;
      const auto g = x().geometry(w);
      if (g && !(g->width == 247 && g->height == 325)) found.push_back(w);
    }
    return found;
  }

  std::optional<WindowGeometry> wait_for_message_box() {
    std::optional<WindowGeometry> geometry;
    wait_until(
        [&] {
          const auto found = message_boxes();
          if (found.empty()) return false;
          geometry = x().geometry(found.front());
          return geometry.has_value();
        },
        kEventTimeout);
    return geometry;
  }

  // Presses OK in the message box that is up (its button has the focus).
  bool dismiss_message_box() {
    const auto box = wait_for_message_box();
    if (!box) return false;
    x().move_mouse(box->x + box->width / 2, box->y + box->height / 2);
    x().key("Return");
    return wait_until([&] { return message_boxes().empty(); }, kEventTimeout);
  }

  void click(const WindowGeometry& w, Point p) { x().click_at(w.x + p.x, w.y + p.y); }

  // Dark pixels (text, a caret) in a rectangle of window `w`, waited for.
  bool wait_for_ink(const WindowGeometry& w, int left, int top, int width, int height,
                    const std::function<bool(int)>& enough) {
    return x().wait_for_screen(w.x + left, w.y + top, width, height,
                               [&](const Image& image) { return enough(image.count(dark)); });
  }

  // Clicks the setup dialog's tab at `tab` and waits until it is the
  // selected one (the accent line beside it), so the page beside it is laid
  // out before the next click lands on it.
  bool click_tab(const WindowGeometry& s, Point tab) {
    click(s, tab);
    return wait_for_selected_tab(s, tab);
  }

  bool wait_for_selected_tab(const WindowGeometry& s, Point tab) {
    return x().wait_for_screen(s.x + kTabMarkLeft, s.y + tab.y - 5, 3, 10,
                               [](const Image& image) { return image.count(accent) == 30; });
  }

  // The text caret (and nothing else) in the More Sites grid's cell: its
  // editor is open and has the keyboard focus, and the cell is empty.
  bool wait_for_cell_editor(const WindowGeometry& s, int row, int column) {
    const int left = kGridLeft + column * kGridColumn0Width;
    const int top = kGridRow0Top + row * kGridRowHeight;
    return wait_for_ink(s, left + 1, top + 2, 40, kGridRowHeight - 4,
                        [](int ink) { return ink >= 8 && ink <= 40; });
  }

  // Clicks the empty grid cell and waits for its editor.
  bool edit_cell(const WindowGeometry& s, int row, int column) {
    click(s, {kGridLeft + column * kGridColumn0Width + 100,
              kGridRow0Top + row * kGridRowHeight + kGridRowHeight / 2});
    return wait_for_cell_editor(s, row, column);
  }

  // Tab out of a grid cell editor into the next (empty) cell's.
  bool tab_to_cell(const WindowGeometry& s, int row, int column) {
    x().key("Tab");
    return wait_for_cell_editor(s, row, column);
  }

  // Empties the text field `f` and types `text` into it; waits until the
  // field shows the caret alone (focused and emptied), then the typed text.
  bool retype(const WindowGeometry& w, const Field& f, const std::string& text) {
    click(w, f.at);
    x().key("ctrl+a");
    x().key("BackSpace");
    const int top = f.at.y - 8;
    if (!wait_for_ink(w, f.left, top, f.width, 16, [](int ink) { return ink >= 8 && ink <= 40; }))
      return false;
    if (text.empty()) return true;
    x().type_text(text);
    return wait_for_ink(w, f.left, top, f.width, 16, [](int ink) { return ink > 40; });
  }

  // Double-clicks the tools picture; the control panel's geometry.
  // (Once its pictures are painted: a click is not taken before that.)
  std::optional<WindowGeometry> open_control_panel() {
    const auto& m = main_geometry;
    x().double_click_at(m.x + m.width - 29, m.y + m.height - 11);
    const auto panel = wait_for_sized("Tovali Explorer", 247, 325);
    if (!panel || !x().wait_for_screen(panel->x, panel->y, 247, 325,
                                       [](const Image& image) { return image.count(navy) > 8000; }))
      return std::nullopt;
    return panel;
  }

  // The setup dialog, once painted (its first tab shown selected).
  std::optional<WindowGeometry> wait_for_setup() {
    const auto setup = wait_for_sized("Tovali Explorer Setup", kSetupWidth, kSetupHeight);
    if (!setup || !wait_for_selected_tab(*setup, kGeneralTab)) return std::nullopt;
    return setup;
  }

  std::optional<WindowGeometry> open_setup() {
    const auto panel = open_control_panel();
    if (!panel) return std::nullopt;
    click(*panel, kSetupPicture);
    return wait_for_setup();
  }

  // The password prompt, once painted (its text field drawn).
  std::optional<WindowGeometry> wait_for_prompt() {
    const auto prompt = wait_for_sized("Enter Password", 149, 186);
    if (!prompt || !x().wait_for_screen(prompt->x, prompt->y, 149, 186, [](const Image& image) {
          return image.count([](Rgb p) { return p.r == 255 && p.g == 255 && p.b == 255; }) > 500;
        }))
      return std::nullopt;
    return prompt;
  }

  // Dark pixels where the prompt shows "Wrong Password".
  int wrong_password_ink(const WindowGeometry& prompt, const std::string& name) {
    const std::string png = screenshot(name);
    const auto image = XTool::read_region(png, prompt.x + 10, prompt.y + 68, 120, 20);
    return image ? image->count(dark) : -1;
  }

  std::string main_window;
  WindowGeometry main_geometry;
};

TEST_F(ParentWindowsTest, ControlPanelOpensOnADoubleClickOfTheToolsPicture) {
  prepare_settings();
  start();
  const auto panel = open_control_panel();
  ASSERT_TRUE(panel.has_value()) << "no control panel after the double-click";
  // Centred on the screen.
  EXPECT_NEAR(panel->x, (main_geometry.width - 247) / 2, 2);
  EXPECT_NEAR(panel->y, (main_geometry.height - 325) / 2, 2);
  const std::string png = screenshot("control-panel");
  const auto image = XTool::read_region(png, panel->x, panel->y, 247, 325);
  ASSERT_TRUE(image.has_value());
  EXPECT_GT(image->count(navy), 8000);    // three dark blue star-bursts
  EXPECT_EQ(image->at(240, 160).r, 255);  // white background
  click(*panel, kOkPicture);
  EXPECT_TRUE(wait_gone("Tovali Explorer", 247, 325));
  EXPECT_TRUE(explorer().process().running());
}

// Under a window manager (openbox) the control panel, the password prompt
// and the setup dialog offer no minimise or maximise (the window manager's
// allowed actions for them), and their frame is a border without a title
// bar: openbox puts a window menu and a close button on every title bar.
TEST_F(ParentWindowsTest, UnderAWindowManagerNoTitleBarButtonsAndNoMinimiseOrMaximise) {
  if (!start_openbox()) GTEST_SKIP() << "openbox is not installed";
  prepare_settings();
  set_setting("req_pw_close", "1");
  start();
  auto managed_window = [&](const std::string& title, int width, int height) {
    std::string window;
    wait_until(
        [&] {
          const auto found = windows_sized(title, width, height);
          if (found.empty()) return false;
          const auto actions = x().property(found.front(), "_NET_WM_ALLOWED_ACTIONS");
          if (!actions || actions->find("_NET_WM_ACTION_MOVE") == std::string::npos) return false;
          window = found.front();  // managed
          return true;
        },
        kEventTimeout);
    return window;
  };
  auto expect_plain_frame = [&](const std::string& title, int width, int height) {
    SCOPED_TRACE(title);
    const std::string window = managed_window(title, width, height);
    ASSERT_FALSE(window.empty()) << "not managed";
    const std::string actions = x().property(window, "_NET_WM_ALLOWED_ACTIONS").value_or("");
    EXPECT_EQ(actions.find("MINIMIZE"), std::string::npos) << actions;
    EXPECT_EQ(actions.find("MAXIMIZE"), std::string::npos) << actions;
    // left, right, top, bottom: the top is as thin as the sides.
    const std::string extents = x().property(window, "_NET_FRAME_EXTENTS").value_or("");
    int left = -1, right = -1, top = -1, bottom = -1;
    ASSERT_EQ(std::sscanf(extents.c_str(), "%d, %d, %d, %d", &left, &right, &top, &bottom), 4)
        << extents;
    EXPECT_EQ(top, left) << "a title bar: " << extents;
    EXPECT_LE(top, 4) << extents;
  };

  auto panel = open_control_panel();
  ASSERT_TRUE(panel.has_value());
  expect_plain_frame("Tovali Explorer", 247, 325);
  screenshot("control-panel-frame");
  click(*panel, kClosePicture);
  const auto prompt = wait_for_prompt();
  ASSERT_TRUE(prompt.has_value()) << "no password prompt";
  expect_plain_frame("Enter Password", 149, 186);
  click(*prompt, kPromptCancel);
  ASSERT_TRUE(wait_gone("Enter Password", 149, 186));
  ASSERT_TRUE(wait_gone("Tovali Explorer", 247, 325));

  const auto setup = open_setup();
  ASSERT_TRUE(setup.has_value()) << "no setup dialog";
  expect_plain_frame("Tovali Explorer Setup", kSetupWidth, kSetupHeight);
  EXPECT_TRUE(explorer().process().running());
}

// Under openbox with "prevent_switch" on, the password prompt stays on every
// desktop, the window manager's shortcuts do not switch desktops while it
// is up, and the keyboard still reaches it: the right password closes the
// program.
TEST_F(ParentWindowsTest, UnderAWindowManagerTheLockHoldsThePromptWhichStillTakesThePassword) {
  if (!start_openbox()) GTEST_SKIP() << "openbox is not installed";
  prepare_settings();
  set_setting("prevent_switch", "1");
  set_setting("req_pw_close", "1");
  start();
  const auto panel = open_control_panel();
  ASSERT_TRUE(panel.has_value());
  click(*panel, kClosePicture);
  const auto prompt = wait_for_prompt();
  ASSERT_TRUE(prompt.has_value()) << "no password prompt";
  const auto prompt_window = windows_sized("Enter Password", 149, 186);
  ASSERT_FALSE(prompt_window.empty());
  EXPECT_TRUE(wait_until(
      [&] { return x().property(prompt_window.front(), "_NET_WM_DESKTOP") == "4294967295"; },
      kEventTimeout))
      << "the prompt is not on every desktop";
  // The window manager hands the focus over to the prompt some time after
  // it is painted; keys typed before that would go to the main window.
  ASSERT_TRUE(
      wait_until([&] { return x().focused_toplevel() == prompt_window.front(); }, kEventTimeout))
      << "the prompt never had the keyboard focus: " << x().focused_toplevel().value_or("none");

  x().move_mouse(prompt->x + 74, prompt->y + 50);
  x().key("ctrl+alt+Right");
  x().type_text("marigold");
  x().key("Return");
  // The program closes: the keys reached the prompt, and the shortcut before
  // them did not reach the window manager.
  EXPECT_TRUE(explorer().process().wait_exit(kEventTimeout).has_value())
      << "the password did not reach the prompt";
  EXPECT_EQ(x().property("", "_NET_CURRENT_DESKTOP").value_or("?"), "0");
}

TEST_F(ParentWindowsTest, ClosingAsksForThePasswordWhenRequired) {
  prepare_settings();
  set_setting("req_pw_close", "1");
  start();

  // A wrong password, then Cancel: the program goes on.
  auto panel = open_control_panel();
  ASSERT_TRUE(panel.has_value());
  click(*panel, kClosePicture);
  auto prompt = wait_for_prompt();
  ASSERT_TRUE(prompt.has_value()) << "no password prompt";
  EXPECT_EQ(wrong_password_ink(*prompt, "prompt"), 0);
  x().move_mouse(prompt->x + 74, prompt->y + 50);
  x().type_text("Marigold");
  x().key("Return");
  ASSERT_TRUE(
      wait_until([&] { return wrong_password_ink(*prompt, "wrong-password") > 20; }, kEventTimeout))
      << "\"Wrong Password\" not shown";
  EXPECT_FALSE(windows_sized("Enter Password", 149, 186).empty());
  click(*prompt, kPromptCancel);
  EXPECT_TRUE(wait_gone("Enter Password", 149, 186));
  EXPECT_TRUE(wait_gone("Tovali Explorer", 247, 325));  // the panel closes as well
  EXPECT_TRUE(explorer().process().running());
  EXPECT_FALSE(x().search("^Tovali Explorer$").empty());

  // The right password closes the program, which writes its refused-URL log.
  panel = open_control_panel();
  ASSERT_TRUE(panel.has_value());
  click(*panel, kClosePicture);
  prompt = wait_for_prompt();
  ASSERT_TRUE(prompt.has_value());
  x().move_mouse(prompt->x + 74, prompt->y + 50);
  x().type_text("marigold");
  x().key("Return");
  EXPECT_TRUE(explorer().process().wait_exit(kEventTimeout).has_value())
      << "the program did not close";
  EXPECT_TRUE(std::filesystem::exists(explorer().file("prohurl.log")));
}

TEST_F(ParentWindowsTest, TheAdministratorsPasswordHashAndLocksOutliveTheCopies) {
  // The configuration site tries to undo a lock; its other lines apply.
  write_site_file("tovali/v200/group1/teconfig.dat", "req_pw_close=0\r\nprogram-version=200\r\n");
  const auto hash = hash_password("Tulip-7");
  ASSERT_TRUE(hash.has_value());
  std::filesystem::create_directories(env().system_dir());
  std::ofstream(env().system_dir() + "settings.conf")
      << "# the school's kiosks\npassword_hash=" << *hash
      << "\nreq_pw_close=1\nprevent_switch=0\nnum-sites=1\nsite-0=" << server().base_url() << "\n";
  const std::string copies = env().config_home() + "/tovali-explorer/";
  const std::string home_page = "/tovali/v200/group1/teindex.php3";
  const auto home_page_requests = [&] {
    const auto all = server().requests();
    return std::count_if(all.begin(), all.end(),
                         [&](const ServedRequest& r) { return r.path() == home_page; });
  };

  for (const std::string when : {"first start", "copies deleted"}) {
    SCOPED_TRACE(when);
    if (when == "copies deleted") {
      std::filesystem::remove_all(copies);
      ASSERT_FALSE(std::filesystem::exists(copies + "finalg.dat"));
    }
    const auto before = home_page_requests();
    start();
    // The home page is asked for once the download has been merged.
    ASSERT_TRUE(wait_until([&] { return home_page_requests() > before; }, kStartTimeout));

    auto panel = open_control_panel();
    ASSERT_TRUE(panel.has_value());
    click(*panel, kClosePicture);
    const auto prompt = wait_for_prompt();
    ASSERT_TRUE(prompt.has_value()) << "no password prompt: req_pw_close is not in force";
    x().move_mouse(prompt->x + 74, prompt->y + 50);
    x().type_text("marigold");
    x().key("Return");
    ASSERT_TRUE(wait_until([&] { return wrong_password_ink(*prompt, "marigold-refused") > 20; },
                           kEventTimeout))
        << "\"Wrong Password\" not shown for marigold";
    EXPECT_TRUE(explorer().process().running());
    x().type_text("Tulip-7");
    x().key("Return");
    EXPECT_TRUE(explorer().process().wait_exit(kEventTimeout).has_value())
        << "the administrator's password did not close the program";

    // The copies hold the user's own values: the download's other lines,
    // and the factory req_pw_close that the lock kept out of force.
    Settings stored;
    ASSERT_NE(ConfigStore(copies).read_config(stored), LoadSource::Defaults);
    EXPECT_EQ(stored.value("req_pw_close"), "0");
    EXPECT_EQ(stored.value("program-version"), "200");
  }
}

TEST_F(ParentWindowsTest, SetupAsksForThePasswordOnlyWhenRequired) {
  for (const char* required : {"1", "0"}) {
    SCOPED_TRACE(std::string("req_pw_config=") + required);
    prepare_settings();
    set_setting("req_pw_config", required);
    start();
    const auto panel = open_control_panel();
    ASSERT_TRUE(panel.has_value());
    click(*panel, kSetupPicture);
    if (std::string(required) == "1") {
      const auto prompt = wait_for_prompt();
      ASSERT_TRUE(prompt.has_value()) << "no password prompt before setup";
      EXPECT_TRUE(windows_sized("Tovali Explorer Setup", kSetupWidth, kSetupHeight).empty());
      x().move_mouse(prompt->x + 74, prompt->y + 50);
      x().type_text("marigold");
      x().key("Return");
    }
    const auto setup = wait_for_setup();
    ASSERT_TRUE(setup.has_value()) << "no setup dialog";
    EXPECT_TRUE(windows_sized("Enter Password", 149, 186).empty());
    screenshot(std::string("setup-") + required);
    click(*setup, kCancelButton);
    EXPECT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
    EXPECT_TRUE(wait_gone("Tovali Explorer", 247, 325));
    ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  }
}

TEST_F(ParentWindowsTest, ConfigurationWarningOnceBeforeTheDialogShows) {
  prepare_settings();
  set_setting("download_config", "0");
  set_setting("use_global_meta_data", "1");
  start();
  const auto panel = open_control_panel();
  ASSERT_TRUE(panel.has_value());
  click(*panel, kSetupPicture);
  ASSERT_TRUE(wait_for_message_box().has_value()) << "no configuration warning";
  EXPECT_TRUE(windows_sized("Tovali Explorer Setup", kSetupWidth, kSetupHeight).empty());
  screenshot("configuration-warning");
  ASSERT_TRUE(dismiss_message_box());
  const auto setup = wait_for_setup();
  ASSERT_TRUE(setup.has_value());
  EXPECT_TRUE(message_boxes().empty()) << "the warning came more than once";
  click(*setup, kCancelButton);
  EXPECT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
}

TEST_F(ParentWindowsTest, ApplyStoresEmptyUrlsGridRowsAndMemoLines) {
  prepare_settings();
  write_site_file("main.html", html_page("Main", "main"));
  write_site_file("home.html", html_page("Home", "home"));
  set_setting("enable_email_button", "1");
  set_setting("load_main_default", "0");
  set_setting("load_main_url", server().url_for("/main.html"));
  set_setting("default_home_location", "0");
  set_setting("home_button_url", server().url_for("/home.html"));
  start();
  const auto setup = open_setup();
  ASSERT_TRUE(setup.has_value());
  const auto& s = *setup;

  ASSERT_TRUE(click_tab(s, kGeneralTab));
  ASSERT_TRUE(retype(s, kLoadMainUrl, ""));
  ASSERT_TRUE(click_tab(s, kButtonsTab));
  ASSERT_TRUE(retype(s, kHomeButtonUrl, ""));
  ASSERT_TRUE(retype(s, kEmailUrl, ""));
  ASSERT_TRUE(click_tab(s, kSiteAccessTab));
  // Each cell's editor opens after the click or Tab has been handled; keys
  // typed before that would reach the grid, not the cell.
  ASSERT_TRUE(edit_cell(s, 0, 0)) << "no editor in the first cell";
  x().type_text("A");
  ASSERT_TRUE(tab_to_cell(s, 0, 1));
  x().type_text("x");
  ASSERT_TRUE(tab_to_cell(s, 1, 0));
  ASSERT_TRUE(tab_to_cell(s, 1, 1));
  x().type_text("y");
  ASSERT_TRUE(tab_to_cell(s, 2, 0));
  x().type_text("B");
  ASSERT_TRUE(tab_to_cell(s, 2, 1));
  x().type_text("z");
  click(s, kDomainsMemo);
  // The memo's caret at its start: it has the focus.
  ASSERT_TRUE(wait_for_ink(s, kMemoLeft, kMemoTop, 40, 20, [](int ink) { return ink >= 8; }))
      << "the memo has no caret";
  x().type_text("a");
  x().key("Return");
  x().key("Return");
  x().type_text(" b");
  screenshot("site-access-filled");
  click(s, kOkButton);
  ASSERT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));

  EXPECT_EQ(settings().get("enable_email_button"), "0");
  EXPECT_EQ(settings().get("email_url"), std::nullopt);
  EXPECT_EQ(settings().get("load_main_default"), "1");
  EXPECT_EQ(settings().get("load_main_url"), std::nullopt);
  EXPECT_EQ(settings().get("default_home_location"), "1");
  EXPECT_EQ(settings().get("home_button_url"), std::nullopt);
  EXPECT_EQ(settings().get("num_moresites"), "2");
  EXPECT_EQ(settings().get("ms_desc-0"), "A");
  EXPECT_EQ(settings().get("ms_url-0"), "x");
  EXPECT_EQ(settings().get("ms_desc-1"), "B");
  EXPECT_EQ(settings().get("ms_url-1"), "z");
  EXPECT_EQ(settings().get("num_cust_prohibited_domains"), "2");
  EXPECT_EQ(settings().get("cust_pd-0"), "a");
  EXPECT_EQ(settings().get("cust_pd-1"), " b");
  EXPECT_EQ(settings().get("pw"), "marigold");
}

TEST_F(ParentWindowsTest, ChangingPreventSwitchDefersTheVisibleSettings) {
  // The menu page paints the navigation frame orange; (88, 600) shows it
  // unless the frame is hidden.
  write_site_file("tovali/v200/group1/teindex.php3",
                  html_page("Menu", "<style>html,body{background:#ff8000;height:100%}</style>"));
  auto nav_frame_shown = [&](const std::string& name) {
    const auto image =
        XTool::read_region(screenshot(name), main_geometry.x + 88, main_geometry.y + 600, 1, 1);
    return image && image->at(0, 0).r > 240 && image->at(0, 0).g > 100 && image->at(0, 0).g < 160 &&
           image->at(0, 0).b < 40;
  };
  struct Case {
    bool flip_prevent_switch;
    bool restart_message;
  };
  for (const Case c : {Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(c.flip_prevent_switch ? "prevent_switch changed" : "prevent_switch kept");
    prepare_settings();
    set_setting("hide_navframe", "0");
    start();
    ASSERT_TRUE(wait_until([&] { return nav_frame_shown("before"); }, kStartTimeout));
    const auto setup = open_setup();
    ASSERT_TRUE(setup.has_value());
    if (c.flip_prevent_switch) click(*setup, kPreventSwitchBox);
    click(*setup, kHideNavframeBox);
    click(*setup, kOkButton);
    if (c.restart_message) {
      ASSERT_TRUE(wait_for_message_box().has_value()) << "no restart message";
      screenshot("restart-message");
      ASSERT_TRUE(dismiss_message_box());
    }
    ASSERT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
    EXPECT_EQ(settings().get("prevent_switch"), c.flip_prevent_switch ? "1" : "0");
    EXPECT_EQ(settings().get("hide_navframe"), "1");
    if (c.restart_message) {
      EXPECT_TRUE(nav_frame_shown("after-restart-message"));
    } else {
      EXPECT_TRUE(wait_until([&] { return !nav_frame_shown("after"); }, kEventTimeout));
      EXPECT_TRUE(message_boxes().empty());
    }
    ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  }
}

TEST_F(ParentWindowsTest, SetPasswordMessagesAndResults) {
  prepare_settings();
  start();
  const auto setup = open_setup();
  ASSERT_TRUE(setup.has_value());
  const auto& s = *setup;
  ASSERT_TRUE(click_tab(s, kPasswordTab));
  struct Case {
    const char *current, *new1, *new2;
    std::optional<std::string> stored;
  };
  const Case cases[] = {
      {"Marigold", "rose", "rose", "marigold"},  // wrong current password
      {"marigold", "rose", "lily", "marigold"},  // new passwords differ
      {"marigold", "rose", "rose", "rose"},
      {"rose", "", "", std::nullopt},  // the empty password removes the key
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "/" + c.new1 + "/" + c.new2);
    ASSERT_TRUE(retype(s, kCurrentPassword, c.current));
    ASSERT_TRUE(retype(s, kNewPassword, c.new1));
    ASSERT_TRUE(retype(s, kNewPasswordAgain, c.new2));
    click(s, kSetPasswordButton);
    ASSERT_TRUE(wait_for_message_box().has_value());
    ASSERT_TRUE(dismiss_message_box());
    EXPECT_EQ(settings().get("password"), c.stored);
    if (std::string(c.new1) != c.new2) {
      // Both new fields were emptied.
      const auto image =
          XTool::read_region(screenshot("passwords-differ"), s.x + kNewPassword.at.x - 70,
                             s.y + kNewPassword.at.y - 8, 150, 60);
      ASSERT_TRUE(image.has_value());
      EXPECT_LT(image->count(dark), 10);
    }
  }
  click(s, kCancelButton);  // the password is saved already
  ASSERT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
  EXPECT_EQ(settings().get("password"), std::nullopt);
}

TEST_F(ParentWindowsTest, RefusedSitesTabAddsToMoreSites) {
  prepare_settings();
  const std::string port = std::to_string(server().port());
  // The menu: one big "More Sites" link.
  write_site_file("tovali/v200/group1/teindex.php3",
                  menu_page({}, {{"ms", "HTTPNAV://MORESITES", "More Sites"}},
                            "<style>#ms{display:block;height:400px;background:#eee}</style>"));
  // What the guard refused in an earlier session, kept in its log.
  std::filesystem::create_directories(state_dir());
  const std::string refused = "http://www.games.test/play";
  {
    std::ofstream log(state_dir() + "prohurl.log", std::ios::binary);
    log << refused << "\r\nhttp://ads.test/banner\r\n" << refused << "\r\n";
  }
  start();
  // The menu is shown before anything else happens.
  const auto menu_shown = [&] {
    return x().wait_for_screen(
        main_geometry.x + 88, main_geometry.y + 200, 1, 1,
        [](const Image& image) {
          return image.count([](Rgb p) { return p.r == 0xee && p.g == 0xee && p.b == 0xee; }) == 1;
        },
        kStartTimeout);
  };
  ASSERT_TRUE(menu_shown()) << "the More Sites link is not shown";
  const auto setup = open_setup();
  ASSERT_TRUE(setup.has_value());
  ASSERT_TRUE(click_tab(*setup, kRefusedTab));
  click(*setup, kFirstRefusedRow);
  // A selected row makes the button's caption dark.
  ASSERT_TRUE(wait_for_ink(*setup, kAddToMoreSites.x - 55, kAddToMoreSites.y - 8, 110, 16,
                           [](int ink) { return ink > 50; }))
      << "\"Add to More Sites\" is not enabled";
  screenshot("refused-sites");
  click(*setup, kAddToMoreSites);
  click(*setup, kOkButton);
  ASSERT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
  EXPECT_EQ(settings().get("num_moresites"), "1");
  EXPECT_EQ(settings().get("ms_desc-0"), "games.test");
  EXPECT_EQ(settings().get("ms_url-0"), refused);

  // The "More Sites" page now links to it.
  x().click_at(main_geometry.x + 88, main_geometry.y + 200);
  const std::string page = state_dir() + "moresites.html";
  EXPECT_TRUE(wait_until(
      [&] {
        return read_file(page).find("href=\"" + refused + "\"") != std::string::npos ||
               read_file(page).find(refused) != std::string::npos;
      },
      kEventTimeout))
      << read_file(page);
  screenshot("more-sites");
}

// No text field of the parent's windows opens a context menu from the
// keyboard: the password prompt's entry takes the password typed right
// after Shift+F10 and the Menu key, and so does a field of the setup dialog.
TEST_F(ParentWindowsTest, TextFieldsOpenNoContextMenuFromTheKeyboard) {
  prepare_settings();
  set_setting("req_pw_config", "1");
  start();
  const auto windows_before = x().search(".*");
  const auto panel = open_control_panel();
  ASSERT_TRUE(panel.has_value());
  click(*panel, kSetupPicture);
  const auto prompt = wait_for_prompt();
  ASSERT_TRUE(prompt.has_value());
  x().key("shift+F10");
  x().key("Menu");
  // A menu would take these keys; the prompt gets them and lets setup in.
  x().type_text("marigold");
  x().key("Return");
  const auto setup = wait_for_setup();
  ASSERT_TRUE(setup.has_value()) << "the password did not reach the prompt";
  ASSERT_TRUE(retype(*setup, kLoadMainUrl, ""));
  const auto windows_in_setup = x().search(".*");
  x().key("shift+F10");
  x().key("Menu");
  x().type_text("http://zoo.example/");
  ASSERT_TRUE(wait_for_ink(*setup, kLoadMainUrl.left, kLoadMainUrl.at.y - 8, kLoadMainUrl.width, 16,
                           [](int ink) { return ink > 40; }))
      << "the typed text did not reach the field";
  EXPECT_EQ(windows_added_since(windows_in_setup), std::vector<std::string>{});
  click(*setup, kCancelButton);
  ASSERT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
  EXPECT_EQ(windows_added_since(windows_before), std::vector<std::string>{});
}

// The setup dialog's browser keeps to the setup help page and the feedback
// site: a link of the help page to another site, a local file and a new
// window open nothing, and the help page stays.
TEST_F(ParentWindowsTest, SetupBrowserKeepsToHelpAndFeedback) {
  prepare_settings();
  const std::string away = server().url_for("/kids/away.html", "away.localhost");
  const std::string popup = server().url_for("/kids/popup.html", "away.localhost");
  const std::string marker = server().url_for("/kids/help-still-here");
  write_site_file("kids/away.html", html_page("Away", "<p>away</p>"));
  write_site_file("kids/popup.html", html_page("Popup", "<p>popup</p>"));
  start();
  // The supplied pages are copied into the program folder at start.
  const std::string help = program_dir() + "setuphelp/setuphelp.html";
  std::ofstream(help) << html_page(
      "Setup Help",
      "<a id='away' href='" + away +
          "'>away</a><a id='file' href='file:///etc/passwd'>file</a>"
          "<script>window.addEventListener('load', function () {"
          " new Image().src = '" +
          server().url_for("/kids/help-loaded") +
          "';"
          " setTimeout(function () { document.getElementById('away').click(); }, 200);"
          " setTimeout(function () { document.getElementById('file').click(); }, 500);"
          " setTimeout(function () { window.open('" +
          popup +
          "'); }, 800);"
          " setTimeout(function () { new Image().src = '" +
          marker + "'; }, 1800); });</script>");
  const auto setup = open_setup();
  ASSERT_TRUE(setup.has_value());
  const auto windows_before = x().search(".*");
  click(*setup, kHelpButton);
  ASSERT_TRUE(server().wait_for_path("/kids/help-loaded")) << server().log_text();
  // Another page would have replaced the help page before its marker.
  ASSERT_TRUE(server().wait_for_path("/kids/help-still-here")) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/away.html")) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/popup.html")) << server().log_text();
  EXPECT_EQ(windows_added_since(windows_before), std::vector<std::string>{});
  click(*setup, kCancelButton);
  ASSERT_TRUE(wait_gone("Tovali Explorer Setup", kSetupWidth, kSetupHeight));
}

}  // namespace
}  // namespace tovali::testing
