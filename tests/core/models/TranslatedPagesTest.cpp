// The pages and texts the core writes, in a German session: translated, the
// letters beyond ASCII of the pages written as character references.
#include <libintl.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "GermanCatalogue.h"
#include "activity/TimeBudget.h"
#include "base/Translate.h"
#include "models/GeneratedPages.h"
#include "models/StartupPlan.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

class GermanSession : public testing::GermanCatalogue {
 protected:
  static bool ascii_only(const std::string& text) {
    for (char c : text)
      if (static_cast<unsigned char>(c) > 0x7F) return false;
    return true;
  }
};

TEST_F(GermanSession, GeneratedPagesAreTranslatedWithCharacterReferences) {
  struct Case {
    const char* page;
    std::string text;
    const char* expected;
  };
  const Case cases[] = {
      {"error", error_page_text(),
       "Die Seite konnte nicht aus dem Internet oder Netzwerk geladen werden. Versuch es bitte "
       "sp&#228;ter noch einmal oder frag einen Erwachsenen.\r\n"},
      {"time up", time_up_page_text(), "F&#252;r heute ist die Zeit um. Bis morgen!"},
      {"time up", time_up_page_text(), "<TITLE>Tovali Explorer &#8211; Die Zeit ist um</TITLE>"},
      {"more sites", more_sites_page_text(Settings()), "Es gibt keine weiteren Seiten."},
      {"more sites", more_sites_page_text(Settings()),
       "<TITLE>Tovali Explorer &#8211; Weitere Seiten</TITLE>"},
      {"unreadable", settings_unreadable_page_text(),
       "Die Einstellungen dieses Computers k&#246;nnen nicht gelesen werden."},
      {"menu", local_menu_page_text(Settings()),
       "<TITLE>Tovali Explorer &#8211; Men&#252;</TITLE>"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(c.text.find(c.expected), std::string::npos) << c.page << ":\n" << c.text;
    EXPECT_TRUE(ascii_only(c.text)) << c.page << ":\n" << c.text;
  }
}

TEST_F(GermanSession, CountsAndFilledTextsAreTranslated) {
  EXPECT_EQ(TimeBudget::minutes_left_text(1), "Heute noch 1 Minute");
  EXPECT_EQ(TimeBudget::minutes_left_text(5), "Heute noch 5 Minuten");
  EXPECT_EQ(TimeBudget::minutes_left_text(0), "Heute noch 0 Minuten");
  EXPECT_EQ(version_label_text().rfind("Version ", 0), 0u);
}

TEST(EnglishSession, CountsStayAsTheyWere) {
  EXPECT_EQ(TimeBudget::minutes_left_text(1), "1 minute left today");
  EXPECT_EQ(TimeBudget::minutes_left_text(5), "5 minutes left today");
  EXPECT_EQ(TimeBudget::minutes_left_text(0), "0 minutes left today");
}

}  // namespace
}  // namespace tovali
