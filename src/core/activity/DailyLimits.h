#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovali {

// The bedtime window in local minutes of the day; it may cross midnight
// (start after end, e.g. 20:30-07:00).
struct Bedtime {
  int start_minute = 0;  // 0..1439, inside the window
  int end_minute = 0;    // 0..1439, first minute after the window

  // True when `minute_of_day` lies in the window.
  bool contains(int minute_of_day) const;
};

// The daily time settings as the program applies them.
struct DailyLimits {
  std::optional<int> daily_minutes;  // none: no limit
  std::optional<Bedtime> bedtime;    // none: no bedtime
  // One readable line per value that was set aside; empty when all were good.
  std::vector<std::string> problems;

  bool any() const { return daily_minutes.has_value() || bedtime.has_value(); }
};

// Longest daily limit accepted: a whole day.
inline constexpr int kMaxDailyMinutes = 24 * 60;

// Reads the values of `daily_minutes` (a whole number 1..1440, spaces around
// it ignored; empty or "0" means no limit) and `bedtime` ("HH:MM-HH:MM",
// 24-hour local time, start and end different; empty means none). A bad value
// counts as not set and adds a line to `problems`. Never throws.
DailyLimits parse_daily_limits(std::string_view daily_minutes, std::string_view bedtime);

}  // namespace tovali
