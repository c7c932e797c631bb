#include "activity/DailyLimits.h"

#include "settings/SettingValues.h"

namespace tovali {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<int> parse_minutes(std::string_view text, bool* bad) {
  *bad = false;
  if (text.empty()) return std::nullopt;
  if (text.size() > 6) {
    *bad = true;
    return std::nullopt;
  }
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      *bad = true;
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
  }
  if (value > kMaxDailyMinutes) *bad = true;
  if (value == 0 || *bad) return std::nullopt;
  return value;
}

}  // namespace

bool Bedtime::contains(int minute_of_day) const {
  if (start_minute <= end_minute)
    return minute_of_day >= start_minute && minute_of_day < end_minute;
  return minute_of_day >= start_minute || minute_of_day < end_minute;
}

DailyLimits parse_daily_limits(std::string_view daily_minutes, std::string_view bedtime) {
  DailyLimits limits;
  bool bad = false;
  const std::string_view minutes_text = trimmed(daily_minutes);
  limits.daily_minutes = parse_minutes(minutes_text, &bad);
  if (bad) {
    limits.problems.push_back("daily_minutes \"" + std::string(minutes_text) +
                              "\" is not a whole number of minutes from 0 to 1440; no daily limit");
  }
  const std::string_view bedtime_text = trimmed(bedtime);
  if (!bedtime_text.empty()) {
    const int start = bedtime_text.size() == 11 && bedtime_text[5] == '-'
                          ? clock_minutes(bedtime_text.substr(0, 5))
                          : -1;
    const int end = start < 0 ? -1 : clock_minutes(bedtime_text.substr(6));
    if (end < 0 || start == end) {
      limits.problems.push_back("bedtime \"" + std::string(bedtime_text) +
                                "\" is not HH:MM-HH:MM with two different times; no bedtime");
    } else {
      limits.bedtime = Bedtime{start, end};
    }
  }
  return limits;
}

}  // namespace tovali
