#include "activity/LocalFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace tovali {
namespace {

TEST(GroupedNumber, PutsTheSeparatorBetweenGroupsOfThree) {
  struct Case {
    unsigned long long value;
    const char* separator;
    const char* expected;
  };
  const Case cases[] = {
      {0, ".", "0"},
      {999, ".", "999"},
      {1000, ".", "1.000"},
      {1440, ".", "1.440"},
      {1440, "", "1440"},
      {1234567, ",", "1,234,567"},
      {100000, "\u202f", "100\u202f000"},  // a narrow no-break space, several bytes
  };
  for (const Case& c : cases)
    EXPECT_EQ(grouped_number(c.value, c.separator), c.expected) << c.value;
}

TEST(LocalFormat, TheCLocalesKeepTheIsoDateAndPlainNumbers) {
  for (const char* locale : {"C", "C.UTF-8"}) {
    ASSERT_NE(std::setlocale(LC_TIME, locale), nullptr) << locale;
    EXPECT_EQ(local_date_text(LocalDate{2026, 3, 7}), "2026-03-07") << locale;
    setenv("LC_ALL", locale, 1);
    EXPECT_EQ(local_number_text(1440), "1440") << locale;
  }
  unsetenv("LC_ALL");
  std::setlocale(LC_TIME, "C");
}

}  // namespace
}  // namespace tovali
