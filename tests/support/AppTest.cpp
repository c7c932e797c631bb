#include "AppTest.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "ChildProcess.h"
#include "HarnessPaths.h"

namespace tovali::testing {

void AppTest::SetUp() {
  if (!XvfbDisplay::available() || !XTool::available() || !TestServer::available())
    GTEST_SKIP() << "Xvfb, xdotool, ImageMagick or python3 is missing "
                    "(scripts/install-deps.sh installs them)";
  m_temp = std::make_unique<TempDir>();
  m_env = std::make_unique<TestEnvironment>(m_temp->path() + "env");
  m_settings = std::make_unique<SettingsCommand>(*m_env);
  std::string error;
  m_display = XvfbDisplay::start(m_temp->path() + "xvfb.log", &error);
  ASSERT_TRUE(m_display) << error;
  m_x = std::make_unique<XTool>(m_display->name());
  m_temp->write("site/.keep", "");
  m_server = TestServer::start(site_dir(), m_temp->path(), &error);
  ASSERT_TRUE(m_server) << error;
}

void AppTest::TearDown() {
  if (HasFailure()) print_diagnostics();
  // The program first (it may still talk to the server and the display),
  // then the server, then the display, then the files.
  m_explorer.reset();
  m_server.reset();
  m_windowManager.reset();
  m_x.reset();
  m_display.reset();
  m_settings.reset();
  m_env.reset();
  m_temp.reset();
}

void AppTest::print_diagnostics() {
  if (m_explorer) {
    std::string out = m_explorer->output();
    if (out.size() > 8000) out = "...\n" + out.substr(out.size() - 8000);
    std::cerr << "---- tovali-explorer output ----\n" << out << "\n";
  }
  if (m_server) std::cerr << "---- requests ----\n" << m_server->log_text() << "\n";
  if (m_windowManager) {
    std::cerr << "---- openbox output ----\n" << m_temp->read("openbox.log") << "\n";
    std::cerr << "---- desktop ----\n"
              << m_x->property("", "_NET_CURRENT_DESKTOP").value_or("none") << " of "
              << m_x->property("", "_NET_NUMBER_OF_DESKTOPS").value_or("none") << ", focus on "
              << m_x->focused_toplevel().value_or("none") << "\n";
  }
}

std::string AppTest::site_dir() const {
  return m_temp->path() + "site/";
}

void AppTest::write_site_file(const std::string& relative, const std::string& content) {
  m_temp->write("site/" + relative, content);
}

std::string AppTest::program_dir() const {
  return m_temp->path() + "program/";
}

std::string AppTest::state_dir() const {
  return m_env->program_state_dir();
}

void AppTest::set_setting(const std::string& key, const std::string& value) {
  std::string error;
  mark_welcome_done_on_fresh_settings();
  EXPECT_TRUE(m_settings->set(key, value, &error)) << error;
}

void AppTest::mark_welcome_done_on_fresh_settings() {
  // Settings made from the factory defaults wait for the welcome, whether
  // the program or tovali-settings makes them.
  std::error_code ec;
  if (m_welcome != WelcomeSeed::MarkDone ||
      std::filesystem::exists(m_env->config_home() + "/tovali-explorer", ec))
    return;
  std::string error;
  EXPECT_TRUE(m_settings->set("welcome_done", "1", &error)) << error;
}

void AppTest::point_sites_at_server() {
  set_setting("num-sites", "1");
  set_setting("site-0", m_server->base_url());
}

ExplorerProcess& AppTest::start_explorer() {
  m_explorer.reset();
  mark_welcome_done_on_fresh_settings();
  std::string error;
  m_explorer = ExplorerProcess::start(*m_env, m_display->name(), program_dir(),
                                      m_temp->path() + "explorer.out", &error);
  if (!m_explorer) {
    ADD_FAILURE() << "cannot start tovali-explorer: " << error;
    throw std::runtime_error(error);  // gtest reports it and ends the test
  }
  return *m_explorer;
}

std::string AppTest::wait_for_main_window() {
  const auto window = m_x->wait_for_window("^Tovali Explorer$");
  EXPECT_TRUE(window) << "the main window did not appear";
  return window.value_or("");
}

bool AppTest::start_openbox() {
  const std::string program = find_program("openbox");
  if (program.empty()) return false;
  TestEnvironment env = *m_env;
  env.set("DISPLAY", m_display->name());
  ProcessOptions options;
  options.argv = {program};
  options.env = env.entries();
  options.output_path = m_temp->path() + "openbox.log";
  std::string error;
  m_windowManager = ChildProcess::start(options, &error);
  EXPECT_TRUE(m_windowManager) << error;
  // Openbox publishes its desktops once it manages the screen.
  EXPECT_TRUE(m_windowManager &&
              wait_until([&] { return m_x->property("", "_NET_NUMBER_OF_DESKTOPS").has_value(); },
                         kStartTimeout))
      << "openbox did not take the screen";
  return true;
}

std::string AppTest::screenshot(const std::string& name) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string file = std::string(info->test_suite_name()) + "." + info->name() + "-" + name;
  for (char& c : file)
    if (c == '/') c = '_';
  const std::string path = screenshot_dir() + file + ".png";
  return m_x->screenshot(path) ? path : std::string();
}

void ExplorerTest::SetUp() {
  if (!ExplorerProcess::available() || !SettingsCommand::available())
    GTEST_SKIP() << "tovali-explorer or tovali-settings is not built";
  AppTest::SetUp();
}

}  // namespace tovali::testing
