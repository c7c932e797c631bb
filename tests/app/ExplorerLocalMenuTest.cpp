// The real program with the menu the parent made in setup ("local_menu"):
// the navigation frame shows the program's own page in place of the home
// site's, each entry is a button named by its title, and the entry's
// domains are judged by the same link rules as a home site's menu. Driven
// over AT-SPI; the server's request log is the oracle.
#include <string>

#include "AccessibleBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

class ExplorerLocalMenu : public AccessibleBrowserTest {
 protected:
  // Two entries: "Zoo Park" (link 001, which also admits other.localhost)
  // and "Farm Fun" (link 002, which also admits pics.localhost only).
  void start_with_local_menu(const std::string& farm_body) {
    write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
    write_page("/kids/farm.html", "Farm", farm_body);
    write_page("/kids/pics.html", "Pictures", "<p>pictures</p>");
    write_page("/kids/refused.html", "Refused", "<p>refused</p>");
    write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
    write_site_file(std::string(kSitePath) + "teindex.php3", "<html><body>home</body></html>");
    set_setting("prevent_switch", "0");
    set_setting("local_menu", "1");
    set_setting("num_menu_sites", "2");
    set_setting("mt-0", "Zoo Park");
    set_setting("mu-0", url("/kids/zoo.html", "zoo.localhost"));
    set_setting("md-0", domain("other.localhost"));
    set_setting("mt-1", "Farm Fun");
    set_setting("mu-1", url("/kids/farm.html", "farm.localhost"));
    set_setting("md-1", domain("pics.localhost"));
    point_sites_at_server();
    start_explorer();
  }

  ::testing::AssertionResult follow(const std::string& link) {
    std::string error;
    const bool followed =
        wait_until([&] { return m_probe->follow(link, &error); }, kStartTimeout, milliseconds(300));
    if (!followed) return ::testing::AssertionFailure() << "no link " << link << ": " << error;
    return ::testing::AssertionSuccess();
  }
};

TEST_F(ExplorerLocalMenu, AnEntryOpensItsSiteUnderItsOwnDomains) {
  // The farm page first tries a domain of the other entry (refused under
  // link 002), then its listed domain (admitted).
  start_with_local_menu(
      "<p>farm</p><script>"
      "setTimeout(function () { location.href = '" +
      url("/kids/refused.html", "other.localhost") +
      "'; }, 300);"
      "setTimeout(function () { location.href = '" +
      url("/kids/pics.html", "pics.localhost") + "'; }, 1500);</script>");
  // The configuration download still runs.
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teconfig.dat", kStartTimeout))
      << server().log_text();
  ASSERT_TRUE(follow("Farm Fun"));
  ASSERT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.path() == "/kids/farm.html" && r.host.rfind("farm.localhost", 0) == 0;
  })) << server().log_text();
  EXPECT_TRUE(never_requested("/kids/refused.html", "/kids/pics.html")) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/zoo.html")) << server().log_text();
  // The home site's menu page is not asked for.
  EXPECT_FALSE(server().was_requested(std::string("/") + kSitePath + "teindex.php3"))
      << server().log_text();
  EXPECT_NE(state_file("menu.html").find(">Zoo Park</A>"), std::string::npos)
      << state_file("menu.html");
  screenshot("local-menu");
}

}  // namespace
}  // namespace tovali::testing
