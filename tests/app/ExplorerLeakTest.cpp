// The real program: the doors a web engine offers stay closed (context menu, downloads, file
// chooser, page printing, permission requests, developer tools, window geometry), outside close
// requests are refused, and an ending session saves the refused URLs.
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using ExplorerLeak = GuardedBrowserTest;
using std::chrono::milliseconds;

constexpr Rgb kBackground{0x33, 0x66, 0xcc};
const char kBlueStyle[] = "<style>html,body{background:#3366cc;margin:0;height:100%}</style>";

bool is_background(Rgb c) {
  return std::abs(c.r - kBackground.r) < 8 && std::abs(c.g - kBackground.g) < 8 &&
         std::abs(c.b - kBackground.b) < 8;
}

// Pixels of both frames that are not the pages' plain background: a menu
// opened anywhere in them would cover some.
int foreign_pixels(const std::string& shot) {
  const auto main_frame = XTool::read_region(shot, 172, 56, 1100, 720);
  const auto nav_frame = XTool::read_region(shot, 20, 100, 130, 670);
  if (!main_frame || !nav_frame) return -1;
  const auto foreign = [](Rgb c) { return !is_background(c); };
  return main_frame->count(foreign) + nav_frame->count(foreign);
}

bool file_named_anywhere(const std::string& root, const std::string& name) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->path().filename().string().find(name) != std::string::npos) return true;
  }
  return false;
}

TEST_F(ExplorerLeak, NoContextMenuByMouseOrKeyboardInEitherFrame) {
  // Both pages report every letter typed into them. A letter typed after the
  // menu gesture reaches the page once the program has handled the gesture;
  // an open menu would have taken it instead.
  const std::string on_letter =
      "<script>document.addEventListener('keydown', function (e) {"
      " if (e.key.length === 1) report('key-' + e.key); });</script>";
  open_in_main_frame("/kids/plain.html",
                     kBlueStyle + report_script(ReportThrough::HiddenFrame, kBlueStyle) + on_letter,
                     kBlueStyle + report_script(ReportThrough::MenuLink, kBlueStyle) + on_letter);
  // Until the start-up message has gone.
  ASSERT_TRUE(wait_until([this] { return foreign_pixels(screenshot("plain")) == 0; }, kEventTimeout,
                         milliseconds(500)));
  const auto windows = mapped_windows();
  const struct { int x, y; } places[] = {{1000, 640}, {80, 600}};
  const char* letters = "qjzvwx";
  for (const auto& p : places) {
    const std::string at = std::to_string(p.x);
    const auto handled = [&] {
      const std::string letter(1, *letters++);
      return x().key(letter) && wait_for_report("key-" + letter);
    };
    ASSERT_TRUE(x().click_at(p.x, p.y, 1));  // focus the frame
    ASSERT_TRUE(x().click_at(p.x, p.y, 3));
    ASSERT_TRUE(handled()) << "right click at " << at << "\n" << server().log_text();
    EXPECT_EQ(foreign_pixels(screenshot("right-click-" + at)), 0) << "right click at " << at;
    EXPECT_EQ(mapped_windows(), windows) << "right click at " << at;
    for (const char* keys : {"shift+F10", "Menu"}) {
      ASSERT_TRUE(x().key(keys));
      ASSERT_TRUE(handled()) << keys << " at " << at << "\n" << server().log_text();
      EXPECT_EQ(foreign_pixels(screenshot(std::string("key-") + keys + "-" + at)), 0)
          << keys << " at " << at;
      EXPECT_EQ(mapped_windows(), windows) << keys << " at " << at;
      x().key("Escape");
    }
  }
}

TEST_F(ExplorerLeak, DownloadsAreCancelledAndNeverWritten) {
  write_site_file("kids/game.pak", std::string(4096, 'x'));
  write_site_file("kids/game.pak.headers",
                  "Content-Type: text/plain\nContent-Disposition: attachment; filename=game.pak\n");
  write_site_file("kids/data.bin", std::string(4096, 'y'));
  write_site_file("kids/data.bin.headers", "Content-Type: application/x-tovali-unknown\n");
  write_page("/kids/after-downloads.html", "After", "<p>after</p>");
  // The page stays when its downloads are refused, and moves on to a later
  // page: by then both downloads have been decided and would have begun.
  open_in_main_frame(
      "/kids/downloads.html",
      "<iframe src='/kids/game.pak'></iframe>"
      "<script>setTimeout(function () { location.href = '/kids/data.bin';"
      " setTimeout(function () { location.href = '/kids/after-downloads.html'; }, 800);"
      " }, 800);</script>");
  ASSERT_TRUE(server().wait_for_path("/kids/game.pak")) << server().log_text();
  ASSERT_TRUE(server().wait_for_path("/kids/data.bin")) << server().log_text();
  ASSERT_TRUE(server().wait_for_path("/kids/after-downloads.html")) << server().log_text();
  for (const std::string& folder : {env().home(), env().data_home(), env().cache_home(),
                                    env().config_home(), env().state_home(), program_dir()}) {
    EXPECT_FALSE(file_named_anywhere(folder, "game.pak")) << folder;
    EXPECT_FALSE(file_named_anywhere(folder, "data.bin")) << folder;
  }
  EXPECT_TRUE(explorer().process().running());
}

TEST_F(ExplorerLeak, FileChooserPagePrintAndDeveloperToolsOpenNoWindow) {
  // The page reports its print call, the click on its file field, and each
  // letter typed after a key combination: each report comes after the
  // program has handled what came before it.
  open_in_main_frame("/kids/doors.html",
                     "<input id='file' type='file' style='position:fixed;left:0;top:0;width:100%;"
                     "height:100%'>" +
                         report_script(ReportThrough::HiddenFrame) +
                         "<script>setTimeout(function () { window.print(); report('printed'); },"
                         " 300);"
                         "document.getElementById('file').addEventListener('click', function () {"
                         " report('file'); });"
                         "document.addEventListener('keydown', function (e) {"
                         " if (e.key.length === 1 && !e.ctrlKey) report('key-' + e.key); });"
                         "</script>");
  ASSERT_TRUE(wait_for_report("printed")) << server().log_text();
  const auto before = mapped_windows();
  ASSERT_TRUE(x().click_at(kMainFrameX, kMainFrameY));
  ASSERT_TRUE(wait_for_report("file")) << server().log_text();
  const char* letters = "qjzv";
  for (const char* keys : {"ctrl+shift+i", "F12", "ctrl+shift+c", "ctrl+p"}) {
    const std::string letter(1, *letters++);
    ASSERT_TRUE(x().key(keys));
    ASSERT_TRUE(x().key(letter));
    ASSERT_TRUE(wait_for_report("key-" + letter)) << keys << "\n" << server().log_text();
  }
  EXPECT_EQ(mapped_windows(), before);
  EXPECT_TRUE(explorer().process().running());
}

TEST_F(ExplorerLeak, PermissionRequestsAreDenied) {
  open_in_main_frame("/kids/ask.html",
                     "<script>"
                     "function tell(what) { var i = new Image(); i.src = '/kids/answer?' + what; }"
                     "if (navigator.geolocation) navigator.geolocation.getCurrentPosition("
                     "  function () { tell('geo=granted'); }, function () { tell('geo=denied'); });"
                     "else tell('geo=none');"
                     "if (window.Notification) Notification.requestPermission().then("
                     "  function (p) { tell('notify=' + p); });"
                     "else tell('notify=none');"
                     "</script>");
  const auto answered = [this](const std::string& prefix) {
    return server().wait_for_request(
        [&](const ServedRequest& r) { return r.target.rfind("/kids/answer?" + prefix, 0) == 0; });
  };
  ASSERT_TRUE(answered("geo=")) << server().log_text();
  ASSERT_TRUE(answered("notify=")) << server().log_text();
  for (const auto& r : server().requests()) {
    EXPECT_EQ(r.target.find("granted"), std::string::npos) << r.target;
  }
}

TEST_F(ExplorerLeak, PageCannotResizeMoveOrCloseTheMainWindow) {
  start_with_menu(menu_page({}, {}));
  const auto window = x().wait_for_window(kMainWindow);
  ASSERT_TRUE(window.has_value());
  ASSERT_TRUE(wait_until_painted());
  const auto before = x().geometry(*window);
  ASSERT_TRUE(before.has_value());
  explorer();  // started
  write_page("/kids/shrink.html", "Shrink",
             "<script>window.resizeTo(300, 200); window.moveTo(40, 40); window.close();"
             "setTimeout(function () { new Image().src = '/kids/after'; }, 500);</script>");
  // Opened in the main frame through the menu's own link.
  write_site_file(
      std::string(kSitePath) + "teindex.php3",
      menu_page({url_comment("001", "AD", domain("leak.localhost"))},
                {{"open", menu_link("001", "/kids/shrink.html", "leak.localhost"), "Open"}},
                click_script("open", 600)));
  ASSERT_TRUE(x().click_at(34, kButtonY));  // Home reloads the menu
  ASSERT_TRUE(server().wait_for_path("/kids/after")) << server().log_text();
  ASSERT_TRUE(home_round_trip()) << server().log_text();
  const auto after = x().geometry(*window);
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(after->x, before->x);
  EXPECT_EQ(after->y, before->y);
  EXPECT_EQ(after->width, before->width);
  EXPECT_EQ(after->height, before->height);
  EXPECT_FALSE(x().search(kMainWindow).empty());
  EXPECT_TRUE(explorer().process().running());
}

TEST_F(ExplorerLeak, CloseRequestsFromOutsideAreRefused) {
  start_with_menu(menu_page({}, {}));
  const auto window = x().wait_for_window(kMainWindow);
  ASSERT_TRUE(window.has_value());
  ASSERT_TRUE(x().send_close_request(*window));
  ASSERT_TRUE(x().key("alt+F4"));
  ASSERT_TRUE(home_round_trip()) << server().log_text();
  EXPECT_TRUE(explorer().process().running());
  EXPECT_FALSE(x().search(kMainWindow).empty());
}

// Each signal that ends a session saves the refused URLs and ends the program
// with status 0. Every run refuses one more URL; the log keeps them all.
TEST_F(ExplorerLeak, EndOfSessionSavesTheRefusedURLs) {
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  const std::string refused = url("/kids/shop.html", "shop.localhost");
  // The menu clicks the refused link, then an admitted one: the program
  // decides navigations in order, so once the second page is asked for the
  // refusal has been logged.
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                {{"shop", menu_link("001", "/kids/shop.html", "shop.localhost"), "Shop"},
                 {"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                click_script("shop", 600) + click_script("zoo", 1600)));
  const auto zoo_requests = [this] {
    int n = 0;
    for (const auto& r : server().requests()) n += r.path() == "/kids/zoo.html" ? 1 : 0;
    return n;
  };
  std::string expected;
  int run = 0;
  for (int signal_number : {SIGHUP, SIGINT, SIGTERM}) {
    if (run++ > 0) {
      start_explorer();
      ASSERT_TRUE(x().wait_for_window(kMainWindow));
    }
    expected += refused + "\r\n";
    ASSERT_TRUE(wait_until([&] { return zoo_requests() >= run; }, kStartTimeout))
        << "the menu did not click its links\n"
        << server().log_text();
    ASSERT_TRUE(explorer().signal_and_wait(signal_number)) << "signal " << signal_number;
    const auto status = explorer().process().exit_status();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describe_wait_status(*status);
    EXPECT_EQ(state_file("prohurl.log"), expected) << "signal " << signal_number;
  }
  EXPECT_FALSE(server().was_requested("/kids/shop.html"));
}

}  // namespace
}  // namespace tovali::testing
