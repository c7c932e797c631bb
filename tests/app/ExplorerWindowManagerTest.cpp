// The real program under the window manager openbox: with "prevent_switch"
// on, the window manager's shortcuts reach the program instead, and a
// desktop switch the keyboard cannot stop leaves the program in view; with
// it off the shortcuts switch desktops (the window manager really has them).
#include <string>

#include "ChildProcess.h"
#include "GuardedBrowserTest.h"
#include "Polling.h"
#include "RunCommand.h"

namespace tovali::testing {
namespace {

// _NET_WM_DESKTOP of a window on every desktop.
constexpr const char* kAllDesktops = "4294967295";

// A main-frame page that asks the server for "/key?N" at the N-th key
// other than a modifier.
const char kKeyPage[] =
    "<script>var keys = 0; document.addEventListener('keydown', function (e) {"
    " if (/^(Control|Alt|Shift|Meta|OS|Super|Hyper)$/.test(e.key)) return;"
    " keys += 1; fetch('/key?' + keys); });</script><p>keys</p>";

class ExplorerWindowManager : public GuardedBrowserTest {
 protected:
  // Openbox on the display, the program with the key page in its main
  // frame, which has the keyboard focus; the main window's id.
  std::string start_under_openbox(const char* prevent_switch) {
    if (!start_openbox()) return "";
    set_setting("prevent_switch", prevent_switch);
    write_site_file("key", "");
    open_in_main_frame("/kids/keys.html", kKeyPage);
    const auto main = x().wait_for_window(kMainWindow);
    EXPECT_TRUE(main.has_value());
    if (!main) return "";
    // Openbox manages the window (it has given it a desktop).
    EXPECT_TRUE(wait_until([&] { return x().property(*main, "_NET_WM_DESKTOP").has_value(); },
                           kEventTimeout));
    EXPECT_TRUE(wait_until_painted());
    x().click_at(kMainFrameX, kMainFrameY);
    return *main;
  }

  // How many keys reached the page.
  int keys_seen() {
    int n = 0;
    for (const auto& request : server().requests())
      if (request.path() == "/key") ++n;
    return n;
  }

  std::string current_desktop() { return x().property("", "_NET_CURRENT_DESKTOP").value_or("?"); }

  bool xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {find_program("xdotool")};
    argv.insert(argv.end(), args.begin(), args.end());
    return run_command(argv, {{"DISPLAY", display().name()}}, 20).exit_status == 0;
  }
};

TEST_F(ExplorerWindowManager, LockKeepsTheWindowManagersShortcutsAndDesktopsAway) {
  if (find_program("openbox").empty()) GTEST_SKIP() << "openbox is not installed";
  const std::string main = start_under_openbox("1");
  ASSERT_FALSE(main.empty());
  // On every desktop.
  ASSERT_TRUE(wait_until([&] { return x().property(main, "_NET_WM_DESKTOP") == kAllDesktops; },
                         kEventTimeout))
      << x().property(main, "_NET_WM_DESKTOP").value_or("none");
  ASSERT_EQ(current_desktop(), "0");

  // Next desktop, go to desktop 2, the window menu: each reaches the page
  // (its request is the sign the key was handled) and none the window
  // manager.
  int sent = 0;
  for (const char* keys : {"ctrl+alt+Right", "super+F2", "alt+space"}) {
    SCOPED_TRACE(keys);
    ASSERT_TRUE(x().key(keys));
    ++sent;
    ASSERT_TRUE(wait_until([&] { return keys_seen() == sent; }, kEventTimeout))
        << server().log_text();
    EXPECT_EQ(current_desktop(), "0");
    EXPECT_TRUE(x().viewable(main));
  }
  EXPECT_TRUE(x().search("^Openbox|^Send to desktop").empty());

  // What the keyboard cannot stop: another program switches desktops, or
  // sends the window to another desktop (as the window menu does). The
  // program is back in view on the current desktop.
  ASSERT_TRUE(xdotool({"set_desktop", "2"}));
  ASSERT_TRUE(wait_until([&] { return current_desktop() == "2"; }, kEventTimeout));
  EXPECT_TRUE(wait_until([&] { return x().viewable(main); }, kEventTimeout));
  ASSERT_TRUE(xdotool({"set_desktop_for_window", main, "1"}));
  EXPECT_TRUE(wait_until(
      [&] { return x().property(main, "_NET_WM_DESKTOP") == kAllDesktops && x().viewable(main); },
      kEventTimeout))
      << x().property(main, "_NET_WM_DESKTOP").value_or("none");
  EXPECT_EQ(current_desktop(), "2");
  EXPECT_TRUE(explorer().process().running());
}

TEST_F(ExplorerWindowManager, WithoutTheLockTheShortcutsSwitchDesktops) {
  if (find_program("openbox").empty()) GTEST_SKIP() << "openbox is not installed";
  const std::string main = start_under_openbox("0");
  ASSERT_FALSE(main.empty());
  ASSERT_EQ(current_desktop(), "0");
  ASSERT_TRUE(x().key("ctrl+alt+Right"));
  EXPECT_TRUE(wait_until([&] { return current_desktop() == "1"; }, kEventTimeout));
  EXPECT_TRUE(wait_until([&] { return !x().viewable(main); }, kEventTimeout));
  EXPECT_NE(x().property(main, "_NET_WM_DESKTOP"), kAllDesktops);
  EXPECT_EQ(keys_seen(), 0);
}

}  // namespace
}  // namespace tovali::testing
