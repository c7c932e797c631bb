// The real program: pages that ask for new windows get the pop-up window or a
// refusal, as `allow_new_window` says; the pop-up opens no further windows.
#include <string>

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
             " setTimeout(function () { var w = window.open('/kids/third.html');"
             " new Image().src = '/kids/opened?' + (w ? 'window' : 'none'); }, 600); });</script>");
  write_page("/kids/third.html", "Third", "<p>third</p>");
  open_in_main_frame("/kids/opener.html", kOpener);
  const auto popup = x().wait_for_window(kPopupWindow, kEventTimeout);
  ASSERT_TRUE(popup.has_value());
  EXPECT_TRUE(server().wait_for_path("/kids/popped.html")) << server().log_text();
  // The pop-up's page reports what its window.open call returned: no window.
  EXPECT_TRUE(never_requested("/kids/third.html", "/kids/opened?none")) << server().log_text();
  screenshot("popup");
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
  // After the link, the page asks for the same page by window.open and
  // reports what it got: the program has decided on both by then.
  open_in_main_frame("/kids/opener.html",
                     std::string(kOpener) +
                         "<script>window.addEventListener('load', function () {"
                         " setTimeout(function () { var w = window.open('/kids/popped.html');"
                         " new Image().src = '/kids/opened?' + (w ? 'window' : 'none'); }, 900);"
                         " });</script>");
  EXPECT_TRUE(never_requested("/kids/popped.html", "/kids/opened?none")) << server().log_text();
  EXPECT_TRUE(x().search(kPopupWindow).empty());
  screenshot("new-window-refused");
}

}  // namespace
}  // namespace tovali::testing
