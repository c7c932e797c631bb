// What an admitted page loads besides its own document: images, style
// sheets, scripts, fonts, CSS backgrounds, media, fetch, XHR, WebSocket,
// EventSource and beacons, from a host the parent prohibits and from hosts
// the parent allows. The page guard in the engine's web process judges each
// of them before any request is made; the test server's log is the oracle.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

// Each kind of load and the file it asks for below /kinds/ of a host.
const std::vector<std::string> kKinds = {"style.css", "font.woff", "background.png", "image.png",
                                         "script.js", "media.wav", "fetch",          "xhr",
                                         "socket",    "events",    "beacon"};

class ExplorerPageLoads : public GuardedBrowserTest {
 protected:
  void SetUp() override {
    GuardedBrowserTest::SetUp();
    for (const auto& kind : kKinds) write_site_file("kinds/" + kind, "x");
  }

  // Markup and script that load every kind from `host` (a host of the test
  // server).
  std::string loads_from(const std::string& host) {
    const std::string base = url("/kinds/", host);
    // A name of this host's own for its font and its background's element.
    std::string name = host;
    std::replace(name.begin(), name.end(), '.', '-');
    return "<link rel=stylesheet href='" + base +
           "style.css'><style>@font-face{font-family:" + name + ";src:url(" + base +
           "font.woff)} p." + name + "{font-family:" + name + "} div." + name +
           "{width:9px;height:9px;background:url(" + base +
           "background.png)}</style><p class=" + name + ">text</p><div class=" + name +
           "></div><img src='" + base + "image.png'><script src='" + base +
           "script.js'></script><audio preload=auto src='" + base +
           "media.wav'></audio><script>(function(){var b='" + base +
           "';fetch(b+'fetch').catch(function(){});"
           "var x=new XMLHttpRequest();x.open('GET',b+'xhr');x.send();"
           "try{new WebSocket(b.replace('http:','ws:')+'socket');}catch(e){}"
           "try{new EventSource(b+'events');}catch(e){}"
           "try{navigator.sendBeacon(b+'beacon','x');}catch(e){}})();</script>";
  }

  // The kinds that reached the server with a Host beginning with `host`.
  std::set<std::string> kinds_reached(const std::string& host) {
    std::set<std::string> reached;
    for (const auto& r : server().requests()) {
      if (r.host.rfind(host + ":", 0) != 0 || r.path().rfind("/kinds/", 0) != 0) continue;
      reached.insert(r.path().substr(7));
    }
    return reached;
  }

  bool all_kinds_reach(const std::string& host, const std::vector<std::string>& kinds = kKinds) {
    return wait_until(
        [&] {
          const auto reached = kinds_reached(host);
          return std::all_of(kinds.begin(), kinds.end(),
                             [&](const std::string& kind) { return reached.count(kind) > 0; });
        },
        kEventTimeout);
  }
};

TEST_F(ExplorerPageLoads, TheParentsProhibitedDomainGetsNothingOfAnAdmittedPage) {
  set_setting("num_cust_prohibited_domains", "1");
  set_setting("cust_pd-0", domain("bad.localhost"));
  open_in_main_frame("/kids/page.html", loads_from("bad.localhost") + loads_from("good.localhost"));
  // Every kind reached the allowed host: the page has made its loads.
  ASSERT_TRUE(all_kinds_reach("good.localhost")) << server().log_text();
  EXPECT_TRUE(kinds_reached("bad.localhost").empty()) << server().log_text();
  screenshot("page");
  // A refused load is no refused navigation: it is a blocked item of its
  // host in the day's activity (the report's last column).
  ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  EXPECT_EQ(state_file("prohurl.log"), "");
  const std::string report = settings().report();
  const std::string line_start = "\t" + domain("bad.localhost") + "\t0\t0\t0\t0\t0\t0\t";
  const std::size_t at = report.find(line_start);
  ASSERT_NE(at, std::string::npos) << report;
  const int blocked = std::atoi(report.c_str() + at + line_start.size());
  EXPECT_GE(blocked, static_cast<int>(kKinds.size())) << report;
}

TEST_F(ExplorerPageLoads, StrictLoadsComeOnlyFromThePageAndItsLinksDomains) {
  set_setting("strict_page_loads", "1");
  write_page(
      "/kids/page.html", "Page",
      loads_from("other.localhost") + loads_from("good.localhost") + loads_from("leak.localhost"));
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("leak.localhost")),
                 url_comment("001", "AD", domain("good.localhost"))},
                {{"open", menu_link("001", "/kids/page.html", "leak.localhost"), "Open"}},
                click_script("open", 600)));
  ASSERT_TRUE(server().wait_for_path("/kids/page.html")) << server().log_text();
  ASSERT_TRUE(all_kinds_reach("good.localhost")) << server().log_text();
  ASSERT_TRUE(all_kinds_reach("leak.localhost")) << server().log_text();
  EXPECT_TRUE(kinds_reached("other.localhost").empty()) << server().log_text();
}

// Without a page guard in the engine nothing would judge what pages load:
// no page that loads from the network opens, the frames show the error page
// and the program says why.
TEST_F(ExplorerPageLoads, AMissingOrBrokenPageGuardKeepsEveryNetworkPageClosed) {
  for (const char* guard_file : {"", "not a module"}) {
    SCOPED_TRACE(*guard_file ? "broken" : "missing");
    const std::string guard_dir = site_dir() + "../guard-" + std::to_string(*guard_file != 0) + "/";
    std::filesystem::create_directories(guard_dir);
    if (*guard_file) std::ofstream(guard_dir + "tovali-page-guard.so") << guard_file;
    env().set("TOVALI_WEB_EXTENSIONS_DIR", guard_dir);
    write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
    write_site_file(std::string(kSitePath) + "teindex.php3", menu_page({}, {}));
    point_sites_at_server();
    std::filesystem::remove(state_dir() + "error.html");
    start_explorer();
    // The error page is written once the menu page was refused.
    ASSERT_TRUE(wait_until([&] { return std::filesystem::exists(state_dir() + "error.html"); },
                           kStartTimeout))
        << explorer().output();
    EXPECT_FALSE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3",
                                        std::chrono::milliseconds(0)))
        << server().log_text();
    EXPECT_NE(explorer().output().find("the page guard did not start"), std::string::npos)
        << explorer().output();
    ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  }
}

}  // namespace
}  // namespace tovali::testing
