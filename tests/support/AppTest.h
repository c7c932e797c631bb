#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ExplorerProgram.h"
#include "Polling.h"
#include "TempDir.h"
#include "TestEnvironment.h"
#include "TestServer.h"
#include "XTool.h"
#include "XvfbDisplay.h"

namespace tovali::testing {

// Fixture for tests of the real program and of the harness itself. Each test
// gets a private folder tree (HOME and XDG folders, the program folder, a
// site folder), its own Xvfb display and its own logging test server serving
// site_dir(). Everything is stopped and removed when the test ends, also
// after a failure; on failure the program's output and the request log are
// printed first. The test is skipped when Xvfb, xdotool, ImageMagick or
// python3 is missing.
//
//   TEST_F(ExplorerTest, MenuLinkReachesTheServer) {
//     write_site_file("tovali/v200/group1/teindex.php3", "<html>...</html>");
//     point_sites_at_server();
//     start_explorer();
//     ASSERT_TRUE(server().wait_for_path("/tovali/v200/group1/teindex.php3"));
//   }
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempDir& temp() { return *m_temp; }
  TestEnvironment& env() { return *m_env; }
  XvfbDisplay& display() { return *m_display; }
  TestServer& server() { return *m_server; }
  XTool& x() { return *m_x; }
  SettingsCommand& settings() { return *m_settings; }

  // The folder the server serves, ending in "/", and a file written into it.
  std::string site_dir() const;
  void write_site_file(const std::string& relative, const std::string& content);

  // The program folder (the executable and the supplied pages), ending in "/".
  std::string program_dir() const;
  // Where the program writes prohurl.log, error.html and moresites.html,
  // ending in "/" (it creates the folder itself).
  std::string state_dir() const;

  // Writes one setting through the real tovali-settings (a failure fails the
  // test). Call before start_explorer(): the program reads its settings at
  // start-up.
  void set_setting(const std::string& key, const std::string& value);
  // Makes the test server the one configuration and home site.
  void point_sites_at_server();

  // Starts the program (fails the test when it cannot be started). Use in
  // ExplorerTest, which skips when the executable is missing. Unless
  // keep_welcome_pending() was called, settings not yet written (here or by
  // set_setting) get `welcome_done` "1" first, so that the grown-up's
  // welcome of a first start does not cover the window.
  ExplorerProcess& start_explorer();
  ExplorerProcess& explorer() { return *m_explorer; }
  // For the welcome's own tests: start_explorer() and set_setting() leave
  // `welcome_done` alone. Call before either.
  void keep_welcome_pending() { m_welcome = WelcomeSeed::LeaveAlone; }
  bool explorer_running() const { return m_explorer != nullptr; }
  // Waits for the main window ("Tovali Explorer") to be mapped; its id.
  std::string wait_for_main_window();

  // Starts the window manager openbox (its factory configuration: four
  // desktops, Ctrl+Alt+Arrow and Super+F1..F4 switch between them) on the
  // test's display and waits until it manages the screen. Call before
  // start_explorer(). False (the test should skip) when openbox is not
  // installed; a failure to start fails the test.
  bool start_openbox();

  // Saves a screenshot as <screenshot_dir>/<Suite>.<Test>-<name>.png for a
  // look by eye; returns the path ("" when it failed).
  std::string screenshot(const std::string& name);

 private:
  void print_diagnostics();
  void mark_welcome_done_on_fresh_settings();

  std::unique_ptr<TempDir> m_temp;
  std::unique_ptr<TestEnvironment> m_env;
  std::unique_ptr<XvfbDisplay> m_display;
  std::unique_ptr<ChildProcess> m_windowManager;
  std::unique_ptr<TestServer> m_server;
  std::unique_ptr<XTool> m_x;
  std::unique_ptr<SettingsCommand> m_settings;
  std::unique_ptr<ExplorerProcess> m_explorer;
  enum class WelcomeSeed { MarkDone, LeaveAlone };
  WelcomeSeed m_welcome = WelcomeSeed::MarkDone;
};

// AppTest for tests that run the program: skipped when build/tovali-explorer
// or build/tovali-settings has not been built.
class ExplorerTest : public AppTest {
 protected:
  void SetUp() override;
};

}  // namespace tovali::testing

// Skips the current test when the program is not built (for AppTest tests
// that only sometimes need it).
#define TOVALI_REQUIRE_EXPLORER()                         \
  do {                                                    \
    if (!::tovali::testing::ExplorerProcess::available()) \
      GTEST_SKIP() << "tovali-explorer is not built";     \
  } while (0)
