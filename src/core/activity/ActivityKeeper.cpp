#include "activity/ActivityKeeper.h"

#include <utility>

namespace tovali {

ActivityKeeper::ActivityKeeper(std::string state_dir, DailyLimits limits, const LocalMoment& now,
                               Clock::TimePoint monotonic, Counting counting,
                               ActivityLoadReport* report)
    : m_store(std::move(state_dir)) {
  m_record = m_store.load(now.date, StoreAccess::Tidy, report);
  set_limits(std::move(limits), now, monotonic, counting);
}

void ActivityKeeper::set_limits(DailyLimits limits, const LocalMoment& now,
                                Clock::TimePoint monotonic, Counting counting) {
  m_budget = std::make_unique<TimeBudget>(std::move(limits), m_record);
  m_budget->tick(now, monotonic, counting);
}

std::string ActivityKeeper::tick(const LocalMoment& now, Clock::TimePoint monotonic,
                                 Counting counting) {
  const LocalDate before = m_budget->today();
  m_budget->tick(now, monotonic, counting);
  std::string errors;
  if (m_budget->today() != before) errors += save_day(before);
  if (++m_ticks_since_save >= kSaveEveryTicks) errors += save_now();
  return errors;
}

std::string ActivityKeeper::save_now() {
  m_ticks_since_save = 0;
  return save_day(m_budget->today());
}

std::string ActivityKeeper::save_day(const LocalDate& date) const {
  std::string error;
  if (m_store.save_day(m_record, date, &error)) return {};
  return (error.empty() ? date.text() + " not saved" : error) + "\n";
}

}  // namespace tovali
