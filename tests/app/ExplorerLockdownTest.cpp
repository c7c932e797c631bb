// The real program: a page never borrows the trust the program gives its own
// navigations, nothing dropped onto a view is taken, local files other than
// the program's own pages stay closed, and no view opens a chooser window.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

// The pages' background; the program's error page is white.
constexpr Rgb kBlue{0x33, 0x66, 0xcc};
const char kBlueStyle[] = "<style>html,body{background:#3366cc;margin:0;height:100%}</style>";

// The main frame's top edge on the screen, below the toolbar.
constexpr int kMainFrameTop = 50;
// The toolbar's Help button.
constexpr int kHelpX = 387;

// A full-width link of the main frame's page, 100 pixels high, `top`
// pixels below the frame's top edge; click_band(top) clicks it.
std::string band(const std::string& id, const std::string& href, int top) {
  return "<a id='" + id + "' href='" + href +
         "' style='display:block;position:fixed;left:0;right:0;height:100px;top:" +
         std::to_string(top) + "px;background:#8c8'>" + id + "</a>";
}

// A script that requests `marker` from the page's site once it has loaded.
std::string ready_marker(const std::string& marker) {
  return "<script>window.addEventListener('load', function () {"
         " new Image().src = '" +
         marker + "'; });</script>";
}

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ExplorerLockdown : public GuardedBrowserTest {
 protected:
  void SetUp() override {
    GuardedBrowserTest::SetUp();
    if (IsSkipped()) return;
    set_setting("prevent_switch", "0");
    write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  }

  // The refused site of these tests: no menu entry admits shop.localhost.
  std::string shop() { return url("/kids/shop.html", "shop.localhost"); }

  bool click_band(int top) { return x().click_at(kMainFrameX, kMainFrameTop + top + 50); }

  // The main frame shows the program's white error page.
  bool main_frame_white() {
    const auto image = x().grab(kMainFrameX, kMainFrameY, 1, 1);
    if (!image) return false;
    const Rgb p = image->at(0, 0);
    return p.r == 255 && p.g == 255 && p.b == 255;
  }

  // Runs the tests' drag source offering `uri` from the screen's bottom
  // right corner; its report file.
  std::string start_drag_source(const std::string& uri) {
    const std::string report = temp().path() + "drag-report.txt";
    ProcessOptions options;
    options.argv = {"/usr/bin/python3", TOVALI_TEST_DRAG_SOURCE, uri, report, "1100", "680"};
    TestEnvironment source_env = env();
    source_env.set("DISPLAY", display().name());
    options.env = source_env.entries();
    options.output_path = temp().path() + "drag-source.out";
    std::string error;
    m_drag_source = ChildProcess::start(options, &error);
    EXPECT_TRUE(m_drag_source) << error;
    EXPECT_TRUE(x().wait_for_window("^Drag Source$").has_value());
    return report;
  }

  // Drags from the drag source to (x, y) and waits until the drag is over.
  bool drag_to(const std::string& report, int to_x, int to_y) {
    x().drag(1170, 715, to_x, to_y);
    return wait_until([&] { return read_text(report).find("ended\n") != std::string::npos; },
                      kEventTimeout);
  }

  std::unique_ptr<ChildProcess> m_drag_source;
};

// The child follows an "#anchor" link, presses Back (a step inside the same
// document: no navigation is asked about), then clicks a link to a refused
// site. The trust Back gave is not lent to that click.
TEST_F(ExplorerLockdown, BackOntoAnAnchorEntryLendsNoTrustToTheNextLink) {
  write_page("/kids/after.html", "After", "<p>after</p>");
  open_in_main_frame(
      "/kids/anchors.html",
      std::string(kBlueStyle) + band("part", "#part", 280) + band("shop", shop(), 430) +
          band("after", "/kids/after.html", 580) +
          "<script>window.addEventListener('hashchange', function () {"
          " new Image().src = '/kids/hash-' + (location.hash ? 'part' : 'none'); });</script>" +
          ready_marker("/kids/ready"));
  ASSERT_TRUE(server().wait_for_path("/kids/ready")) << server().log_text();
  ASSERT_TRUE(wait_until_painted());
  ASSERT_TRUE(click_band(280));
  ASSERT_TRUE(server().wait_for_path("/kids/hash-part")) << server().log_text();
  ASSERT_TRUE(x().click_at(kBackX, kButtonY));
  ASSERT_TRUE(server().wait_for_path("/kids/hash-none")) << "Back did not step back";
  ASSERT_TRUE(click_band(430));
  ASSERT_TRUE(click_band(580));
  // The two clicks are decided in order: once the second page is asked
  // for, the first link has been judged.
  ASSERT_TRUE(server().wait_for_path("/kids/after.html")) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/shop.html")) << server().log_text();
}

// The main frame's page starts a load that fails, or has a link whose URL
// names a "res://" page hovered; the program then queues its error page,
// trusted. The page's own navigations right after do not get that trust.
class ExplorerErrorPageTrust : public ExplorerLockdown {
 protected:
  // The page tries the refused site every 30 ms for a while, then asks for
  // its marker.
  std::string tries() {
    return "var n = 0; var t = setInterval(function () {"
           " if (++n > 30) { clearInterval(t); new Image().src = '/kids/tries-done'; return; }"
           " location.href = '" +
           shop() + "'; }, 30);";
  }

  void open_page(const std::string& body, const std::string& extra_comment = "") {
    write_page("/kids/page.html", "Page", std::string(kBlueStyle) + body);
    std::vector<std::string> comments = {url_comment("001", "AD", domain("leak.localhost"))};
    if (!extra_comment.empty()) comments.push_back(extra_comment);
    start_with_menu(menu_page(
        comments, {{"open", menu_link("001", "/kids/page.html", "leak.localhost"), "Open"}},
        click_script("open", 600)));
    ASSERT_TRUE(server().wait_for_path("/kids/page.html")) << server().log_text();
  }

  // The page tried until its marker, or the error page took its place (the
  // program's own navigation may come first); the refused site was never
  // asked for.
  void expect_no_borrowed_trust() {
    ASSERT_TRUE(
        wait_until([&] { return server().was_requested("/kids/tries-done") || main_frame_white(); },
                   kEventTimeout))
        << server().log_text();
    EXPECT_FALSE(server().was_requested("/kids/shop.html")) << server().log_text();
  }
};

TEST_F(ExplorerErrorPageTrust, AfterAFailedLoad) {
  const std::string down_host = "down.localhost:" + std::to_string(unused_port());
  open_page(
      "<script>window.addEventListener('load', function () { setTimeout(function () {"
      " location.href = 'http://" +
          down_host + "/kids/down.html'; " + tries() + " }, 300); });</script>",
      url_comment("001", "AD", down_host));
  expect_no_borrowed_trust();
}

TEST_F(ExplorerErrorPageTrust, AfterAResLinkIsHovered) {
  open_page(band("res", "/kids/page.html?res://ieframe.dll/x", 280) +
            "<script>document.getElementById('res').addEventListener('mouseover', function () {"
            " setTimeout(function () { " +
            tries() + " }, 20); });</script>" + ready_marker("/kids/ready"));
  ASSERT_TRUE(server().wait_for_path("/kids/ready")) << server().log_text();
  ASSERT_TRUE(wait_until_painted());
  ASSERT_TRUE(x().move_mouse(kMainFrameX, kMainFrameTop + 330));
  expect_no_borrowed_trust();
}

// The program's local help page may show in the main frame; links from it
// to other local files open nothing and are refused silently (not logged).
TEST_F(ExplorerLockdown, LocalFilesOtherThanTheProgramsPagesStayClosed) {
  start_with_menu(menu_page({}, {}));
  ASSERT_TRUE(wait_until_painted());
  // The supplied pages are copied into the program folder at start; this
  // help page follows its own links.
  std::ofstream(program_dir() + "help.html")
      << html_page("Help", std::string(kBlueStyle) +
                               "<a id='passwd' href='file:///etc/passwd'>passwd</a>"
                               "<a id='folder' href='file:///etc/'>etc</a>"
                               "<script>window.addEventListener('load', function () {"
                               " new Image().src = '" +
                               url("/kids/help-loaded") +
                               "';"
                               " setTimeout(function () {"
                               " document.getElementById('passwd').click(); }, 200);"
                               " setTimeout(function () {"
                               " document.getElementById('folder').click(); }, 600);"
                               " setTimeout(function () { new Image().src = '" +
                               url("/kids/help-still-here") + "'; }, 1500); });</script>");
  ASSERT_TRUE(x().click_at(kHelpX, kButtonY));
  ASSERT_TRUE(server().wait_for_path("/kids/help-loaded")) << server().log_text();
  // A local file would have replaced the help page before its marker.
  ASSERT_TRUE(server().wait_for_path("/kids/help-still-here")) << server().log_text();
  ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  EXPECT_EQ(state_file("prohurl.log"), "");
}

// Dropping a file onto the main frame, or a refused site's address onto the
// menu frame, gives nothing: neither view asks the drag source for data,
// and the refused site is never requested.
TEST_F(ExplorerLockdown, NoViewTakesADrop) {
  write_page("/kids/after.html", "After", "<p>after</p>");
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("leak.localhost"))}, {},
                band("after", menu_link("001", "/kids/after.html", "leak.localhost"), 20) +
                    kBlueStyle + ready_marker("/kids/menu-ready")));
  ASSERT_TRUE(server().wait_for_path("/kids/menu-ready")) << server().log_text();
  ASSERT_TRUE(wait_until_painted());
  const struct {
    const char* uri;
    int x, y;
  } drops[] = {
      {"file:///etc/passwd", 700, 400},
      {"file:///etc/", 700, 400},
      {"http://shop.localhost:PORT/kids/shop.html", 80, 400},
  };
  for (const auto& d : drops) {
    std::string uri = d.uri;
    const auto port = uri.find("PORT");
    if (port != std::string::npos) uri.replace(port, 4, std::to_string(server().port()));
    SCOPED_TRACE(uri);
    const std::string report = start_drag_source(uri);
    ASSERT_TRUE(drag_to(report, d.x, d.y)) << read_text(report);
    EXPECT_EQ(read_text(report), "ended\n");
    m_drag_source->stop();
    std::remove(report.c_str());
  }
  // The child's click on the menu link goes the way a dropped address
  // would have gone: once its page is asked for, the drop has been judged.
  ASSERT_TRUE(x().click_at(80, kMainFrameTop + 70));
  ASSERT_TRUE(server().wait_for_path("/kids/after.html")) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/shop.html")) << server().log_text();
}

// Colour, date and time fields open no chooser window; the page keeps
// working.
TEST_F(ExplorerLockdown, FormFieldsOpenNoChooserWindow) {
  const struct {
    const char* type;
    int top;
  } fields[] = {{"color", 100}, {"date", 220}, {"time", 340}, {"datetime-local", 460}};
  std::string body = kBlueStyle;
  for (const auto& f : fields) {
    const std::string type = f.type;
    body += "<input id='" + type + "' type='" + type +
            "' style='position:fixed;left:0;right:0;height:100px;width:100%;top:" +
            std::to_string(f.top) + "px'>";
    // A frame of the same page, asked about after the field's click.
    body += "<script>document.getElementById('" + type +
            "').addEventListener('click', function () { setTimeout(function () {"
            " var f = document.createElement('iframe'); f.src = '/kids/after-" +
            type + ".html'; document.body.appendChild(f); }, 300); });</script>";
    write_page("/kids/after-" + type + ".html", "Frame", "<p>frame</p>");
  }
  open_in_main_frame("/kids/fields.html", body + ready_marker("/kids/ready"));
  ASSERT_TRUE(server().wait_for_path("/kids/ready")) << server().log_text();
  ASSERT_TRUE(wait_until_painted());
  const auto before = mapped_windows();
  for (const auto& f : fields) {
    const std::string type = f.type;
    SCOPED_TRACE(type);
    ASSERT_TRUE(click_band(f.top));
    // Once the frame is loaded, a chooser window asked for by the click
    // would be up.
    ASSERT_TRUE(server().wait_for_path("/kids/after-" + type + ".html")) << server().log_text();
    EXPECT_EQ(mapped_windows(), before);
    x().key("Escape");
  }
  EXPECT_TRUE(explorer().process().running());
}

}  // namespace
}  // namespace tovali::testing
