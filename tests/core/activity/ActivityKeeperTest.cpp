#include "activity/ActivityKeeper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "TempDir.h"

namespace tovali {
namespace {

using std::chrono::seconds;
using testing::TempDir;

const LocalDate kToday{2026, 12, 10};

LocalDate days_after(const LocalDate& date, long days) {
  return LocalDate::from_days(date.days_since_epoch() + days);
}

// The running program's daily time, ticked once a second by hand: the wall
// clock's date and the monotonic clock move separately.
class ActivityKeeperTest : public ::testing::Test {
 protected:
  ActivityKeeperTest() {
    ActivityRecord stored;
    stored.day(kToday).seconds_used = 3007;
    stored.add_opened(kToday, "http://games.test/");
    EXPECT_TRUE(m_store.save_day(stored, kToday));
  }
  void start(const LocalDate& date) {
    m_keeper.emplace(m_state.path(), parse_daily_limits("60", ""), LocalMoment{date, 600},
                     m_monotonic, Counting::Yes, nullptr);
  }
  void run(int count, const LocalDate& date) {
    for (int i = 0; i < count; ++i) {
      m_monotonic += seconds{1};
      EXPECT_EQ(m_keeper->tick({date, 600}, m_monotonic, Counting::Yes), "");
    }
  }
  const DayActivity& stored_today() {
    m_loaded = m_store.load(kToday, StoreAccess::ReadOnly);
    return *m_loaded.find(kToday);
  }

  TempDir m_state;
  ActivityStore m_store{m_state.path()};
  ActivityRecord m_loaded;
  Clock::TimePoint m_monotonic{};
  std::optional<ActivityKeeper> m_keeper;
};

TEST_F(ActivityKeeperTest, AClockThatJumpsWhileRunningKeepsTheDayAndItsTime) {
  for (const long jump : {100L, -100L, 1L}) {
    SCOPED_TRACE(jump);
    start(kToday);
    const std::uint64_t before = m_keeper->record().find(kToday)->seconds_used;
    run(8, days_after(kToday, jump));  // saves today when the date changes
    run(70, kToday);                   // saves the jumped date on the way back
    ASSERT_EQ(m_keeper->save_now(), "");

    EXPECT_EQ(m_keeper->record().find(kToday)->seconds_used, before + 70);
    EXPECT_EQ(stored_today().seconds_used, before + 70);
    EXPECT_EQ(stored_today().hosts.count("games.test"), 1u);
    EXPECT_EQ(m_keeper->budget().minutes_left(), (60 * 60 - (before + 70) + 59) / 60);
  }
}

TEST_F(ActivityKeeperTest, AStartWithTheClockAheadOrBackLosesNothingOfToday) {
  for (const long jump : {100L, -100L}) {
    SCOPED_TRACE(jump);
    start(days_after(kToday, jump));
    run(8, days_after(kToday, jump));
    ASSERT_EQ(m_keeper->save_now(), "");
    // The clock is set right while the program runs.
    run(71, kToday);
    ASSERT_EQ(m_keeper->save_now(), "");
    EXPECT_EQ(stored_today().seconds_used, m_keeper->record().find(kToday)->seconds_used);
    EXPECT_GE(stored_today().seconds_used, 3007u + 70);
    EXPECT_EQ(stored_today().hosts.count("games.test"), 1u);
  }
  // And the start after that, with the clock right, still has it all.
  start(kToday);
  EXPECT_GE(m_keeper->record().find(kToday)->seconds_used, 3007u + 140);
}

}  // namespace
}  // namespace tovali
