// The real program: pages that ask for new windows get the pop-up window or a
// refusal, as `allow_new_window` says; the pop-up opens no further windows.
#include <string>
#include <thread>

#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using ExplorerPopup = GuardedBrowserTest;

const char kOpener[] =
    "<a id='pop' href='/kids/popped.html' target='_blank'>pop</a>"
    "<script>window.addEventListener('load', function () { setTimeout(function () {"
    " document.getElementById('pop').click(); }, 600); });</script>";

TEST_F(ExplorerPopup, AllowedNewWindowOpensThePopupWhichOpensNoMore) {
  set_setting("allow_new_window", "1");
  write_page("/kids/popped.html", "Popped",
             "<h1>In the pop-up</h1><script>window.addEventListener('load', function () {"
             " setTimeout(function () { window.open('/kids/third.html'); }, 600); });</script>");
  write_page("/kids/third.html", "Third", "<p>third</p>");
  open_in_main_frame("/kids/opener.html", kOpener);
  const auto popup = x().wait_for_window(kPopupWindow, kEventTimeout);
  ASSERT_TRUE(popup.has_value());
  EXPECT_TRUE(server().wait_for_path("/kids/popped.html")) << server().log_text();
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  screenshot("popup");
  EXPECT_TRUE(never_requested("/kids/third.html")) << server().log_text();
  EXPECT_EQ(x().search(kPopupWindow).size(), 1u);

  // Close (the fifth button of the pop-up's toolbar) frees the window.
  const auto where = x().geometry(*popup);
  ASSERT_TRUE(where.has_value());
  ASSERT_TRUE(x().click_at(where->x + 1 + 4 * 69 + 34, where->y + 16));
  EXPECT_TRUE(x().wait_for_no_window(kPopupWindow));
  EXPECT_TRUE(explorer().process().running());
}

TEST_F(ExplorerPopup, NewWindowIsRefusedWhenNotAllowed) {
  set_setting("allow_new_window", "0");
  write_page("/kids/popped.html", "Popped", "<p>popped</p>");
  open_in_main_frame("/kids/opener.html", kOpener);
  EXPECT_TRUE(never_requested("/kids/popped.html")) << server().log_text();
  EXPECT_TRUE(x().search(kPopupWindow).empty());
  screenshot("new-window-refused");
}

}  // namespace
}  // namespace tovali::testing
