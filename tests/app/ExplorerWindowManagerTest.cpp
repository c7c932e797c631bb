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
// other than a modifier, and for kKeysHeard once it listens.
constexpr const char* kKeysHeard = "/kids/keys-heard";
const char kKeyPage[] =
    "<script>var keys = 0; document.addEventListener('keydown', function (e) {"
    " if (/^(Control|Alt|Shift|Meta|OS|Super|Hyper)$/.test(e.key)) return;"
    " keys += 1; fetch('/key?' + keys); });"
    " window.addEventListener('load', function () { fetch('/kids/keys-heard'); });"
    "</script><p>keys</p>";

class ExplorerWindowManager : public GuardedBrowserTest {
 protected:
  // Openbox on the display, the program with the key page in its main
  // frame, which has the keyboard focus; the main window's id.
  std::string start_under_openbox(const char* prevent_switch) {
    if (!start_openbox()) return "";
    set_setting("prevent_switch", prevent_switch);
    write_site_file("key", "");
    write_site_file("kids/keys-heard", "");
    open_in_main_frame("/kids/keys.html", kKeyPage);
    EXPECT_TRUE(server().wait_for_path(kKeysHeard)) << server().log_text();
    const auto main = x().wait_for_window(kMainWindow);
    EXPECT_TRUE(main.has_value());
    if (!main) return "";
    // Openbox manages the window (it has given it a desktop).
    EXPECT_TRUE(wait_until([&] { return x().property(*main, "_NET_WM_DESKTOP").has_value(); },
                           kEventTimeout));
    EXPECT_TRUE(wait_until_painted());
    x().click_at(kMainFrameX, kMainFrameY);
    // The window manager gives the clicked window the focus in its own time.
    EXPECT_TRUE(wait_until([&] { return x().focused_toplevel() == main; }, kEventTimeout))
        << x().focused_toplevel().value_or("none");
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

// The pop-up under openbox with the lock on: on every desktop, no minimise
// button, and the window manager's shortcuts do not switch desktops.
TEST_F(ExplorerWindowManager, LockHoldsThePopupWhichHasNoMinimise) {
  if (find_program("openbox").empty()) GTEST_SKIP() << "openbox is not installed";
  ASSERT_TRUE(start_openbox());
  set_setting("prevent_switch", "1");
  set_setting("allow_new_window", "1");
  write_site_file("key", "");
  write_site_file("kids/keys-heard", "");
  write_page("/kids/popped.html", "Popped", kKeyPage);
  open_in_main_frame(
      "/kids/opener.html",
      "<a id='pop' href='/kids/popped.html' target='_blank'>pop</a>" + click_script("pop", 600));
  const auto popup = x().wait_for_window(kPopupWindow, kEventTimeout);
  ASSERT_TRUE(popup.has_value());
  ASSERT_TRUE(server().wait_for_path(kKeysHeard)) << server().log_text();
  EXPECT_TRUE(wait_until([&] { return x().property(*popup, "_NET_WM_DESKTOP") == kAllDesktops; },
                         kEventTimeout))
      << x().property(*popup, "_NET_WM_DESKTOP").value_or("none");
  const std::string actions = x().property(*popup, "_NET_WM_ALLOWED_ACTIONS").value_or("");
  EXPECT_NE(actions.find("_NET_WM_ACTION_MOVE"), std::string::npos) << actions;
  EXPECT_EQ(actions.find("MINIMIZE"), std::string::npos) << actions;

  const auto where = x().geometry(*popup);
  ASSERT_TRUE(where.has_value());
  ASSERT_TRUE(x().click_at(where->x + where->width / 2, where->y + where->height / 2));
  ASSERT_TRUE(wait_until([&] { return x().focused_toplevel() == popup; }, kEventTimeout))
      << x().focused_toplevel().value_or("none");
  ASSERT_TRUE(x().key("ctrl+alt+Right"));
  ASSERT_TRUE(wait_until([&] { return keys_seen() == 1; }, kEventTimeout)) << server().log_text();
  EXPECT_EQ(current_desktop(), "0");
  EXPECT_TRUE(x().viewable(*popup));
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
