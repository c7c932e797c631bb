#include "activity/TimeBudget.h"

#include <algorithm>
#include <utility>

#include "base/Translate.h"

namespace tovali {

TimeBudget::TimeBudget(DailyLimits limits, ActivityRecord& record)
    : m_limits(std::move(limits)), m_record(record) {}

void TimeBudget::tick(const LocalMoment& now, Clock::TimePoint monotonic, Counting counting) {
  const bool first = !m_last.has_value();
  auto step = first ? Clock::TimePoint::duration::zero() : monotonic - *m_last;
  m_last = monotonic;
  if (now.date != m_now.date) m_unsaved = std::chrono::milliseconds{0};
  m_now = now;
  if (first || counting == Counting::No || time_is_up()) return;
  step = std::clamp<Clock::TimePoint::duration>(step, Clock::TimePoint::duration::zero(), kMaxStep);
  m_unsaved += std::chrono::duration_cast<std::chrono::milliseconds>(step);
  const auto whole = std::chrono::duration_cast<std::chrono::seconds>(m_unsaved);
  m_unsaved -= whole;
  m_record.day(now.date).seconds_used += static_cast<std::uint64_t>(whole.count());
}

void TimeBudget::add_extra_minutes(int minutes) {
  if (!m_last || minutes <= 0) return;
  DayActivity& day = m_record.day(m_now.date);
  day.extra_minutes = std::min(day.extra_minutes + minutes, kMaxDailyMinutes);
}

long long TimeBudget::seconds_left() const {
  const DayActivity* day = m_record.find(m_now.date);
  const long long used = day ? static_cast<long long>(day->seconds_used) : 0;
  const long long extra = day ? day->extra_minutes : 0;
  return std::max(0LL, (m_limits.daily_minutes.value_or(0) + extra) * 60 - used);
}

std::optional<int> TimeBudget::minutes_left() const {
  if (!m_limits.daily_minutes) return std::nullopt;
  return static_cast<int>((seconds_left() + 59) / 60);
}

std::optional<std::string> TimeBudget::take_warning() {
  if (!m_limits.daily_minutes || !m_last) return std::nullopt;
  const long long left = seconds_left();
  if (left == 0 || left > kWarningBefore.count()) return std::nullopt;
  DayActivity& day = m_record.day(m_now.date);
  if (day.warned) return std::nullopt;
  day.warned = true;
  // Rounded up as the status line rounds: at most 5 here, at least 1.
  return minutes_left_text(*minutes_left());
}

std::string TimeBudget::minutes_left_text(int minutes) {
  return fill(tr_plural("{1} minute left today", "{1} minutes left today",
                        static_cast<unsigned long>(minutes < 0 ? 0 : minutes)),
              {std::to_string(minutes)});
}

bool TimeBudget::in_bedtime() const {
  return m_last && m_limits.bedtime && m_limits.bedtime->contains(m_now.minute_of_day);
}

bool TimeBudget::time_is_up() const {
  return in_bedtime() || (m_last && m_limits.daily_minutes && seconds_left() == 0);
}

}  // namespace tovali
