#include "activity/LocalFormat.h"

#include <langinfo.h>
#include <locale.h>

#include <clocale>
#include <ctime>

namespace tovali {

namespace {

bool is_c_locale(const char* name) {
  const std::string_view n = name == nullptr ? std::string_view("C") : std::string_view(name);
  return n == "C" || n == "POSIX" || n.substr(0, 2) == "C.";
}

}  // namespace

std::string local_date_text(const LocalDate& date) {
  if (is_c_locale(std::setlocale(LC_TIME, nullptr))) return date.text();
  std::tm tm{};
  tm.tm_year = date.year - 1900;
  tm.tm_mon = date.month - 1;
  tm.tm_mday = date.day;
  tm.tm_hour = 12;
  tm.tm_isdst = -1;
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%x", &tm);
  return length == 0 ? date.text() : std::string(text, length);
}

std::string local_number_text(unsigned long long value) {
  const locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (numeric == static_cast<locale_t>(nullptr)) return std::to_string(value);
  const char* separator = ::nl_langinfo_l(THOUSEP, numeric);
  std::string text = grouped_number(value, separator == nullptr ? "" : separator);
  ::freelocale(numeric);
  return text;
}

std::string grouped_number(unsigned long long value, std::string_view separator) {
  const std::string digits = std::to_string(value);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) text += separator;
    text += digits[i];
  }
  return text;
}

}  // namespace tovali
