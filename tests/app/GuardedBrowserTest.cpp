#include "GuardedBrowserTest.h"

#include <fstream>
#include <iterator>
#include <thread>

#include "Polling.h"

namespace tovali::testing {

void GuardedBrowserTest::start_with_menu(const std::string& menu_html, const std::string& config) {
  write_site_file(std::string(kSitePath) + "teconfig.dat",
                  config.empty() ? std::string("program-version=200\r\n") : config);
  write_site_file(std::string(kSitePath) + "teindex.php3", menu_html);
  point_sites_at_server();
  start_explorer();
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3", kStartTimeout))
      << server().log_text();
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

bool GuardedBrowserTest::never_requested(const std::string& path) {
  std::this_thread::sleep_for(kQuietPeriod);
  return !server().was_requested(path);
}

std::string GuardedBrowserTest::state_file(const std::string& name) const {
  std::ifstream in(state_dir() + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> GuardedBrowserTest::mapped_windows() {
  return x().search(".*", true);
}

}  // namespace tovali::testing
