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

  ASSERT_TRUE(wait_for_file(state_dir() + "timeup.html", std::chrono::seconds(90)));
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
  EXPECT_NE(report.find(date + "\t" + domain("shop.localhost") + "\t0\t1\n"), std::string::npos)
      << report;
  EXPECT_NE(report.find(date + "\t" + domain("zoo.localhost") + "\t1\t0\n"), std::string::npos)
      << report;
  EXPECT_NE(report.find(date + "\t*\t"), std::string::npos) << report;
}

}  // namespace
}  // namespace tovali::testing
