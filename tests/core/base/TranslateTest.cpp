#include "base/Translate.h"

#include <libintl.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GermanCatalogue.h"

namespace tovali {
namespace {

TEST(Fill, ReplacesNumberedPlaceholdersInAnyOrder) {
  EXPECT_EQ(fill("{1} of {2}", {"3", "7"}), "3 of 7");
  EXPECT_EQ(fill("{2} before {1}", {"a", "b"}), "b before a");
  EXPECT_EQ(fill("{1}{1}", {"x"}), "xx");
  EXPECT_EQ(fill("{3} {x} {} {1", {"a"}), "{3} {x} {} {1");
  EXPECT_EQ(fill("", {"a"}), "");
}

TEST(Translate, EnglishWithoutACatalogue) {
  EXPECT_STREQ(tr("Back"), "Back");
  EXPECT_STREQ(tr(""), "");
  EXPECT_STREQ(tr_plural("{1} minute left today", "{1} minutes left today", 1),
               "{1} minute left today");
  EXPECT_STREQ(tr_plural("{1} minute left today", "{1} minutes left today", 0),
               "{1} minutes left today");
  EXPECT_EQ(tr_lines("Welcome to Tovali Explorer!\r\rnot a text of the catalogue"),
            "Welcome to Tovali Explorer!\r\rnot a text of the catalogue");
}

using testing::GermanCatalogue;

TEST_F(GermanCatalogue, TranslatesTextsAndCounts) {
  EXPECT_STREQ(tr("Back"), "Zurück");
  EXPECT_STREQ(tr("Ask a grown-up"), "Frag einen Erwachsenen");
  EXPECT_STREQ(tr("not a text of the catalogue"), "not a text of the catalogue");
  EXPECT_STREQ(tr(""), "");
  struct Case {
    unsigned long n;
    const char* expected;
  };
  for (const Case& c : {Case{0, "Heute noch 0 Minuten"}, Case{1, "Heute noch 1 Minute"},
                        Case{2, "Heute noch 2 Minuten"}, Case{5, "Heute noch 5 Minuten"}}) {
    EXPECT_EQ(fill(tr_plural("{1} minute left today", "{1} minutes left today", c.n),
                   {std::to_string(c.n)}),
              c.expected);
  }
}

TEST_F(GermanCatalogue, TranslatesEachLineOfAPanelText) {
  EXPECT_EQ(tr_lines("Welcome To Tovali Explorer! \r\r\rLoading configuration..."),
            "Willkommen bei Tovali Explorer! \r\r\rEinstellungen werden geladen …");
  EXPECT_EQ(tr_lines("\r\rPrinting..."), "\r\rWird gedruckt …");
  EXPECT_EQ(tr_lines("  Home \rhttp://example.org/"), "  Start \rhttp://example.org/");
}

TEST_F(GermanCatalogue, EnglishAgainWhenTheLanguageIsUnknown) {
  setenv("LANGUAGE", "xx", 1);
  EXPECT_STREQ(tr("Back"), "Back");
  setenv("LANGUAGE", "en", 1);
  EXPECT_STREQ(tr("Back"), "Back");
}

TEST(StartTranslations, TakesTheSessionsLocaleButKeepsNumbersInTheCForm) {
  setenv("LC_ALL", "C.UTF-8", 1);
  start_translations(TOVALI_TEST_LOCALE_DIR);
  EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "C.UTF-8");
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  char number[32];
  std::snprintf(number, sizeof number, "%.1f", 2.5);
  EXPECT_STREQ(number, "2.5");
  EXPECT_DOUBLE_EQ(std::strtod("2.5", nullptr), 2.5);
  unsetenv("LC_ALL");
  std::setlocale(LC_ALL, "C");
}

TEST(LocaleDir, TheEnvironmentNamesTheFolderFirst) {
  setenv("TOVALI_LOCALE_DIR", "/somewhere/locale", 1);
  EXPECT_EQ(locale_dir("/usr/share/locale"), "/somewhere/locale");
  setenv("TOVALI_LOCALE_DIR", "", 1);
  // The test executable's folder has neither share/locale beside it nor
  // locale/ in it.
  EXPECT_EQ(locale_dir("/usr/share/locale"), "/usr/share/locale");
  unsetenv("TOVALI_LOCALE_DIR");
}

}  // namespace
}  // namespace tovali
