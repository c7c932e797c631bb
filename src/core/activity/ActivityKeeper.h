#pragma once

#include <memory>
#include <string>

#include "activity/ActivityRecord.h"
#include "activity/ActivityStore.h"
#include "activity/DailyLimits.h"
#include "activity/LocalDate.h"
#include "activity/TimeBudget.h"
#include "base/Clock.h"

namespace tovali {

// The daily time and the activity record of the running program, without
// its window: the record loaded from the state folder, the budget that
// counts into it, and the day files written as the days go by. No date
// leaves the record while the program runs, and a day file is only ever
// merged into (ActivityStore::save_day), so a wall clock that jumps ahead or
// back and returns finds its day as it was.
class ActivityKeeper {
 public:
  // Today's file is written once in this many ticks.
  static constexpr int kSaveEveryTicks = 60;

  // Loads the record of `state_dir` (ending with "/") on `now`'s date with
  // StoreAccess::Tidy, damaged files told in `report`, and starts the budget
  // with `limits` at `now` and `monotonic`. Never throws for bad files.
  ActivityKeeper(std::string state_dir, DailyLimits limits, const LocalMoment& now,
                 Clock::TimePoint monotonic, Counting counting, ActivityLoadReport* report);

  // Moves the budget to `now` (TimeBudget::tick). When that changed the
  // date, the file of the date that was left is written at once; today's
  // file is written every kSaveEveryTicks ticks. Returns what could not be
  // saved ("" when all was).
  std::string tick(const LocalMoment& now, Clock::TimePoint monotonic, Counting counting);

  // A new budget with `limits` over the same record, started at `now`.
  void set_limits(DailyLimits limits, const LocalMoment& now, Clock::TimePoint monotonic,
                  Counting counting);

  // Writes today's file. Returns what could not be saved ("" when it was).
  std::string save_now();

  TimeBudget& budget() { return *m_budget; }
  const TimeBudget& budget() const { return *m_budget; }
  ActivityRecord& record() { return m_record; }
  const ActivityRecord& record() const { return m_record; }

 private:
  std::string save_day(const LocalDate& date) const;

  ActivityStore m_store;
  ActivityRecord m_record;
  std::unique_ptr<TimeBudget> m_budget;
  int m_ticks_since_save = 0;
};

}  // namespace tovali
