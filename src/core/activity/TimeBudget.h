#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "activity/ActivityRecord.h"
#include "activity/DailyLimits.h"
#include "activity/LocalDate.h"
#include "base/Clock.h"

namespace tovali {

// Whether the time since the last tick belongs to the child.
enum class Counting {
  No,   // a parent's window is open
  Yes,  // the program runs for the child
};

// The daily time of the child: counts the seconds used per local date into
// an ActivityRecord and answers what the shell shows. The shell calls tick()
// about once a second with the wall clock's local date and minute and the
// monotonic clock; only monotonic time counts, so a wall clock that jumps
// never gives negative time, and the seconds of a date stay in the record,
// so a date never gets a second budget. Time is not counted while time is up.
class TimeBudget {
 public:
  // The longest step one tick counts: a longer gap (a stalled main loop, a
  // resumed machine) counts as this much.
  static constexpr std::chrono::seconds kMaxStep{5};
  // The warning comes when this much time or less is left.
  static constexpr std::chrono::seconds kWarningBefore{5 * 60};
  // What the parent's button adds.
  static constexpr int kExtraMinutes = 15;

  // `record` holds the dates' seconds (as loaded from the store) and
  // receives the new ones; it must outlive the budget.
  TimeBudget(DailyLimits limits, ActivityRecord& record);

  // Moves to `now` (the local date and minute) at `monotonic`. With
  // Counting::Yes the monotonic time since the previous tick, clamped to
  // 0..kMaxStep, is added to the date of `now` unless time is up. The first
  // tick only sets the starting point.
  void tick(const LocalMoment& now, Clock::TimePoint monotonic, Counting counting);

  // Adds `minutes` (kExtraMinutes for the button) to the date of the last
  // tick. Before the first tick it does nothing.
  void add_extra_minutes(int minutes = kExtraMinutes);

  // The whole minutes left today, rounded up; nullopt without a daily
  // limit. 0 once the limit is reached.
  std::optional<int> minutes_left() const;

  // The warning for the message panel, once per date: the first time it is
  // asked when kWarningBefore or less (and more than nothing) is left, the
  // minutes left as minutes_left_text() says them ("5 minutes left today";
  // "3 minutes left today" when the day started with three). Nullopt at
  // every other time.
  std::optional<std::string> take_warning();

  // "N minutes left today", "1 minute left today". Any other count is said
  // the same way ("0 minutes left today").
  static std::string minutes_left_text(int minutes);

  // True when the daily limit is reached or the last tick's minute lies in
  // the bedtime.
  bool time_is_up() const;

  // True when the last tick's minute lies in the bedtime.
  bool in_bedtime() const;

  // The date of the last tick (meaningless before it).
  const LocalDate& today() const { return m_now.date; }

  const DailyLimits& limits() const { return m_limits; }

 private:
  // Seconds left today (never negative); meaningful with a daily limit only.
  long long seconds_left() const;

  DailyLimits m_limits;
  ActivityRecord& m_record;
  LocalMoment m_now;
  std::optional<Clock::TimePoint> m_last;
  std::chrono::milliseconds m_unsaved{0};  // counted, below a whole second
};

}  // namespace tovali
