#include "activity/ActivityReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace tovali {
namespace {

TEST(ActivityReport, NewestDateFirstHostsByNameThenTheMinutesUsed) {
  const LocalDate today{2026, 12, 10};
  const LocalDate yesterday{2026, 12, 9};
  const LocalDate week_ago{2026, 12, 3};
  ActivityRecord record;
  record.add_opened(today, "http://zoo.test/");
  record.add_opened(today, "http://zoo.test/lions");
  record.add_refused(today, "http://ads.test/");
  record.add_request(today, "http://games.test/", RequestAnswer::Declined);
  record.add_request(today, "http://games.test/a", RequestAnswer::AllowedOnce);
  record.add_request(today, "http://games.test/b", RequestAnswer::NoAnswer);
  record.add_request(today, "http://zoo.test/map", RequestAnswer::AllowedAlways);
  record.day(today).seconds_used = 45 * 60 + 59;
  record.day(yesterday).seconds_used = 30;
  record.add_opened(week_ago, "http://a.test/");
  record.add_opened(LocalDate{2026, 12, 11}, "http://future.test/");

  record.add_blocked(today, "http://ads.test/banner.png");
  record.add_blocked(today, "http://ads.test/track.js");

  const std::vector<std::string> all = {
      "2026-12-10\tads.test\t0\t1\t0\t0\t0\t0\t2", "2026-12-10\tgames.test\t0\t0\t3\t1\t0\t1\t0",
      "2026-12-10\tzoo.test\t2\t0\t1\t0\t1\t0\t0", "2026-12-10\t*\t45\t0\t0\t0\t0\t0\t0",
      "2026-12-09\t*\t0\t0\t0\t0\t0\t0\t0",        "2026-12-03\ta.test\t1\t0\t0\t0\t0\t0\t0",
      "2026-12-03\t*\t0\t0\t0\t0\t0\t0\t0",
  };
  // Every line has the fields the header names.
  const auto fields = [](const std::string& line) {
    return std::count(line.begin(), line.end(), '\t') + 1;
  };
  for (const std::string& line : all) EXPECT_EQ(fields(line), fields(kActivityReportHeader));
  EXPECT_EQ(activity_report_lines(record, today, 14), all);
  EXPECT_EQ(activity_report_lines(record, today, 8), all);
  EXPECT_EQ(activity_report_lines(record, today, 7),
            std::vector<std::string>(all.begin(), all.begin() + 5));
  EXPECT_EQ(activity_report_lines(record, today, 1),
            std::vector<std::string>(all.begin(), all.begin() + 4));
  EXPECT_TRUE(activity_report_lines(record, today, 0).empty());
  EXPECT_TRUE(activity_report_lines(ActivityRecord{}, today, 14).empty());
}

// The blocked items of a host come in the last field, after the eight that
// readers of the first fields take; each field keeps its place whatever
// else the host has.
TEST(ActivityReport, BlockedItemsComeLastPerHost) {
  const LocalDate today{2026, 12, 10};
  EXPECT_EQ(std::string(kActivityReportHeader),
            "DATE\tHOST\tOPENED\tREFUSED\tASKED\tONCE\tALWAYS\tDECLINED\tBLOCKED");
  const struct {
    const char* what;
    std::function<void(ActivityRecord&)> record;
    std::vector<std::string> lines;
  } cases[] = {
      {"blocked items alone make the host's line",
       [&](ActivityRecord& r) {
         for (const char* url :
              {"http://ads.test/a.png", "https://cdn.Ads.test/b.js", "http://ads.test/c?x=1"}) {
           r.add_blocked(today, url);
         }
       },
       {"2026-12-10\tads.test\t0\t0\t0\t0\t0\t0\t3", "2026-12-10\t*\t0\t0\t0\t0\t0\t0\t0"}},
      {"beside pages opened, refused and asked about",
       [&](ActivityRecord& r) {
         r.add_opened(today, "http://zoo.test/");
         r.add_refused(today, "http://zoo.test/shop");
         r.add_request(today, "http://zoo.test/shop", RequestAnswer::Declined);
         r.add_blocked(today, "http://zoo.test/tracker.gif");
       },
       {"2026-12-10\tzoo.test\t1\t1\t1\t0\t0\t1\t1", "2026-12-10\t*\t0\t0\t0\t0\t0\t0\t0"}},
      {"the program's own pages and addresses of no site are not counted",
       [&](ActivityRecord& r) {
         r.add_blocked(today, "file:///usr/share/tovali-explorer/menu.html");
         r.add_blocked(today, "data:image/png;base64,AAAA");
         r.add_blocked(today, "about:blank");
       },
       {}},
      {"under each date's own lines",
       [&](ActivityRecord& r) {
         r.add_blocked(today, "http://a.test/");
         r.add_blocked(LocalDate{2026, 12, 9}, "http://b.test/");
         r.add_blocked(LocalDate{2026, 12, 9}, "http://b.test/");
       },
       {"2026-12-10\ta.test\t0\t0\t0\t0\t0\t0\t1", "2026-12-10\t*\t0\t0\t0\t0\t0\t0\t0",
        "2026-12-09\tb.test\t0\t0\t0\t0\t0\t0\t2", "2026-12-09\t*\t0\t0\t0\t0\t0\t0\t0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ActivityRecord record;
    c.record(record);
    EXPECT_EQ(activity_report_lines(record, today, 14), c.lines);
  }
}

TEST(ActivityReport, RecentDaysListEveryDateNewestFirst) {
  const LocalDate today{2027, 1, 2};  // the range crosses a year end
  ActivityRecord record;
  record.day(today).seconds_used = 10 * 60 + 59;
  record.add_opened(LocalDate{2026, 12, 30}, "http://zoo.test/");
  record.day(LocalDate{2026, 12, 29}).seconds_used = 600;  // before the range
  record.day(LocalDate{2027, 1, 3}).seconds_used = 600;    // after today

  const std::vector<RecentDay> days = recent_days(record, today, 4);
  ASSERT_EQ(days.size(), 4u);
  EXPECT_EQ(days[0].date, today);
  EXPECT_EQ(days[0].minutes, 10u);
  EXPECT_EQ(days[1].date, (LocalDate{2027, 1, 1}));
  EXPECT_EQ(days[1].activity, nullptr);
  EXPECT_EQ(days[2].date, (LocalDate{2026, 12, 31}));
  EXPECT_EQ(days[3].date, (LocalDate{2026, 12, 30}));
  ASSERT_NE(days[3].activity, nullptr);
  EXPECT_EQ(days[3].activity->hosts.at("zoo.test").opened, 1u);
  EXPECT_EQ(days[3].minutes, 0u);
  EXPECT_TRUE(recent_days(record, today, 0).empty());
  EXPECT_TRUE(recent_days(record, today, -1).empty());
}

}  // namespace
}  // namespace tovali
