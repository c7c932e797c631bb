// The real program: the child's daily time running out and the activity
// record that `tovali-settings report` lists.
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

class ExplorerDailyTime : public GuardedBrowserTest {
 protected:
  // Today's local date, as the program names its day files.
  static std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
  }

  // Today's day file, as if `seconds` had been used already.
  void preload_today(int seconds) {
    std::filesystem::create_directories(state_dir() + "activity");
    std::ofstream(state_dir() + "activity/" + today() + ".txt")
        << "tovali-activity\t1\nused\t" << seconds << "\nextra\t0\nwarned\t0\n";
  }

  std::size_t count_of(const std::string& path) {
    std::size_t count = 0;
    for (const auto& r : server().requests()) count += r.path() == path ? 1 : 0;
    return count;
  }
};

// One minute a day, a quarter of it used before the start: the zoo link opens at
// first; once the minute is over the main frame shows the time-up page and
// the same link, clicked again by the menu page, never reaches the server.
TEST_F(ExplorerDailyTime, TheEndOfTheDailyMinutesShowsTheTimeUpPageAndRefusesLinks) {
  set_setting("daily_minutes", "1");
  preload_today(15);
  write_page("/kids/zoo.html", "Zoo", "<p>zoo</p>");
  // Clicks the link on every load of the menu, then asks for "/clicked".
  const std::string click_then_report =
      "<script>window.addEventListener('load', function () { setTimeout(function () {"
      " document.getElementById('zoo').click();"
      " new Image().src = '/clicked?' + Date.now(); }, 300); });</script>";
  start_with_menu(menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                            {{"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                            click_then_report));
  ASSERT_TRUE(server().wait_for_path("/kids/zoo.html")) << server().log_text();

  ASSERT_TRUE(wait_for_file(state_dir() + "timeup.html", std::chrono::seconds(45) + kStartTimeout));
  EXPECT_NE(state_file("timeup.html").find("Time is up for today. See you tomorrow!"),
            std::string::npos);
  // Three trips through the navigation queue, each until the menu page has
  // clicked the link again: a link let through would have been asked for
  // by then.
  for (int trip = 0; trip < 3; ++trip) {
    const std::size_t clicked = count_of("/clicked");
    ASSERT_TRUE(home_round_trip()) << "trip " << trip << "\n" << server().log_text();
    ASSERT_TRUE(wait_until([&] { return count_of("/clicked") > clicked; }, kEventTimeout))
        << server().log_text();
  }
  EXPECT_EQ(count_of("/kids/zoo.html"), 1u) << server().log_text();
  EXPECT_EQ(state_file("prohurl.log"), "");  // refused silently
  screenshot("time-up");

  ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));
  // The whole minute is in the record.
  const std::string day = state_file("activity/" + today() + ".txt");
  const std::size_t used = day.find("\nused\t");
  ASSERT_NE(used, std::string::npos) << day;
  EXPECT_GE(std::stol(day.substr(used + 6)), 60) << day;
}

// The control panel opens without a password: left open, it does not stop
// the daily time, which runs out behind it.
TEST_F(ExplorerDailyTime, TheControlPanelLeftOpenRunsTheDailyTimeOut) {
  set_setting("daily_minutes", "1");
  preload_today(30);
  start_with_menu(menu_page({}, {}));
  ASSERT_TRUE(x().wait_for_window(kMainWindow));
  ASSERT_TRUE(wait_until_painted());
  ASSERT_TRUE(x().double_click_at(1250, 789));  // the tools picture
  // The control panel carries the same caption as the main window.
  ASSERT_TRUE(wait_until([this] { return x().search(kMainWindow).size() == 2; }, kEventTimeout));
  screenshot("control-panel-open");
  ASSERT_TRUE(wait_for_file(state_dir() + "timeup.html", std::chrono::seconds(90)))
      << "the daily time stood still behind the control panel";
  EXPECT_EQ(x().search(kMainWindow).size(), 2u);  // the panel was open all along
  screenshot("time-up-behind-the-control-panel");
}

// A game page that asks to stay (an onbeforeunload handler) still ends in
// the time-up page when the daily time runs out, whether the page's script
// dialogs are suppressed (`silent_mode` "1") or shown ("0"); the server sees
// no report from it after that. The page is green and reports every 400 ms;
// a click in it first gives it the child's interaction that the engine asks
// for before it lets a page ask to stay.
class ExplorerTimeUpLeavesThePage : public ExplorerDailyTime,
                                    public ::testing::WithParamInterface<bool> {};

TEST_P(ExplorerTimeUpLeavesThePage, EvenWhenThePageAsksToStay) {
  const auto green = [](Rgb p) { return p.g > 140 && p.r < 90 && p.b < 110; };
  set_setting("silent_mode", GetParam() ? "1" : "0");
  set_setting("daily_minutes", "1");
  preload_today(35);
  open_in_main_frame("/kids/game.html",
                     "<style>html,body{background:#22aa44;height:100%}</style>"
                     "<script>window.addEventListener('beforeunload', function (e) {"
                     " e.preventDefault(); e.returnValue = 'stay'; return 'stay'; });"
                     " var n = 0; setInterval(function () {"
                     " new Image().src = '/kids/playing?' + (++n); }, 400);</script>");
  ASSERT_TRUE(x().wait_for_screen(kMainFrameX, kMainFrameY, 100, 100, [&](const Image& image) {
    return image.width > 0 && image.count(green) == image.width * image.height;
  })) << "the game never showed";
  ASSERT_TRUE(x().click_at(kMainFrameX, kMainFrameY));
  ASSERT_TRUE(wait_for_file(state_dir() + "timeup.html", std::chrono::seconds(90)));
  // The time-up page is white where the game was green.
  ASSERT_TRUE(x().wait_for_screen(
      kMainFrameX, kMainFrameY, 100, 100,
      [](const Image& image) {
        return image.width > 0 && image.count([](Rgb p) {
          return p.r > 240 && p.g > 240 && p.b > 240;
        }) == image.width * image.height;
      },
      std::chrono::seconds(60)))
      << "the game page stayed";
  screenshot("time-up");
  const std::size_t reports = count_of("/kids/playing");
  ASSERT_TRUE(home_round_trip()) << server().log_text();
  EXPECT_EQ(count_of("/kids/playing"), reports) << server().log_text();
}

INSTANTIATE_TEST_SUITE_P(Silent, ExplorerTimeUpLeavesThePage, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

// A short session: one site opened, one refused; the report lists both
// under today's date with the minutes used.
TEST_F(ExplorerDailyTime, TheReportListsTheHostsOfASession) {
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  // The zoo page tells the server once it has loaded.
  write_page("/kids/zoo.html", "Zoo",
             "<script>window.addEventListener('load', function () {"
             " setTimeout(function () { fetch('/zoo-loaded'); }, 200); });</script>");
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                {{"shop", menu_link("001", "/kids/shop.html", "shop.localhost"), "Shop"},
                 {"zoo", menu_link("001", "/kids/zoo.html", "zoo.localhost"), "Zoo"}},
                click_script("shop", 800) + click_script("zoo", 1800)));
  ASSERT_TRUE(never_requested("/kids/shop.html", "/kids/zoo.html")) << server().log_text();
  ASSERT_TRUE(server().wait_for_path("/zoo-loaded")) << server().log_text();
  ASSERT_TRUE(explorer().signal_and_wait(SIGTERM));

  const std::string report = settings().report();
  const std::string date = today();
  // Opened, refused, then no grown-up request, no answer and no blocked item.
  EXPECT_NE(report.find(date + "\t" + domain("shop.localhost") + "\t0\t1\t0\t0\t0\t0\t0\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find(date + "\t" + domain("zoo.localhost") + "\t1\t0\t0\t0\t0\t0\t0\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find(date + "\t*\t"), std::string::npos) << report;
  // The start page and the other pages of the program itself count under
  // no host at all.
  EXPECT_EQ(report.find("(no host)"), std::string::npos) << report;
  EXPECT_EQ(report.find(date + "\t\t"), std::string::npos) << report;
}

}  // namespace
}  // namespace tovali::testing
