// The real program: with "prevent_switch" on it pulls itself back in front of
// another program's window; with it off it leaves that window in front.
#include <string>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"
#include "RunCommand.h"

namespace tovali::testing {
namespace {

using ExplorerKiosk = GuardedBrowserTest;
using std::chrono::milliseconds;

bool is_red(Rgb c) {
  return c.r > 200 && c.g < 40 && c.b < 40;
}

class OtherProgram {
 public:
  OtherProgram(AppTest& test, TestEnvironment env, const std::string& display,
               const std::string& output) {
    ProcessOptions options;
    options.argv = {TOVALI_TEST_PROBE_WINDOW};
    env.set("DISPLAY", display);
    options.env = env.entries();
    options.output_path = output;
    std::string error;
    m_process = ChildProcess::start(options, &error);
    EXPECT_TRUE(m_process) << error;
    (void)test;
  }
  bool started() const { return m_process != nullptr; }

 private:
  std::unique_ptr<ChildProcess> m_process;
};

class ExplorerKioskWith : public ExplorerKiosk, public ::testing::WithParamInterface<bool> {
 protected:
  // The other program's red window sits at the top left corner when it is
  // in front.
  bool other_in_front(const std::string& name) {
    const auto pixel = XTool::read_region(screenshot(name), 150, 100, 1, 1);
    return pixel && is_red(pixel->at(0, 0));
  }
};

TEST_P(ExplorerKioskWith, PreventSwitchDecidesWhoStaysInFront) {
  const bool lock = GetParam();
  set_setting("prevent_switch", lock ? "1" : "0");
  // The menu clicks its link "one" or "two" when the test writes that name
  // into kids/step.txt; the program issues each one on a tick of its
  // navigation queue, the same main loop that runs the kiosk lock.
  write_site_file("kids/step.txt", "none");
  write_page("/kids/one.html", "One", "<p>one</p>");
  write_page("/kids/two.html", "Two", "<p>two</p>");
  start_with_menu(menu_page({url_comment("001", "AD", domain("kiosk.localhost"))},
                            {{"one", menu_link("001", "/kids/one.html", "kiosk.localhost"), "One"},
                             {"two", menu_link("001", "/kids/two.html", "kiosk.localhost"), "Two"}},
                            step_script("/kids/step.txt")));
  const auto main_window = x().wait_for_window(kMainWindow);
  ASSERT_TRUE(main_window);
  ASSERT_TRUE(wait_until_painted());

  OtherProgram other(*this, env(), display().name(), temp().path() + "other.out");
  ASSERT_TRUE(other.started());
  const auto other_window = x().wait_for_window("^Harness Probe$");
  ASSERT_TRUE(other_window);
  // The other program becomes the active one: it takes the input focus (what
  // a window manager does when the user switches programs).
  const auto focus = run_command({find_program("xdotool"), "windowfocus", "--sync", *other_window},
                                 {{"DISPLAY", display().name()}}, 10);
  ASSERT_EQ(focus.exit_status, 0) << focus.err;
  if (lock) {
    // The program takes the front and the focus back (as soon as it can: on
    // a busy machine that is later than on an idle one).
    EXPECT_TRUE(
        wait_until([&] { return x().focused_window() == main_window && !other_in_front("locked"); },
                   kEventTimeout, milliseconds(300)))
        << "focus: " << x().focused_window().value_or("none");
  } else {
    // Two navigations later, two ticks of the queue's 200 ms timer have
    // passed: the lock's 100 ms timer has had its turn after the switch.
    for (const char* step : {"one", "two"}) {
      write_site_file("kids/step.txt", step);
      ASSERT_TRUE(server().wait_for_path(std::string("/kids/") + step + ".html"))
          << server().log_text();
    }
    EXPECT_TRUE(other_in_front("unlocked"));
  }
  EXPECT_TRUE(explorer().process().running());
}

INSTANTIATE_TEST_SUITE_P(Lock, ExplorerKioskWith, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

}  // namespace
}  // namespace tovali::testing
