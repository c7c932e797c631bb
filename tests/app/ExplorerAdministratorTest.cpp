// The real program under the administrator's settings.conf: when the file
// exists but cannot be read, the program stays closed and opens no site.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "GuardedBrowserTest.h"
#include "Polling.h"
#include "models/GeneratedPages.h"

namespace tovali::testing {
namespace {

using ExplorerAdministrator = GuardedBrowserTest;

// settings.conf is a folder (tests run as root, so a file of mode 000 would
// still be readable) and, in a second run, a file too large to be read. The
// menu, the configuration and a first site are all there to be fetched.
TEST_F(ExplorerAdministrator, AnUnreadableSettingsConfKeepsTheKioskClosed) {
  write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
  write_site_file(std::string(kSitePath) + "teindex.php3",
                  menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                            {{"zoo", menu_link("001", "/zoo.html", "zoo.localhost"), "Zoo"}},
                            click_script("zoo", 300)));
  write_page("/zoo.html", "Zoo", "<p>zoo</p>");
  write_page("/first.html", "First", "<p>first</p>");
  point_sites_at_server();
  set_setting("load_main_default", "0");
  set_setting("load_main_url", url("/first.html"));
  // The start page reports to the server every 300 ms while it shows: what
  // a page of the program's own loads into itself is not judged, so these
  // requests are the clock that proves nothing else came.
  std::string error;
  ASSERT_TRUE(ExplorerProcess::prepare_program_dir(program_dir(), &error)) << error;
  std::filesystem::remove(program_dir() + "welcome.html");
  std::ofstream(program_dir() + "welcome.html")
      << "<html><body><p>start</p><script>setInterval(function () {"
         " new Image().src = '"
      << url("/tick") << "?' + Date.now(); }, 300);</script></body></html>";

  const std::string conf = env().system_dir() + "settings.conf";
  const auto ticks = [this] {
    std::size_t count = 0;
    for (const auto& r : server().requests()) count += r.path() == "/tick" ? 1 : 0;
    return count;
  };
  for (const char* form : {"a folder", "too large"}) {
    SCOPED_TRACE(form);
    std::filesystem::remove_all(conf);
    if (std::string(form) == "a folder") {
      std::filesystem::create_directories(conf);
    } else {
      std::filesystem::create_directories(env().system_dir());
      std::ofstream(conf) << "req_pw_close=1\n" << std::string(2 * 1024 * 1024, '#') << "\n";
    }
    start_explorer();
    // The marker: start-up has ended, where the configuration and the menu
    // would have been fetched; then the start page's own requests go on.
    ASSERT_TRUE(wait_until(
        [this] {
          return explorer().output().find("stays closed and opens no site") != std::string::npos;
        },
        kStartTimeout))
        << explorer().output();
    EXPECT_NE(explorer().output().find(conf + ": cannot be read"), std::string::npos)
        << explorer().output();
    const std::size_t before = ticks();
    ASSERT_TRUE(wait_until([&] { return ticks() >= before + 6; }, kEventTimeout))
        << server().log_text();
    for (const auto& r : server().requests()) {
      EXPECT_EQ(r.path(), "/tick") << server().log_text();
    }
    EXPECT_NE(state_file("unreadable.html").find(kSettingsUnreadableMessage), std::string::npos);
    screenshot(std::string(form) == "a folder" ? "folder" : "too-large");
    ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  }
}

}  // namespace
}  // namespace tovali::testing
