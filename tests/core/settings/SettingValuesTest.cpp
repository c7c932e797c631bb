// The value rules of the settings keys.
#include "settings/SettingValues.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/SettingsKeys.h"

namespace tovali {
namespace {

TEST(SettingValues, SwitchWords) {
  const struct {
    const char* word;
    std::optional<std::string> value;
  } cases[] = {
      {"1", "1"},
      {"0", "0"},
      {"yes", "1"},
      {"YES", "1"},
      {"Yes", "1"},
      {"true", "1"},
      {"TRUE", "1"},
      {"on", "1"},
      {"On", "1"},
      {" yes\t", "1"},
      {"no", "0"},
      {"No", "0"},
      {"false", "0"},
      {"FALSE", "0"},
      {"off", "0"},
      {"OFF", "0"},
      {"", std::nullopt},
      {"2", std::nullopt},
      {"y", std::nullopt},
      {"yes please", std::nullopt},
      {"01", std::nullopt},
      {"-1", std::nullopt},
      {"enabled", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(switch_word_value(c.word), c.value) << '"' << c.word << '"';
}

// Every kind of value, good and bad, and what is stored for a good one.
TEST(SettingValues, EachKindOfKeyTakesItsOwnForm) {
  const struct {
    const char* name;
    const char* value;
    ValueCheck check;
    const char* stored;  // when accepted
  } cases[] = {
      // Switches.
      {"prevent_switch", "yes", ValueCheck::Accepted, "1"},
      {"REQ_PW_CLOSE", "off", ValueCheck::Accepted, "0"},
      {"download_config", "0", ValueCheck::Accepted, "0"},
      {"nopassword", "true", ValueCheck::Accepted, "1"},
      {"prevent_switch", "maybe", ValueCheck::WrongForm, ""},
      {"silent_mode", "11", ValueCheck::WrongForm, ""},
      {"local_menu", "on", ValueCheck::Accepted, "1"},
      {"local_menu", "0", ValueCheck::Accepted, "0"},
      {"local_menu", "menu", ValueCheck::WrongForm, ""},
      // Whole numbers with their ranges.
      {"daily_minutes", "0", ValueCheck::Accepted, "0"},
      {"daily_minutes", "1440", ValueCheck::Accepted, "1440"},
      {"daily_minutes", " 045 ", ValueCheck::Accepted, "45"},
      {"daily_minutes", "1441", ValueCheck::WrongForm, ""},
      {"daily_minutes", "soon", ValueCheck::WrongForm, ""},
      {"daily_minutes", "-5", ValueCheck::WrongForm, ""},
      {"daily_minutes", "+5", ValueCheck::WrongForm, ""},
      {"daily_minutes", "1.5", ValueCheck::WrongForm, ""},
      {"daily_minutes", "99999999999999999999999", ValueCheck::WrongForm, ""},
      {"program-version", "201", ValueCheck::Accepted, "201"},
      {"program-version", "2147483647", ValueCheck::Accepted, "2147483647"},
      {"program-version", "2147483648", ValueCheck::WrongForm, ""},
      // Counts of numbered lists.
      {"num-sites", "2", ValueCheck::Accepted, "2"},
      {"num_moresites", "65535", ValueCheck::Accepted, "65535"},
      {"num_moresites", "65536", ValueCheck::WrongForm, ""},
      {"num_prohibited_file_exts", "two", ValueCheck::WrongForm, ""},
      {"num_menu_sites", " 2 ", ValueCheck::Accepted, "2"},
      {"num_menu_sites", "-1", ValueCheck::WrongForm, ""},
      // Bedtime.
      {"bedtime", "20:30-07:00", ValueCheck::Accepted, "20:30-07:00"},
      {"bedtime", " 00:00-23:59 ", ValueCheck::Accepted, "00:00-23:59"},
      {"bedtime", "25:99-xx", ValueCheck::WrongForm, ""},
      {"bedtime", "20:30-20:30", ValueCheck::WrongForm, ""},
      {"bedtime", "8:30-07:00", ValueCheck::WrongForm, ""},
      {"bedtime", "20:30 - 07:00", ValueCheck::WrongForm, ""},
      {"bedtime", "20:60-07:00", ValueCheck::WrongForm, ""},
      // Web addresses.
      {"email_url", "http://mail.test/", ValueCheck::Accepted, "http://mail.test/"},
      {"home_button_url", "HTTPS://school.test:8443/my menu.html", ValueCheck::Accepted,
       "HTTPS://school.test:8443/my menu.html"},
      {"load_main_url", "http://user@zoo.test", ValueCheck::Accepted, "http://user@zoo.test"},
      {"email_url", "mail.test", ValueCheck::WrongForm, ""},
      {"email_url", "ftp://mail.test/", ValueCheck::WrongForm, ""},
      {"email_url", "http://", ValueCheck::WrongForm, ""},
      {"email_url", "http:///path", ValueCheck::WrongForm, ""},
      {"email_url", "http://:80/", ValueCheck::WrongForm, ""},
      {"email_url", "javascript:alert(1)", ValueCheck::WrongForm, ""},
      {"email_url", "http://mail.test/\tx", ValueCheck::WrongForm, ""},
      {"email_url", " http://mail.test/", ValueCheck::WrongForm, ""},
      // Free text.
      {"password", " Tulip 7 ", ValueCheck::Accepted, " Tulip 7 "},
      {"global-meta-data", "<!--URL001:AD:zoo.test-->", ValueCheck::Accepted,
       "<!--URL001:AD:zoo.test-->"},
      {"password", "two\nlines", ValueCheck::WrongForm, ""},
      {"password", "cr\r", ValueCheck::WrongForm, ""},
      // Entries of the numbered lists.
      {"pext-0", "exe", ValueCheck::Accepted, "exe"},
      {"PEXT-12", "bat", ValueCheck::Accepted, "bat"},
      {"site-1", "https://config.test", ValueCheck::Accepted, "https://config.test"},
      {"site-1", "config.test", ValueCheck::WrongForm, ""},
      {"ms_url-3", "http://zoo.test/", ValueCheck::Accepted, "http://zoo.test/"},
      {"ms_url-3", "zoo.test", ValueCheck::WrongForm, ""},
      {"ms_desc-3", "The Zoo", ValueCheck::Accepted, "The Zoo"},
      {"cust_pd-0", "badsite.test", ValueCheck::Accepted, "badsite.test"},
      {"cust_pu-0", "http://bad.test/games", ValueCheck::Accepted, "http://bad.test/games"},
      {"pext-65534", "x", ValueCheck::Accepted, "x"},
      {"mt-0", "Zoo & <Friends>", ValueCheck::Accepted, "Zoo & <Friends>"},
      {"MU-1", "https://zoo.test/a?b", ValueCheck::Accepted, "https://zoo.test/a?b"},
      {"mu-1", "zoo.test", ValueCheck::WrongForm, ""},
      {"md-2", "zoo-cdn.test pics.test", ValueCheck::Accepted, "zoo-cdn.test pics.test"},
      {"md-2", "a\nb", ValueCheck::WrongForm, ""},
      // The empty value deletes a key of any kind.
      {"prevent_switch", "", ValueCheck::Accepted, ""},
      {"daily_minutes", "", ValueCheck::Accepted, ""},
      {"email_url", "", ValueCheck::Accepted, ""},
      // Unknown names, whatever the value.
      {"req_pw_clsoe", "1", ValueCheck::UnknownName, ""},
      {"prevent_swich", "", ValueCheck::UnknownName, ""},
      {"pext-", "exe", ValueCheck::UnknownName, ""},
      {"pext-01", "exe", ValueCheck::UnknownName, ""},
      {"pext-+1", "exe", ValueCheck::UnknownName, ""},
      {"pext-65535", "exe", ValueCheck::UnknownName, ""},
      {"pext-x", "exe", ValueCheck::UnknownName, ""},
      {"ms_desc", "x", ValueCheck::UnknownName, ""},
      {"mt-01", "x", ValueCheck::UnknownName, ""},
      {"mu", "http://zoo.test/", ValueCheck::UnknownName, ""},
      {"", "1", ValueCheck::UnknownName, ""},
  };
  for (const auto& c : cases) {
    const CheckedValue checked = check_setting_value(c.name, c.value);
    EXPECT_EQ(checked.check, c.check) << c.name << "=" << c.value;
    if (c.check == ValueCheck::Accepted) {
      EXPECT_EQ(checked.value, c.stored) << c.name << "=" << c.value;
      EXPECT_EQ(checked.problem, "") << c.name;
    } else {
      EXPECT_EQ(checked.problem.rfind(c.name, 0), 0u) << checked.problem;
    }
  }
}

TEST(SettingValues, TheProblemNamesTheKeyAndTheFormItTakes) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"daily_minutes", "daily_minutes takes a whole number of minutes from 0 to 1440"},
      {"Prevent_Switch", "Prevent_Switch takes 1 or 0 (or yes/no, true/false, on/off)"},
      {"num_moresites", "num_moresites takes a whole number of entries from 0 to 65535"},
      {"program-version", "program-version takes a whole number from 0 to 2147483647"},
      {"bedtime", "bedtime takes two different times HH:MM-HH:MM (24-hour), such as 20:30-07:00"},
      {"ms_url-3", "ms_url-3 takes a web address beginning with http:// or https://"},
      {"mu-0", "mu-0 takes a web address beginning with http:// or https://"},
      {"num_menu_sites", "num_menu_sites takes a whole number of entries from 0 to 65535"},
      {"password", "password takes text on one line"},
      {"req_pw_clsoe", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(value_form_text(c.name), c.text);
    if (*c.text) {
      EXPECT_EQ(check_setting_value(c.name, "\n").problem, c.text);
    }
  }
  EXPECT_EQ(check_setting_value("req_pw_clsoe", "1").problem,
            "req_pw_clsoe is not a setting of Tovali Explorer");
}

TEST(SettingValues, EveryKeyOfTheTableAndEveryListEntryIsKnownAndTakesItsDefault) {
  for (const SettingSpec& spec : known_settings()) {
    EXPECT_TRUE(is_known_setting_name(spec.key.name())) << spec.key.name();
    EXPECT_NE(value_form_text(spec.key.name()), "") << spec.key.name();
  }
  for (const ListEntrySpec& entry : list_entries()) {
    EXPECT_TRUE(is_known_setting_name(std::string(entry.prefix) + "7")) << entry.prefix;
  }
  // The factory lines pass their own rules unchanged.
  for (const std::string& line : factory_default_lines()) {
    const auto equals = line.find('=');
    const CheckedValue checked =
        check_setting_value(line.substr(0, equals), line.substr(equals + 1));
    EXPECT_EQ(checked.check, ValueCheck::Accepted) << line;
    EXPECT_EQ(checked.value, line.substr(equals + 1)) << line;
  }
}

}  // namespace
}  // namespace tovali
