#include "activity/ActivityReport.h"

#include <gtest/gtest.h>

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
  record.day(today).seconds_used = 45 * 60 + 59;
  record.day(yesterday).seconds_used = 30;
  record.add_opened(week_ago, "http://a.test/");
  record.add_opened(LocalDate{2026, 12, 11}, "http://future.test/");

  const std::vector<std::string> all = {
      "2026-12-10\tads.test\t0\t1", "2026-12-10\tgames.test\t0\t0", "2026-12-10\tzoo.test\t2\t0",
      "2026-12-10\t*\t45\t0",       "2026-12-09\t*\t0\t0",          "2026-12-03\ta.test\t1\t0",
      "2026-12-03\t*\t0\t0",
  };
  EXPECT_EQ(activity_report_lines(record, today, 14), all);
  EXPECT_EQ(activity_report_lines(record, today, 8), all);
  EXPECT_EQ(activity_report_lines(record, today, 7),
            std::vector<std::string>(all.begin(), all.begin() + 5));
  EXPECT_EQ(activity_report_lines(record, today, 1),
            std::vector<std::string>(all.begin(), all.begin() + 4));
  EXPECT_TRUE(activity_report_lines(record, today, 0).empty());
  EXPECT_TRUE(activity_report_lines(ActivityRecord{}, today, 14).empty());
}

}  // namespace
}  // namespace tovali
