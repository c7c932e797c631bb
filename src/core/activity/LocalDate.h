#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tovali {

// A calendar date in local time (proleptic Gregorian).
struct LocalDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31

  // "YYYY-MM-DD" (the year with four digits).
  std::string text() const;

  // Days since 1970-01-01 (negative before it).
  long days_since_epoch() const;

  // The date `days` days after 1970-01-01.
  static LocalDate from_days(long days);

  // The date written as "YYYY-MM-DD" (exactly ten characters, a real date,
  // years 1000..9999); nullopt for anything else.
  static std::optional<LocalDate> parse(std::string_view text);

  friend bool operator==(const LocalDate& a, const LocalDate& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
  }
  friend bool operator!=(const LocalDate& a, const LocalDate& b) { return !(a == b); }
  friend bool operator<(const LocalDate& a, const LocalDate& b) {
    return a.days_since_epoch() < b.days_since_epoch();
  }
};

// A local date and the minute of that day: what the wall clock says.
struct LocalMoment {
  LocalDate date;
  int minute_of_day = 0;  // 0..1439

  // From a broken-down local time (as localtime_r fills it).
  static LocalMoment from_tm(const std::tm& local);
};

// The machine's local date and minute now.
LocalMoment local_moment_now();

}  // namespace tovali
