#pragma once

#include <string>
#include <string_view>

#include "activity/LocalDate.h"

namespace tovali {

// Dates and numbers as the session's locale writes them, for the windows;
// files and `tovali-settings report` keep the ISO and C forms.

// `date` as the LC_TIME locale in force writes a date (strftime "%x"), or
// "YYYY-MM-DD" in the "C" and "POSIX" locales and their variants such as
// "C.UTF-8", whose "%x" is the American short form.
std::string local_date_text(const LocalDate& date);

// `value` with the thousands separator of the session's LC_NUMERIC, read
// from the environment (the program keeps its own LC_NUMERIC at "C").
std::string local_number_text(unsigned long long value);

// `value` with `separator` between each group of three digits from the right
// ("" for none).
std::string grouped_number(unsigned long long value, std::string_view separator);

}  // namespace tovali
