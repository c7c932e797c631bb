// The real program: messages in the message panel, seen on the screen. The
// panel's text box is opaque white with red text, so a shown message is a
// white box with red pixels at a known place of its window.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"
#include "RunCommand.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

// The text box of a fully grown panel (300 by 222) centred in a window of
// the given size: the box sits at (80, 64) inside the panel, 137 by 97.
struct Box {
  int x, y;
  static constexpr int kWidth = 137;
  static constexpr int kHeight = 97;
};
Box text_box(int window_x, int window_y, int window_width, int window_height) {
  return {window_x + window_width / 2 - 150 + 80, window_y + window_height / 2 - 111 + 64};
}

bool is_red(Rgb c) {
  return c.r >= 200 && c.g < 60 && c.b < 60;
}
bool is_white(Rgb c) {
  return c.r >= 250 && c.g >= 250 && c.b >= 250;
}

// A message is up in `image` of the text box: mostly white, some red text.
bool shows_message(const std::optional<Image>& image) {
  if (!image) return false;
  const int all = image->width * image->height;
  return image->count(is_white) * 2 > all && image->count(is_red) > 20;
}

// The text ends above the bottom of the box: no line is cut off there.
bool text_fits(const std::optional<Image>& image) {
  if (!image) return false;
  for (int y = image->height - 2; y < image->height; ++y)
    for (int x = 0; x < image->width; ++x)
      if (is_red(image->at(x, y))) return false;
  return true;
}

// Nothing but the white of an empty page.
bool all_white(const std::optional<Image>& image) {
  return image && image->count(is_white) == image->width * image->height;
}

bool is_green(Rgb c) {
  return c.r < 40 && c.g > 150 && c.b < 40;
}
bool is_ink(Rgb c) {
  return c.r < 160 && c.g < 160 && c.b < 160;
}

// Nothing but the green of the key page below.
bool all_green(const std::optional<Image>& image) {
  return image && image->count(is_green) == image->width * image->height;
}

// A main-frame page all green, that asks the server for "/key" when a key
// reaches it.
const char kGreenKeyPage[] =
    "<style>html,body{margin:0;height:100%;background:#00c000}</style>"
    "<script>document.addEventListener('keydown', function () {"
    " fetch('/key?' + Date.now()); });</script>";

bool same_pixels(const std::optional<Image>& a, const std::optional<Image>& b) {
  return a && b && a->width == b->width && a->height == b->height && a->rgb == b->rgb;
}

class ExplorerMessage : public GuardedBrowserTest {
 protected:
  std::optional<Image> grab_box(const Box& box, const std::string& name) {
    return XTool::read_region(screenshot(name), box.x, box.y, Box::kWidth, Box::kHeight);
  }
  // The main window covers the 1280 by 800 screen.
  Box main_box() { return text_box(0, 0, 1280, 800); }

  // Shows the green key page in the main frame, once it is drawn.
  void show_green_key_page() {
    write_site_file("key", "");
    open_in_main_frame("/kids/green.html", kGreenKeyPage);
    ASSERT_TRUE(wait_until([&] { return all_green(grab_box(main_box(), "green")); }, kEventTimeout,
                           milliseconds(200)));
  }

  // A key typed into the green page, once the page has asked for "/key": by
  // then the program has handled everything that came before the key.
  void press_key_in_page() {
    ASSERT_TRUE(x().click_at(kMainFrameX, kMainFrameY));
    ASSERT_TRUE(x().key("x"));
    ASSERT_TRUE(server().wait_for_path("/key")) << server().log_text();
  }
};

// The configuration file's `program-version` above the program's own 200
// replaces the "Loading configuration..." message by the update notice;
// 200 leaves the loading message up until its time is over.
class ExplorerUpdateNotice : public ExplorerMessage,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(ExplorerUpdateNotice, ShowsOnlyAboveTheProgramsOwnVersion) {
  const std::string version = GetParam();
  const bool notice = version == "201";
  const std::string config = std::string(kSitePath) + "teconfig.dat";
  write_site_file(config, "program-version=" + version + "\r\n");
  // The download waits, so the loading message can be seen before it ends
  // (also on a busy machine, where the window is drawn late).
  write_site_file(config + ".headers", "Delay-Ms: 10000\r\n");
  // A blue menu page: once it shows, the program has drawn its window after
  // the notice step.
  write_site_file(std::string(kSitePath) + "teindex.php3",
                  menu_page({}, {}, "<style>html,body{background:#3366cc}</style>"));
  set_setting("prevent_switch", "0");
  point_sites_at_server();
  start_explorer();
  ASSERT_TRUE(server().wait_for_path(std::string("/") + config, kStartTimeout))
      << server().log_text();

  std::optional<Image> loading;
  ASSERT_TRUE(wait_until(
      [&] {
        loading = grab_box(main_box(), "loading");
        return shows_message(loading);
      },
      kEventTimeout, milliseconds(100)))
      << "no loading message while the configuration downloads";
  EXPECT_TRUE(text_fits(loading));
  // The menu page is asked for after the notice step.
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3", kStartTimeout))
      << server().log_text();

  if (notice) {
    std::optional<Image> shown;
    EXPECT_TRUE(wait_until(
        [&] {
          shown = grab_box(main_box(), "notice");
          return shows_message(shown) && !same_pixels(shown, loading);
        },
        kEventTimeout, milliseconds(100)))
        << "the loading message was not replaced by the update notice";
    // The longest message, six lines, fits the box.
    EXPECT_TRUE(text_fits(shown));
  } else {
    // The loading message stays five seconds after the download; a notice
    // would have replaced it before the menu page, asked for after the
    // notice step, shows in the navigation frame. On a busy machine the
    // menu page may show after those five seconds: then the panel is empty.
    ASSERT_TRUE(x().wait_for_screen(20, 300, 100, 100, [](const Image& image) {
      return image.width > 0 && image.count([](Rgb p) { return p.b < 180 || p.r > 80; }) == 0;
    })) << "the menu page did not show";
    const auto after = grab_box(main_box(), "no-notice");
    EXPECT_TRUE(same_pixels(after, loading) || (after && !shows_message(after)))
        << "another message replaced the loading message after the download";
  }
}

INSTANTIATE_TEST_SUITE_P(Version, ExplorerUpdateNotice, ::testing::Values("201", "200"),
                         [](const auto& info) { return std::string("V") + info.param; });

// While the pop-up is visible, a message of the main window (here the
// guard's refusal of a link clicked in the pop-up) shows in the pop-up's
// panel; the main window's panel stays hidden.
TEST_F(ExplorerMessage, MainWindowMessagesShowInThePopupWhileItIsVisible) {
  set_setting("allow_new_window", "1");
  set_setting("prevent_switch", "0");
  // The pop-up's page is one big link to a site that no rule admits.
  write_page("/kids/popped.html", "Popped",
             "<a id='away' href='" + url("/kids/shop.html", "shop.localhost") +
                 "' style='display:block;position:fixed;left:0;top:0;width:100%;height:100%;"
                 "background:#3366cc'>away</a>");
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  open_in_main_frame(
      "/kids/opener.html",
      "<a id='pop' href='/kids/popped.html' target='_blank'>pop</a>" + click_script("pop", 600));
  const auto popup = x().wait_for_window(kPopupWindow, kEventTimeout);
  ASSERT_TRUE(popup.has_value());
  ASSERT_TRUE(server().wait_for_path("/kids/popped.html")) << server().log_text();

  // The pop-up is centred over the main window's panel: move it aside so
  // that both panels can be seen.
  const auto run = run_command({find_program("xdotool"), "windowmove", *popup, "800", "300"},
                               {{"DISPLAY", display().name()}}, 20);
  ASSERT_EQ(run.exit_status, 0) << run.err;
  std::optional<WindowGeometry> where;
  ASSERT_TRUE(wait_until(
      [&] {
        where = x().geometry(*popup);
        return where && where->x == 800 && where->y == 300;
      },
      kEventTimeout));
  // Before the click the main window has drawn the uncovered part and its
  // start-up message is over: its empty white page shows there.
  ASSERT_TRUE(wait_until([&] { return all_white(grab_box(main_box(), "main-quiet")); },
                         kEventTimeout, milliseconds(200)));

  ASSERT_TRUE(x().click_at(where->x + 40, where->y + 100));
  const Box popup_box = text_box(where->x, where->y, where->width, where->height);
  std::string shot;
  EXPECT_TRUE(wait_until(
      [&] {
        shot = screenshot("in-popup");
        return shows_message(
            XTool::read_region(shot, popup_box.x, popup_box.y, Box::kWidth, Box::kHeight));
      },
      kEventTimeout, milliseconds(100)))
      << "no message in the pop-up's panel";
  EXPECT_TRUE(
      all_white(XTool::read_region(shot, main_box().x, main_box().y, Box::kWidth, Box::kHeight)))
      << "the main window's panel showed the message";
  EXPECT_FALSE(server().was_requested("/kids/shop.html")) << server().log_text();
}

// A pop-up whose first page is refused stays empty and shows the refusal in
// its own panel, although the engine asks about that page before the pop-up
// is on the screen.
TEST_F(ExplorerMessage, RefusedFirstPageOfThePopupShowsTheRefusalInThePopup) {
  set_setting("allow_new_window", "1");
  set_setting("prevent_switch", "0");
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  // A big link in the lower right corner of the main frame, away from the
  // message panel, opens the refused site in a new window.
  open_in_main_frame("/kids/opener.html",
                     "<a id='pop' target='_blank' href='" +
                         url("/kids/shop.html", "shop.localhost") +
                         "' style='display:block;position:fixed;right:0;bottom:0;width:400px;"
                         "height:300px;background:#3366cc'>pop</a>");
  // The start-up messages are over: the empty white page shows there.
  ASSERT_TRUE(wait_until([&] { return all_white(grab_box(main_box(), "quiet")); }, kEventTimeout,
                         milliseconds(200)));
  ASSERT_TRUE(x().click_at(kMainFrameX, kMainFrameY));
  const auto popup = x().wait_for_window(kPopupWindow, kEventTimeout);
  ASSERT_TRUE(popup.has_value());
  std::optional<WindowGeometry> where;
  ASSERT_TRUE(
      wait_until([&] { return (where = x().geometry(*popup)).has_value(); }, kEventTimeout));
  const Box popup_box = text_box(where->x, where->y, where->width, where->height);
  EXPECT_TRUE(wait_until([&] { return shows_message(grab_box(popup_box, "in-popup")); },
                         kEventTimeout, milliseconds(100)))
      << "no refusal in the pop-up's panel";
  EXPECT_FALSE(server().was_requested("/kids/shop.html")) << server().log_text();
}

// With "show_print_settings" on, Print opens the print dialog. It lists only
// the print service's printers: no "Print to File" printer (here, with no
// print service, the list is empty). Cancelling it prints nothing, and no
// "Printing..." notice follows.
TEST_F(ExplorerMessage, PrintDialogListsNoFilePrinterAndItsCancelShowsNoNotice) {
  set_setting("prevent_switch", "0");
  set_setting("show_print_settings", "1");
  ASSERT_NO_FATAL_FAILURE(show_green_key_page());

  ASSERT_TRUE(x().click_at(4 * 69 + 34, kButtonY));
  const auto dialog = x().wait_for_window("^Print$", kEventTimeout);
  ASSERT_TRUE(dialog) << "no print dialog";
  std::optional<WindowGeometry> where;
  ASSERT_TRUE(
      wait_until([&] { return (where = x().geometry(*dialog)).has_value(); }, kEventTimeout));
  // The printer list sits below the tabs: its column titles ("Printer",
  // "Location", "Status") are drawn once the list is filled; the rows below
  // them stay empty.
  constexpr int kListLeft = 14, kHeaderTop = 52, kHeaderHeight = 22, kRowsTop = 78;
  const int list_width = where->width - 2 * kListLeft;
  ASSERT_TRUE(x().wait_for_screen(where->x + kListLeft, where->y + kHeaderTop, list_width,
                                  kHeaderHeight,
                                  [](const Image& image) { return image.count(is_ink) > 40; }))
      << "the print dialog's printer list was not drawn";
  const std::string png = screenshot("print-dialog");
  const auto rows =
      XTool::read_region(png, where->x + kListLeft, where->y + kRowsTop, list_width, 150);
  ASSERT_TRUE(rows.has_value());
  EXPECT_EQ(rows->count(is_ink), 0) << "the print dialog lists a printer (Print to File)";

  ASSERT_TRUE(x().send_close_request(*dialog));
  ASSERT_TRUE(x().wait_for_no_window("^Print$"));
  // After the dialog is gone, a key reaches the page: by the time the page
  // has asked for "/key", a notice would have been up since the cancel.
  ASSERT_NO_FATAL_FAILURE(press_key_in_page());
  EXPECT_TRUE(all_green(grab_box(main_box(), "after-cancel"))) << "a notice followed the cancel";
  EXPECT_TRUE(explorer().process().running());
}

// Print without the dialog prints only on a real printer; with none (no
// print service here) nothing is printed, no file is written and no
// "Printing..." notice is shown.
TEST_F(ExplorerMessage, PrintWithoutAPrinterShowsNoNoticeAndWritesNoFile) {
  set_setting("prevent_switch", "0");
  ASSERT_NO_FATAL_FAILURE(show_green_key_page());
  ASSERT_TRUE(x().click_at(4 * 69 + 34, kButtonY));
  ASSERT_NO_FATAL_FAILURE(press_key_in_page());
  EXPECT_TRUE(all_green(grab_box(main_box(), "after-print"))) << "a notice without a printer";
  // GTK's file printer writes "output.pdf" into the home folder by default.
  EXPECT_FALSE(std::filesystem::exists(env().home() + "/output.pdf"));
  EXPECT_TRUE(explorer().process().running());
}

}  // namespace
}  // namespace tovali::testing
