#include "activity/TimeBudget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovali {
namespace {

using std::chrono::seconds;

TEST(DailyLimits, ReadsGoodValuesAndSetsBadOnesAsideWithAReason) {
  struct Case {
    const char* minutes;
    const char* bedtime;
    std::optional<int> limit;
    int start;  // -1: no bedtime
    int end;
    std::size_t problems;
  };
  const Case cases[] = {
      {"", "", std::nullopt, -1, 0, 0},
      {"0", "", std::nullopt, -1, 0, 0},
      {" 90 ", "20:30-07:00", 90, 20 * 60 + 30, 7 * 60, 0},
      {"1440", "00:00-23:59", 1440, 0, 23 * 60 + 59, 0},
      {"1441", "", std::nullopt, -1, 0, 1},
      {"-5", "", std::nullopt, -1, 0, 1},
      {"1.5", "", std::nullopt, -1, 0, 1},
      {"99999999999", "", std::nullopt, -1, 0, 1},
      {"", "20:30", std::nullopt, -1, 0, 1},
      {"", "24:00-07:00", std::nullopt, -1, 0, 1},
      {"", "8:00-09:00", std::nullopt, -1, 0, 1},
      {"", "20:00-20:00", std::nullopt, -1, 0, 1},
      {"", "20:00 07:00", std::nullopt, -1, 0, 1},
      {"x", "7", std::nullopt, -1, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.minutes) + " / " + c.bedtime);
    const DailyLimits limits = parse_daily_limits(c.minutes, c.bedtime);
    EXPECT_EQ(limits.daily_minutes, c.limit);
    ASSERT_EQ(limits.bedtime.has_value(), c.start >= 0);
    if (limits.bedtime) {
      EXPECT_EQ(limits.bedtime->start_minute, c.start);
      EXPECT_EQ(limits.bedtime->end_minute, c.end);
    }
    EXPECT_EQ(limits.problems.size(), c.problems);
  }
}

TEST(DailyLimits, BedtimeMayCrossMidnight) {
  const Bedtime night = *parse_daily_limits("", "20:30-07:00").bedtime;
  const Bedtime nap = *parse_daily_limits("", "13:00-14:00").bedtime;
  struct Case {
    int minute;
    bool in_night;
    bool in_nap;
  };
  for (const Case c :
       {Case{0, true, false}, Case{6 * 60 + 59, true, false}, Case{7 * 60, false, false},
        Case{13 * 60, false, true}, Case{14 * 60, false, false}, Case{20 * 60 + 29, false, false},
        Case{20 * 60 + 30, true, false}, Case{1439, true, false}}) {
    EXPECT_EQ(night.contains(c.minute), c.in_night) << c.minute;
    EXPECT_EQ(nap.contains(c.minute), c.in_nap) << c.minute;
  }
}

// A budget driven by hand: the wall clock and the monotonic clock move
// separately, as they do when the machine's time is set.
class TimeBudgetTest : public ::testing::Test {
 protected:
  void make(const char* minutes, const char* bedtime = "") {
    m_budget.emplace(parse_daily_limits(minutes, bedtime), m_record);
  }
  // Ticks every second for `count` seconds at the given wall-clock minute.
  void run(seconds count, LocalMoment at, Counting counting = Counting::Yes) {
    for (long i = 0; i < count.count(); ++i) {
      m_monotonic += seconds{1};
      m_budget->tick(at, m_monotonic, counting);
    }
  }
  std::uint64_t used(const LocalDate& date) const {
    const DayActivity* day = m_record.find(date);
    return day ? day->seconds_used : 0;
  }

  const LocalDate m_day1{2026, 12, 10};
  const LocalDate m_day2{2026, 12, 11};
  ActivityRecord m_record;
  std::optional<TimeBudget> m_budget;
  Clock::TimePoint m_monotonic{};
};

TEST_F(TimeBudgetTest, WithoutSettingsTimeIsCountedButNeverUp) {
  make("", "");
  run(seconds{120}, {m_day1, 600});
  EXPECT_EQ(used(m_day1), 119u);  // the first tick only starts the count
  EXPECT_EQ(m_budget->minutes_left(), std::nullopt);
  EXPECT_FALSE(m_budget->time_is_up());
  EXPECT_FALSE(m_budget->take_warning());
}

TEST_F(TimeBudgetTest, CountsOnlyWhileTheChildUsesTheProgramAndStopsAtTheLimit) {
  make("10");
  run(seconds{61}, {m_day1, 600});
  EXPECT_EQ(m_budget->minutes_left(), 9);
  run(seconds{300}, {m_day1, 601}, Counting::No);  // a parent's window is open
  EXPECT_EQ(used(m_day1), 60u);
  run(seconds{539}, {m_day1, 606});
  EXPECT_EQ(m_budget->minutes_left(), 1);  // one second left rounds up
  EXPECT_FALSE(m_budget->time_is_up());
  run(seconds{100}, {m_day1, 615});
  EXPECT_EQ(m_budget->minutes_left(), 0);
  EXPECT_TRUE(m_budget->time_is_up());
  EXPECT_EQ(used(m_day1), 600u);  // nothing counted after the end

  m_budget->add_extra_minutes();
  EXPECT_EQ(m_budget->minutes_left(), 15);
  EXPECT_FALSE(m_budget->time_is_up());
  run(seconds{15 * 60 + 1}, {m_day1, 620});
  EXPECT_TRUE(m_budget->time_is_up());
}

TEST_F(TimeBudgetTest, WarnsOnceADateWhenFiveMinutesAreLeft) {
  make("7");
  run(seconds{120}, {m_day1, 600});
  EXPECT_FALSE(m_budget->take_warning());  // 5:01 left
  run(seconds{1}, {m_day1, 602});
  EXPECT_EQ(m_budget->take_warning(), "5 minutes left today");
  EXPECT_FALSE(m_budget->take_warning());
  m_budget->add_extra_minutes();
  run(seconds{15 * 60}, {m_day1, 603});
  EXPECT_FALSE(m_budget->take_warning());  // still the same date

  // A new date has a new budget and a new warning; the old date is kept.
  run(seconds{2}, {m_day2, 0});
  EXPECT_EQ(used(m_day2), 2u);
  EXPECT_EQ(m_budget->minutes_left(), 7);
  run(seconds{120}, {m_day2, 2});
  EXPECT_EQ(m_budget->take_warning(), "5 minutes left today");
  EXPECT_EQ(used(m_day1), 120u + 15 * 60);
}

TEST_F(TimeBudgetTest, AShortDaySaysTheMinutesThatAreLeftWhenItWarns) {
  struct Case {
    const char* daily_minutes;
    seconds used_before;  // counted before the first question
    const char* warning;  // what the message panel is told, as the status line says it
  };
  const Case cases[] = {
      {"1", seconds{0}, "1 minute left today"},
      {"2", seconds{0}, "2 minutes left today"},
      {"3", seconds{0}, "3 minutes left today"},
      {"3", seconds{61}, "2 minutes left today"},  // 1:59 left rounds up
      {"5", seconds{0}, "5 minutes left today"},
      {"6", seconds{60}, "5 minutes left today"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.daily_minutes) + " after " + std::to_string(c.used_before.count()));
    m_record = ActivityRecord();
    make(c.daily_minutes);
    run(c.used_before + seconds{1}, {m_day1, 600});  // the first tick only starts the count
    const std::optional<int> left = m_budget->minutes_left();
    ASSERT_TRUE(left);
    EXPECT_EQ(m_budget->take_warning(), c.warning);
    EXPECT_EQ(TimeBudget::minutes_left_text(*left), c.warning);
    EXPECT_FALSE(m_budget->take_warning());
  }
}

TEST_F(TimeBudgetTest, BedtimeAcrossMidnightEndsTheTimeUntilItsEnd) {
  make("", "21:00-07:00");
  struct Case {
    LocalMoment at;
    bool up;
  };
  for (const Case c :
       {Case{{m_day1, 20 * 60 + 59}, false}, Case{{m_day1, 21 * 60}, true}, Case{{m_day2, 0}, true},
        Case{{m_day2, 6 * 60 + 59}, true}, Case{{m_day2, 7 * 60}, false}}) {
    run(seconds{3}, c.at);
    EXPECT_EQ(m_budget->time_is_up(), c.up) << c.at.date.text() << " " << c.at.minute_of_day;
    EXPECT_EQ(m_budget->in_bedtime(), c.up);
  }
  m_budget->add_extra_minutes();  // extra time does not lift a bedtime
  run(seconds{1}, {m_day2, 22 * 60});
  EXPECT_TRUE(m_budget->time_is_up());
}

TEST_F(TimeBudgetTest, ClockJumpsNeverGiveNegativeTimeOrASecondBudget) {
  make("30");
  run(seconds{10 * 60 + 1}, {m_day2, 600});
  // The monotonic clock stalls or goes back: nothing counts, nothing goes back.
  m_budget->tick({m_day2, 601}, m_monotonic - seconds{3600}, Counting::Yes);
  m_budget->tick({m_day2, 601}, m_monotonic - seconds{3600}, Counting::Yes);
  EXPECT_EQ(used(m_day2), 600u);
  // A long gap counts as one step at most.
  m_monotonic += seconds{5000};
  m_budget->tick({m_day2, 602}, m_monotonic, Counting::Yes);
  EXPECT_EQ(used(m_day2), 600u + TimeBudget::kMaxStep.count());

  // The wall clock goes back a day and forward again: each date keeps its
  // own seconds, so returning to a date continues its count.
  run(seconds{60}, {m_day1, 600});
  EXPECT_EQ(used(m_day1), 60u);
  run(seconds{60}, {m_day2, 603});
  EXPECT_EQ(used(m_day2), 605u + 60);
  EXPECT_EQ(m_budget->minutes_left(), 19);
}

TEST_F(TimeBudgetTest, ABudgetLoadedFromTheRecordContinuesItsDate) {
  m_record.day(m_day1).seconds_used = 25 * 60;
  m_record.day(m_day1).extra_minutes = 15;
  m_record.day(m_day1).warned = true;
  make("30");
  m_budget->add_extra_minutes();  // before the first tick: no date yet
  run(seconds{1}, {m_day1, 600});
  EXPECT_EQ(m_budget->minutes_left(), 20);
  EXPECT_FALSE(m_budget->take_warning());
  run(seconds{20 * 60}, {m_day1, 600});
  EXPECT_TRUE(m_budget->time_is_up());
}

}  // namespace
}  // namespace tovali
