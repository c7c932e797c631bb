// The real program against a test home site: the start-up chain, menu links
// judged by the link rules, the navigation frame's own links, error pages and
// the rules restored by Back.
#include <sys/wait.h>

#include <csignal>
#include <string>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using ExplorerNavigation = GuardedBrowserTest;

TEST_F(ExplorerNavigation, StartUpFetchesTheConfigurationThenTheHomeMenu) {
  write_page("/kids/first.html", "First", "<p>first</p>");
  start_with_menu(menu_page({}, {}));
  const auto requests = server().requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[0].path(), std::string("/") + kSitePath + "teconfig.dat");
  EXPECT_EQ(requests[1].target, std::string("/") + kSitePath + "teindex.php3?menu");
  ASSERT_TRUE(x().wait_for_window(kMainWindow));
  screenshot("start-page");
}

TEST_F(ExplorerNavigation, AdmittedMenuLinkOpensInTheMainFrame) {
  write_page("/kids/zoo.html", "Zoo", "<style>html,body{background:#88cc88}</style><p>zoo</p>");
  start_with_menu(menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                            {{"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                            click_script("zoo", 800)));
  EXPECT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.path() == "/kids/zoo.html" && r.host.rfind("zoo.localhost", 0) == 0;
  })) << server().log_text();
  EXPECT_TRUE(main_frame_shows({0x88, 0xcc, 0x88})) << "the zoo page is not shown";
  screenshot("menu-with-site");
}

// The home site answers the menu page's address with a redirect: the menu
// it leads to still loads in the navigation frame, and its links still open
// their sites in the main frame.
TEST_F(ExplorerNavigation, RedirectedMenuPageStaysInTheNavigationFrame) {
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  const std::string menu = std::string("/") + kSitePath + "menu.html";
  write_site_file(menu.substr(1),
                  menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                            {{"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                            click_script("zoo", 800)));
  write_site_file(std::string(kSitePath) + "teindex.php3.headers",
                  "Status: 302\r\nLocation: " + url(menu) + "\r\n");
  start_with_menu("moved");
  ASSERT_TRUE(server().wait_for_path(menu)) << server().log_text();
  EXPECT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.path() == "/kids/zoo.html" && r.host.rfind("zoo.localhost", 0) == 0;
  })) << server().log_text();
  screenshot("redirected-menu");
}

TEST_F(ExplorerNavigation, RefusedMenuLinkNeverReachesTheServerAndIsLoggedAtShutdown) {
  const std::string target = start_with_refused_then_admitted_click();
  EXPECT_TRUE(never_requested("/kids/shop.html", "/kids/zoo.html")) << server().log_text();
  screenshot("refusal-message");
  ASSERT_TRUE(terminates_cleanly());
  EXPECT_EQ(state_file("prohurl.log"), target + "\r\n");
}

TEST_F(ExplorerNavigation, NavigationFrameLinksLoadIntoTheNavigationFrame) {
  write_site_file(
      std::string(kSitePath) + "second.php3",
      menu_page({}, {{"more", "HTTPNAV://MORESITES", "More"}}, click_script("more", 600)));
  set_setting("num_moresites", "1");
  set_setting("ms_desc-0", "Our zoo");
  set_setting("ms_url-0", "http://zoo.example/");
  const std::string second =
      "HTTPNAV://127.0.0.1:" + std::to_string(server().port()) + "/" + kSitePath + "second.php3";
  start_with_menu(menu_page({}, {{"second", second, "Second"}}, click_script("second", 600)));
  // "HTTPNAV:" becomes "HTTP:" and loads in the navigation frame itself.
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "second.php3"))
      << server().log_text();
  // The "More Sites" page is written afresh and shown there.
  ASSERT_TRUE(wait_for_file(state_dir() + "moresites.html", kEventTimeout));
  EXPECT_NE(state_file("moresites.html").find("<A HREF=\"http://zoo.example/\">Our zoo</A>"),
            std::string::npos);
  wait_until_screen_settles();
  screenshot("more-sites");
  // Neither reached the main frame: nothing was refused.
  ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  EXPECT_EQ(state_file("prohurl.log"), "");
}

// A home page whose address holds a space and an accented letter: the
// engine asks about it percent-encoded, and it still loads in the navigation
// frame, where its script clicks its link into the main frame.
TEST_F(ExplorerNavigation, AHomePageWithASpaceAndAnAccentLoadsInTheNavigationFrame) {
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  write_site_file("kids/my menu/m\xC3\xA9.html",
                  menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                            {{"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                            click_script("zoo", 600)));
  write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
  point_sites_at_server();
  set_setting("default_home_location", "0");
  set_setting("home_button_url", url("/kids/my menu/m\xC3\xA9.html"));
  start_explorer();
  ASSERT_TRUE(server().wait_for_path("/kids/my%20menu/m%C3%A9.html", kStartTimeout))
      << server().log_text();
  ASSERT_TRUE(wait_for_menu_read()) << "the program did not read the menu page";
  write_site_file(kMenuReadMarker, "");
  EXPECT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.path() == "/kids/zoo.html" && r.host.rfind("zoo.localhost", 0) == 0;
  })) << server().log_text();
}

// A "javascript:" link of the menu page does not run in the navigation
// frame: like every other link it is cancelled there and goes to the main
// frame. The script would tell the server where it ran; the zoo link, clicked
// after it, is the marker that its click has been handled.
TEST_F(ExplorerNavigation, AScriptLinkOfTheMenuDoesNotRunInTheNavigationFrame) {
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  const std::string script = "javascript:void(new Image().src='" + url("/script-ran") +
                             "?in='+encodeURIComponent(location.href))";
  start_with_menu(menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                            {{"js", script, "Script"},
                             {"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                            click_script("js", 600) + click_script("zoo", 1600)));
  ASSERT_TRUE(server().wait_for_path("/kids/zoo.html")) << server().log_text();
  for (const ServedRequest& r : server().requests()) {
    if (r.path() == "/script-ran") {
      EXPECT_EQ(r.target.find("teindex.php3"), std::string::npos) << r.target;
    }
  }
}

TEST_F(ExplorerNavigation, FailingSiteShowsTheErrorPage) {
  const int port = unused_port();
  const std::string down = "HTTP001://down.localhost:" + std::to_string(port) + "/kids/down.html";
  start_with_menu(menu_page({url_comment("001", "AD", "down.localhost:" + std::to_string(port))},
                            {{"down", down, "Down"}}, click_script("down", 800)));
  ASSERT_TRUE(wait_for_file(state_dir() + "error.html", kEventTimeout));
  EXPECT_EQ(state_file("error.html"),
            "There was a problem getting a web page from the Internet or network. Please try "
            "again later or contact customer support.\r\n");
  wait_until_screen_settles();
  screenshot("error-page");
}

TEST_F(ExplorerNavigation, MissingMenuPageIsReplacedByTheErrorPage) {
  point_sites_at_server();
  write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
  start_explorer();  // no teindex.php3: the server answers "404 Not Found"
  ASSERT_TRUE(wait_for_file(state_dir() + "error.html", kStartTimeout)) << server().log_text();
}

// Link 001 admits a.localhost, link 002 b.localhost. After visiting both,
// Back returns to a.localhost's page, whose own link is then admitted again
// under link 001's rules, which Back restored.
TEST_F(ExplorerNavigation, BackRestoresTheRulesOfThePageReturnedTo) {
  const std::string big_link =
      "<a id='next' href='/kids/a2.html' style='display:block;position:fixed;left:0;top:0;"
      "width:100%;height:100%;background:#8c8'>next</a>";
  // Each page tells the server once it has loaded.
  const auto loaded = [](const std::string& marker) {
    return "<script>window.addEventListener('load', function () { new Image().src = '" + marker +
           "'; });</script>";
  };
  write_page("/kids/a1.html", "A1", big_link + loaded("/kids/a1-loaded"));
  write_page("/kids/a2.html", "A2", "<p>a2</p>");
  write_page("/kids/b1.html", "B1", "<p>b1</p>" + loaded("/kids/b1-loaded"));
  // The menu clicks "a", then "b" once the test has seen a1.html loaded.
  write_site_file("kids/step.txt", "none");
  const std::string menu = menu_page({url_comment("001", "AD", domain("a.localhost")),
                                      url_comment("002", "AD", domain("b.localhost"))},
                                     {{"a", menu_link("001", "/kids/a1.html", "a.localhost"), "A"},
                                      {"b", menu_link("002", "/kids/b1.html", "b.localhost"), "B"}},
                                     step_script("/kids/step.txt"));
  start_with_menu(menu);
  // Which page the main frame shows: a1.html is green all over, b1.html white.
  const Rgb green{0x88, 0xcc, 0x88};
  write_site_file("kids/step.txt", "a");
  ASSERT_TRUE(server().wait_for_path("/kids/a1-loaded")) << server().log_text();
  ASSERT_TRUE(main_frame_shows(green)) << "a1.html is not shown";
  write_site_file("kids/step.txt", "b");
  ASSERT_TRUE(server().wait_for_path("/kids/b1-loaded")) << server().log_text();
  ASSERT_TRUE(main_frame_shows({255, 255, 255})) << "b1.html is not shown";
  ASSERT_TRUE(x().click_at(kBackX, kButtonY));
  ASSERT_TRUE(main_frame_shows(green)) << "Back did not return to a1.html";
  ASSERT_TRUE(x().click_at(kMainFrameX, kMainFrameY));
  EXPECT_TRUE(server().wait_for_path("/kids/a2.html")) << server().log_text();
}

}  // namespace
}  // namespace tovali::testing
