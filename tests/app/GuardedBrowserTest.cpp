#include "GuardedBrowserTest.h"

#include <sys/wait.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "Polling.h"

namespace tovali::testing {

std::string GuardedBrowserTest::start_with_refused_then_admitted_click() {
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                {{"shop", menu_link("001", "/kids/shop.html", "shop.localhost"), "Shop"},
                 {"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                click_script("shop", 800) + click_script("zoo", 1800)));
  return url("/kids/shop.html", "shop.localhost");
}

::testing::AssertionResult GuardedBrowserTest::terminates_cleanly() {
  if (!explorer().signal_and_wait(SIGTERM))
    return ::testing::AssertionFailure() << "the program did not end after SIGTERM";
  const auto status = explorer().process().exit_status();
  if (!status) return ::testing::AssertionFailure() << "no exit status";
  if (WIFEXITED(*status) && WEXITSTATUS(*status) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << describe_wait_status(*status);
}

void GuardedBrowserTest::start_with_menu(const std::string& menu_html, const std::string& config) {
  write_site_file(std::string(kSitePath) + "teconfig.dat",
                  config.empty() ? std::string("program-version=200\r\n") : config);
  write_site_file(std::string(kSitePath) + "teindex.php3", menu_html);
  point_sites_at_server();
  start_explorer();
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3", kStartTimeout))
      << server().log_text();
  ASSERT_TRUE(wait_for_menu_read()) << "the program did not read the menu page";
  write_site_file(kMenuReadMarker, "");
}

bool GuardedBrowserTest::wait_for_menu_read() {
  return x().wait_for_screen(1262, 780, 16, 17, [](const Image& image) {
    return image.count([](Rgb p) { return p.g > 150 && p.r < 100 && p.b < 100; }) > 40;
  });
}

void GuardedBrowserTest::open_in_main_frame(const std::string& path, const std::string& body,
                                            const std::string& menu_extra) {
  write_page(path, "Page", body);
  start_with_menu(menu_page({url_comment("001", "AD", domain("leak.localhost"))},
                            {{"open", menu_link("001", path, "leak.localhost"), "Open"}},
                            menu_extra + click_script("open", 600)));
  ASSERT_TRUE(server().wait_for_path(path)) << server().log_text();
}

bool GuardedBrowserTest::wait_until_painted() {
  return x().wait_for_screen(1238, 776, 24, 24, [](const Image& image) {
    return image.count([](Rgb p) { return p.r < 200; }) > 50;
  });
}

bool GuardedBrowserTest::main_frame_shows(Rgb colour) {
  return x().wait_for_screen(kMainFrameX, kMainFrameY, 1, 1, [&](const Image& image) {
    const Rgb p = image.at(0, 0);
    return p.r == colour.r && p.g == colour.g && p.b == colour.b;
  });
}

bool GuardedBrowserTest::wait_until_screen_settles() {
  std::optional<Image> last;
  return wait_until(
      [&] {
        auto now = x().grab(0, 0, 1280, 800);
        const bool same = now && last && now->rgb == last->rgb;
        last = std::move(now);
        return same;
      },
      kEventTimeout, std::chrono::milliseconds(300));
}

::testing::AssertionResult GuardedBrowserTest::never_requested(const std::string& path,
                                                               const std::string& marker) {
  if (!server().wait_for_request([&](const ServedRequest& r) { return r.target == marker; }))
    return ::testing::AssertionFailure() << "the marker " << marker << " never came";
  if (server().was_requested(path))
    return ::testing::AssertionFailure() << path << " was requested";
  return ::testing::AssertionSuccess();
}

bool GuardedBrowserTest::home_round_trip() {
  const std::string menu = std::string("/") + kSitePath + "teindex.php3";
  const auto menu_requests = [&] {
    std::size_t count = 0;
    for (const auto& r : server().requests()) count += r.path() == menu ? 1 : 0;
    return count;
  };
  const std::size_t before = menu_requests();
  if (!wait_until_painted() || !x().click_at(34, kButtonY)) return false;
  return wait_until([&] { return menu_requests() > before; }, kEventTimeout);
}

std::string GuardedBrowserTest::report_script(ReportThrough through, const std::string& style) {
  write_page("/kids/seen", "Seen", style);
  const std::string common =
      "<script>var reports = 0; function report(what) { reports++;"
      " var target = '/kids/seen?' + reports + '-' + what;";
  if (through == ReportThrough::HiddenFrame) {
    return "<iframe id='seen' style='display:none'></iframe>" + common +
           " document.getElementById('seen').src = target; }</script>";
  }
  return common + " var link = document.createElement('a');" +
         " link.href = 'HTTP001://leak.localhost:' + location.port + target;" +
         " document.body.appendChild(link); link.dispatchEvent(new MouseEvent('click',"
         " {bubbles: true, cancelable: true, view: window})); }</script>";
}

bool GuardedBrowserTest::wait_for_report(const std::string& what) {
  const std::string prefix = "/kids/seen?";
  const std::string suffix = "-" + what;
  return server().wait_for_request([&](const ServedRequest& r) {
    return r.target.rfind(prefix, 0) == 0 && r.target.size() >= prefix.size() + suffix.size() &&
           r.target.compare(r.target.size() - suffix.size(), suffix.size(), suffix) == 0;
  });
}

std::string GuardedBrowserTest::state_file(const std::string& name) const {
  std::ifstream in(state_dir() + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> GuardedBrowserTest::mapped_windows() {
  return x().search(".*", true);
}

}  // namespace tovali::testing
