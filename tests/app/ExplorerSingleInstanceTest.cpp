// The real program: one program per account. With a session bus (as every
// desktop session has) a second start hands over to the running program and
// exits; without one the program still starts and says that it cannot check.
#include <string>
#include <vector>

#include "AppTest.h"
#include "SessionBus.h"

namespace tovali::testing {
namespace {

class ExplorerSingleInstance : public ExplorerTest {
 protected:
  // The home site with its configuration and menu page; no foreground pull.
  void serve_home_site() {
    write_site_file("tovali/v200/group1/teconfig.dat", "program-version=200\r\n");
    write_site_file("tovali/v200/group1/teindex.php3", "<html><body>menu</body></html>");
    point_sites_at_server();
    set_setting("prevent_switch", "0");
  }
};

TEST_F(ExplorerSingleInstance, ASecondStartLeavesTheRunningProgramAlone) {
  if (!SessionBus::available()) GTEST_SKIP() << "dbus-daemon is not installed";
  std::string error;
  auto bus = SessionBus::start(env(), temp().path(), &error);
  ASSERT_TRUE(bus) << error;
  serve_home_site();
  start_explorer();
  const std::string first_window = wait_for_main_window();
  ASSERT_FALSE(first_window.empty());
  ASSERT_TRUE(server().wait_for_path("/tovali/v200/group1/teindex.php3")) << server().log_text();

  auto second = ExplorerProcess::start(env(), display().name(), program_dir(),
                                       temp().path() + "second.out", &error);
  ASSERT_TRUE(second) << error;
  const auto status = second->process().wait_exit(kStartTimeout);
  ASSERT_TRUE(status.has_value()) << "the second start kept running:\n" << second->output();
  EXPECT_EQ(*status, 0) << second->output();

  // The second start asked nothing of the home site: one configuration
  // download in the log, the first program's.
  int downloads = 0;
  for (const auto& request : server().requests())
    if (request.target.find("teconfig.dat") != std::string::npos) ++downloads;
  EXPECT_EQ(downloads, 1) << server().log_text();
  const std::vector<std::string> windows = x().search("^Tovali Explorer$");
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows.front(), first_window);
  EXPECT_TRUE(explorer().process().running());
}

TEST_F(ExplorerSingleInstance, WithoutASessionBusTheProgramStartsAndSaysItCannotCheck) {
  serve_home_site();
  start_explorer();
  ASSERT_FALSE(wait_for_main_window().empty());
  EXPECT_TRUE(server().wait_for_path("/tovali/v200/group1/teindex.php3")) << server().log_text();
  EXPECT_NE(explorer().output().find("cannot check for a second instance"), std::string::npos)
      << explorer().output();
}

}  // namespace
}  // namespace tovali::testing
