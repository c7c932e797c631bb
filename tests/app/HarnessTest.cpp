// Tests of the test harness itself: the logging test server, the private X
// display with its pointer, key, window and screenshot helpers, the child
// processes and the settings tool in a private environment.

#include <signal.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AppTest.h"
#include "ChildProcess.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

using HarnessTest = AppTest;

TEST_F(HarnessTest, ServerAnswersEachKindOfFileAsTheProgramNeedsIt) {
  write_site_file("tovali/v200/group1/teindex.php3", "<html><body>menu</body></html>");
  write_site_file("tovali/v200/group1/teconfig.dat", "program-version=200\r\n");
  write_site_file("kids/game.zip", "PK");
  write_site_file("kids/game.zip.headers", "Content-Disposition: attachment; filename=game.zip\n");
  write_site_file("kids/moved.html", "moved");
  write_site_file("kids/moved.html.headers", "Status: 302\nLocation: /kids/there.html\n");
  struct Case {
    std::string target;
    std::string status_line;
    std::string must_contain;
  };
  const std::vector<Case> cases = {
      {"/tovali/v200/group1/teindex.php3?kids", "HTTP/1.0 200", "Content-Type: text/html"},
      {"/tovali/v200/group1/teconfig.dat", "HTTP/1.0 200", "program-version=200\r\n"},
      {"/kids/game.zip", "HTTP/1.0 200", "Content-Disposition: attachment; filename=game.zip"},
      {"/kids/moved.html", "HTTP/1.0 302", "Location: /kids/there.html"},
      {"/kids/game.zip.headers", "HTTP/1.0 404", "<title>404 Not Found</title>"},
      {"/nothing-here.html", "HTTP/1.0 404", "<title>404 Not Found</title>"},
      {"/../../../../etc/passwd", "HTTP/1.0 404", "<title>404 Not Found</title>"},
  };
  for (const auto& c : cases) {
    const std::string answer = http_get(server().port(), c.target, "127.0.0.1");
    EXPECT_EQ(answer.rfind(c.status_line, 0), 0u) << c.target << "\n" << answer;
    EXPECT_NE(answer.find(c.must_contain), std::string::npos) << c.target << "\n" << answer;
  }
}

TEST_F(HarnessTest, ServerLogsMethodTargetWithQueryAndHostOfEveryRequest) {
  write_site_file("menu.php3", "<html></html>");
  http_get(server().port(), "/menu.php3?word", "kids.localhost:" + std::to_string(server().port()));
  http_get(server().port(), "/missing.html", "127.0.0.1");
  ASSERT_TRUE(server().wait_for_path("/missing.html"));
  const auto requests = server().requests();
  ASSERT_EQ(requests.size(), 2u) << server().log_text();
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/menu.php3?word");
  EXPECT_EQ(requests[0].path(), "/menu.php3");
  EXPECT_EQ(requests[0].host, "kids.localhost:" + std::to_string(server().port()));
  EXPECT_TRUE(server().was_requested("/menu.php3"));
  EXPECT_FALSE(server().was_requested("/menu"));
  EXPECT_EQ(server().url_for("/a.html", "kids.localhost"),
            "http://kids.localhost:" + std::to_string(server().port()) + "/a.html");
}

TEST_F(HarnessTest, UnusedPortRefusesConnections) {
  EXPECT_EQ(http_get(unused_port(), "/", "127.0.0.1"), "");
}

TEST_F(HarnessTest, DisplayAcceptsClientsAndScreenshotsCoverTheScreen) {
  EXPECT_TRUE(display().accepts_connections());
  const std::string path = screenshot("root");
  ASSERT_FALSE(path.empty());
  const auto whole = XTool::read_region(path, 0, 0, XvfbDisplay::kWidth, XvfbDisplay::kHeight);
  ASSERT_TRUE(whole);
  EXPECT_FALSE(XTool::read_region(path, 0, 0, XvfbDisplay::kWidth + 1, 1));
  std::filesystem::remove(path);
}

TEST_F(HarnessTest, EnvironmentIsPrivateToTheTest) {
  for (const char* name :
       {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
    EXPECT_EQ(env().get(name).rfind(temp().path(), 0), 0u) << name << "=" << env().get(name);
    EXPECT_TRUE(std::filesystem::is_directory(env().get(name))) << name;
  }
  EXPECT_EQ(env().get("DISPLAY"), "");
  EXPECT_EQ(env().get("http_proxy"), "");
}

TEST_F(HarnessTest, SettingsToolWritesIntoThePrivateConfigFolder) {
  if (!SettingsCommand::available()) GTEST_SKIP() << "tovali-settings is not built";
  point_sites_at_server();
  EXPECT_EQ(settings().get("site-0"), server().base_url());
  EXPECT_TRUE(std::filesystem::exists(env().config_home() + "/tovali-explorer/finalg.dat"));
}

// The probe window stands in for the program: clicks, keys and close requests
// sent with the harness must reach a GTK window on the private display.
TEST_F(HarnessTest, PointerKeysAndCloseRequestsReachAWindow) {
  ProcessOptions options;
  options.argv = {TOVALI_TEST_PROBE_WINDOW};
  TestEnvironment probe_env = env();
  probe_env.set("DISPLAY", display().name());
  options.env = probe_env.entries();
  options.output_path = temp().path() + "probe.out";
  std::string error;
  auto probe = ChildProcess::start(options, &error);
  ASSERT_TRUE(probe) << error;
  const auto output = [&] { return read_file(options.output_path); };
  const auto reports = [&](const std::string& line) {
    return wait_until([&] { return output().find(line + "\n") != std::string::npos; },
                      kEventTimeout);
  };

  const auto window = x().wait_for_window("^Harness Probe$");
  ASSERT_TRUE(window);
  EXPECT_EQ(x().window_name(*window), "Harness Probe");
  const auto geometry = x().geometry(*window);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->width, 300);
  EXPECT_EQ(geometry->height, 200);
  // Drawn (its red inside shows): from then on it takes the pointer.
  const auto red = [](Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; };
  ASSERT_TRUE(x().wait_for_screen(geometry->x + 10, geometry->y + 10, 20, 20,
                                  [&](const Image& image) { return image.count(red) == 400; }))
      << "the probe window was not drawn";

  EXPECT_TRUE(x().click_at(geometry->x + 50, geometry->y + 60));
  EXPECT_TRUE(reports("press button=1 x=" + std::to_string(geometry->x + 50) + " count=1"))
      << output();
  EXPECT_TRUE(x().click_at(geometry->x + 50, geometry->y + 60, 3));
  EXPECT_TRUE(reports("press button=3 x=" + std::to_string(geometry->x + 50) + " count=1"))
      << output();
  EXPECT_TRUE(x().double_click_at(geometry->x + 70, geometry->y + 60));
  EXPECT_TRUE(reports("press button=1 x=" + std::to_string(geometry->x + 70) + " count=2"))
      << output();
  EXPECT_TRUE(x().key("ctrl+p"));
  EXPECT_TRUE(reports("key p")) << output();

  const std::string shot = screenshot("probe");
  const auto inside = XTool::read_region(shot, geometry->x + 10, geometry->y + 10, 20, 20);
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside->count(red), 400);
  std::filesystem::remove(shot);

  EXPECT_TRUE(x().send_close_request(*window));
  EXPECT_TRUE(reports("close-request")) << output();
  EXPECT_TRUE(probe->wait_exit(kEventTimeout));
  EXPECT_TRUE(x().wait_for_no_window("^Harness Probe$"));
}

TEST(ChildProcessTest, StopEndsAProcessThatIgnoresTerminationAndItsGroup) {
  ProcessOptions options;
  options.argv = {"sh", "-c", "trap '' TERM; sleep 60 & wait"};
  options.env = {"PATH=/usr/bin:/bin"};
  std::string error;
  auto child = ChildProcess::start(options, &error);
  ASSERT_TRUE(child) << error;
  EXPECT_FALSE(child->wait_exit(milliseconds(100)));
  EXPECT_TRUE(child->running());
  child->stop(milliseconds(200));
  ASSERT_TRUE(child->exit_status());
  EXPECT_TRUE(WIFSIGNALED(*child->exit_status()));
  // The killed grandchild may linger a moment until it is reaped.
  EXPECT_TRUE(wait_until([&] { return ::kill(-child->pid(), 0) == -1; }, kEventTimeout))
      << "the process group is still alive";
}

TEST(ChildProcessTest, ReportsAProgramThatCannotBeFound) {
  ProcessOptions options;
  options.argv = {"no-such-program-anywhere"};
  std::string error;
  EXPECT_FALSE(ChildProcess::start(options, &error));
  EXPECT_NE(error.find("no-such-program-anywhere"), std::string::npos);
}

// The program itself, when it has been built: it comes up on the private
// display and ends on SIGTERM.
using HarnessExplorerTest = ExplorerTest;

TEST_F(HarnessExplorerTest, ProgramStartsOnThePrivateDisplayAndEndsOnTermination) {
  point_sites_at_server();
  start_explorer();
  const std::string window = wait_for_main_window();
  ASSERT_FALSE(window.empty());
  EXPECT_TRUE(explorer().signal_and_wait(SIGTERM)) << explorer().output();
}

}  // namespace
}  // namespace tovali::testing
