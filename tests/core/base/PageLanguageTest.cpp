#include "base/PageLanguage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tovali {
namespace {

TEST(MessageLanguages, FollowGettextsChoice) {
  struct Case {
    const char* language_env;
    const char* messages_locale;
    TextList expected;
  };
  const Case cases[] = {
      {"", "C", {}},
      {"de", "C", {}},  // LANGUAGE counts only outside the "C" locale
      {"de", "POSIX", {}},
      {"", "", {}},
      {"", "de_DE.UTF-8", {"de_DE.UTF-8"}},
      {"de", "C.UTF-8", {"de"}},
      {"fr:de", "en_GB.UTF-8", {"fr", "de"}},
      {"::de:", "C.UTF-8", {"de"}},
      {"", "C.UTF-8", {"C.UTF-8"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(message_languages(c.language_env, c.messages_locale), c.expected)
        << "LANGUAGE=" << c.language_env << " locale " << c.messages_locale;
  }
}

TEST(LocalizedPageName, TakesTheFirstLanguageWithACopyAndFallsBackToEnglish) {
  const std::set<std::string> copies = {"welcome.de.html", "help.de_AT.html",
                                        "setuphelp/setuphelp.de.html"};
  const auto exists = [&copies](const std::string& name) { return copies.count(name) > 0; };
  struct Case {
    TextList languages;
    const char* file_name;
    const char* expected;
  };
  const Case cases[] = {
      {{}, "welcome.html", "welcome.html"},
      {{"de"}, "welcome.html", "welcome.de.html"},
      {{"de_DE.UTF-8"}, "welcome.html", "welcome.de.html"},
      {{"de_CH@euro"}, "welcome.html", "welcome.de.html"},
      {{"de_AT.UTF-8"}, "help.html", "help.de_AT.html"},
      {{"de"}, "help.html", "help.html"},
      {{"de"}, "setuphelp/setuphelp.html", "setuphelp/setuphelp.de.html"},
      {{"fr", "de"}, "welcome.html", "welcome.de.html"},  // no French copy
      {{"en", "de"}, "welcome.html", "welcome.de.html"},  // as gettext: no English catalogue
      {{"xx"}, "welcome.html", "welcome.html"},
      {{"C"}, "welcome.html", "welcome.html"},
      {{"C.UTF-8", "de"}, "welcome.html", "welcome.html"},
      {{"../de"}, "welcome.html", "welcome.html"},  // not a language name
      {{"de"}, "README", "README"},
  };
  for (const Case& c : cases) {
    std::string languages;
    for (const auto& l : c.languages) languages += l + " ";
    EXPECT_EQ(localized_page_name(c.languages, c.file_name, exists), c.expected)
        << languages << c.file_name;
  }
}

}  // namespace
}  // namespace tovali
