#include "activity/LocalDate.h"

#include <chrono>
#include <cstdio>

namespace tovali {

namespace {

bool is_leap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap(year) ? 29 : kDays[month - 1];
}

int two_digits(std::string_view text, std::size_t at) {
  const char a = text[at];
  const char b = text[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

}  // namespace

std::string LocalDate::text() const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  return buffer;
}

// The civil-from-days and days-from-civil conversions in 400-year eras.
long LocalDate::days_since_epoch() const {
  const long y = static_cast<long>(year) - (month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long mp = month > 2 ? month - 3 : month + 9;
  const long doy = (153 * mp + 2) / 5 + day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

LocalDate LocalDate::from_days(long days) {
  const long z = days + 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  LocalDate date;
  date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

std::optional<LocalDate> LocalDate::parse(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const int century = two_digits(text, 0);
  const int years = two_digits(text, 2);
  const int month = two_digits(text, 5);
  const int day = two_digits(text, 8);
  if (century < 10 || years < 0 || month < 1 || month > 12 || day < 1) return std::nullopt;
  LocalDate date{century * 100 + years, month, day};
  if (day > days_in_month(date.year, month)) return std::nullopt;
  return date;
}

LocalMoment LocalMoment::from_tm(const std::tm& local) {
  LocalMoment moment;
  moment.date = LocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  moment.minute_of_day = local.tm_hour * 60 + local.tm_min;
  return moment;
}

LocalMoment local_moment_now() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return LocalMoment::from_tm(local);
}

}  // namespace tovali
