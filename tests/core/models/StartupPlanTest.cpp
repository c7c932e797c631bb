#include "models/StartupPlan.h"

#include <gtest/gtest.h>

namespace tovali {
namespace {

TEST(FirstMainPage, DefaultIsTheStartPage) {
  Settings settings;
  settings.set_value("load_main_default", "1");
  settings.set_value("load_main_url", "http://x.example/");
  const auto page = choose_first_main_page(settings, "/opt/te/");
  EXPECT_EQ(page.url, "/opt/te/welcome.html");
  EXPECT_EQ(page.kind, FirstPageKind::StartPage);
}

TEST(FirstMainPage, OtherwiseTheConfiguredSite) {
  Settings settings;
  EXPECT_EQ(choose_first_main_page(settings, "/opt/te/").kind, FirstPageKind::Site);
  EXPECT_EQ(choose_first_main_page(settings, "/opt/te/").url, "");
  settings.set_value("load_main_default", "0");
  settings.set_value("load_main_url", "http://www.kids.example/start");
  const auto page = choose_first_main_page(settings, "/opt/te/");
  EXPECT_EQ(page.url, "http://www.kids.example/start");
  EXPECT_EQ(page.kind, FirstPageKind::Site);
}

TEST(UpdateNotice, OnlyAboveTwoHundred) {
  const struct {
    const char* value;
    bool notice;
  } cases[] = {{"201", true},  {"200", false}, {"", false},
               {"abc", false}, {"-5", false},  {"999", true}};
  for (const auto& c : cases) {
    Settings settings;
    settings.set_value("program-version", c.value);
    EXPECT_EQ(update_notice(settings).has_value(), c.notice) << c.value;
  }
  Settings settings;
  settings.set_value("program-version", "201");
  EXPECT_EQ(*update_notice(settings), std::string("Please update Tovali Explorer -- Go to ") +
                                          kMakerWebAddress + " with a standard web browser.");
}

TEST(VersionLabel, NamesTheBuiltVersion) {
  EXPECT_EQ(version_label_text(), "Version 2.0.0.7");
}

}  // namespace
}  // namespace tovali
