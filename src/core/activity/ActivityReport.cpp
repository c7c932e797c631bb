#include "activity/ActivityReport.h"

#include <utility>

namespace tovali {

std::vector<std::string> activity_report_lines(const ActivityRecord& record, const LocalDate& today,
                                               long days) {
  std::vector<std::string> lines;
  const long last = today.days_since_epoch();
  const long first = last - days + 1;
  const auto& all = record.days();
  for (auto it = all.upper_bound(last); it != all.begin();) {
    --it;
    if (it->first < first) break;
    const std::string date = LocalDate::from_days(it->first).text() + "\t";
    for (const auto& [host, counts] : it->second.hosts) {
      std::string line = date + host;
      for (const std::uint64_t count :
           {counts.opened, counts.refused, counts.asked, counts.allowed_once, counts.allowed_always,
            counts.declined, counts.blocked}) {
        line += "\t" + std::to_string(count);
      }
      lines.push_back(std::move(line));
    }
    lines.push_back(date + "*\t" + std::to_string(it->second.seconds_used / 60) +
                    "\t0\t0\t0\t0\t0\t0");
  }
  return lines;
}

std::vector<RecentDay> recent_days(const ActivityRecord& record, const LocalDate& today,
                                   long days) {
  std::vector<RecentDay> result;
  const long last = today.days_since_epoch();
  for (long day = last; day > last - days; --day) {
    RecentDay recent;
    recent.date = LocalDate::from_days(day);
    recent.activity = record.find(recent.date);
    if (recent.activity) recent.minutes = recent.activity->seconds_used / 60;
    result.push_back(recent);
  }
  return result;
}

}  // namespace tovali
