#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupHost.h"
#include "base/TextList.h"
#include "models/PasswordChange.h"
#include "models/WelcomeSetup.h"

namespace tovali {
namespace {

using test::FakeSetupHost;

TEST(WelcomeSetup, ShowsOnlyWhilePendingAndSomethingIsOpen) {
  struct Case {
    TextList lines;
    TextList locked;
    bool needed;
  };
  const Case cases[] = {
      {{"password=marigold", "welcome_done=0"}, {}, true},
      {{"password=marigold", "welcome_done=1"}, {}, false},
      {{"password=marigold"}, {}, false},  // settings older than the welcome
      {{"welcome_done=0"}, {"password_hash=$6$x$y"}, true},
      {{"welcome_done=0"}, {"welcome_done=1"}, false},
      {{"welcome_done=0"},
       {"password_hash=$6$x$y", "req_pw_close=1", "req_pw_config=1", "local_menu=0",
        "daily_minutes=60"},
       false},
      {{"welcome_done=0"},
       {"password=x", "req_pw_close=1", "req_pw_config=1", "download_config=1", "daily_minutes=60"},
       false},
      {{"welcome_done=0"},
       {"password=x", "req_pw_close=1", "req_pw_config=1", "site-0=http://a.example",
        "daily_minutes="},
       false},
      {{"welcome_done=0"},
       {"password=x", "req_pw_close=1", "req_pw_config=1", "local_menu=1"},
       true},  // the daily time is still open
  };
  for (const auto& c : cases) {
    Settings settings(c.lines);
    settings.set_locked(c.locked);
    EXPECT_EQ(welcome_needed(settings), c.needed)
        << join_crlf(c.lines) << " / " << join_crlf(c.locked);
  }
}

TEST(WelcomeSetup, LockedPartsAreClosed) {
  Settings settings({"welcome_done=0"});
  settings.set_locked({"password_hash=$6$x$y", "req_pw_config=1", "num-sites=1"});
  const WelcomeParts parts = welcome_parts(settings);
  EXPECT_FALSE(parts.password);
  EXPECT_TRUE(parts.ask_to_close);
  EXPECT_FALSE(parts.ask_for_setup);
  EXPECT_FALSE(parts.sites);
  EXPECT_TRUE(parts.daily_time);
}

WelcomeAnswers answers_with(std::string password, std::string again, WelcomeSites sites,
                            std::string home_site, std::string minutes) {
  WelcomeAnswers answers;
  answers.new_password = std::move(password);
  answers.new_password_again = std::move(again);
  answers.sites = sites;
  answers.home_site = std::move(home_site);
  answers.daily_minutes = std::move(minutes);
  return answers;
}

TEST(WelcomeSetup, ProblemsOfTheAnswers) {
  using S = WelcomeSites;
  struct Case {
    WelcomeAnswers answers;
    bool password_open;
    std::string problem;
  };
  const std::string minutes_rule = "daily_minutes takes a whole number of minutes from 0 to 1440";
  const Case cases[] = {
      {answers_with("tulip", "tulip", S::OwnMenu, "", ""), true, ""},
      {answers_with("tuli", "tuli", S::OwnMenu, "", "90"), true, ""},
      {answers_with("tul", "tul", S::OwnMenu, "", ""), true, kWelcomePasswordTooShort},
      {answers_with("", "", S::OwnMenu, "", ""), true, kWelcomePasswordTooShort},
      {answers_with("tulip", "tulips", S::OwnMenu, "", ""), true, kNewPasswordsDiffer},
      {answers_with("tulip\n", "tulip", S::OwnMenu, "", ""), true, ""},  // a pasted line break
      {answers_with("", "", S::OwnMenu, "", ""), false, ""},  // the administrator's password
      {answers_with("tulip", "tulip", S::HomeSite, "https://kids.example/", ""), true, ""},
      {answers_with("tulip", "tulip", S::HomeSite, "", ""), true, kWelcomeHomeSiteWrong},
      {answers_with("tulip", "tulip", S::HomeSite, "kids.example", ""), true,
       kWelcomeHomeSiteWrong},
      {answers_with("tulip", "tulip", S::OwnMenu, "kids.example", ""), true, ""},  // not asked
      {answers_with("tulip", "tulip", S::OwnMenu, "", "lots"), true, minutes_rule},
      {answers_with("tulip", "tulip", S::OwnMenu, "", "1441"), true, minutes_rule},
      {answers_with("tulip", "tulip", S::OwnMenu, "", "1440"), true, ""},
  };
  for (const auto& c : cases) {
    WelcomeParts parts;
    parts.password = c.password_open;
    EXPECT_EQ(welcome_problem(parts, c.answers), c.problem)
        << c.answers.new_password << " / " << c.answers.home_site << " / "
        << c.answers.daily_minutes;
  }
}

TEST(WelcomeSetup, DoneWritesTheAnswers) {
  struct Case {
    WelcomeAnswers answers;
    TextList locked;
    std::vector<std::pair<std::string, std::string>> expected;
  };
  WelcomeAnswers own = answers_with("tulip", "tulip", WelcomeSites::OwnMenu, "", "45");
  WelcomeAnswers home =
      answers_with("tulip", "tulip", WelcomeSites::HomeSite, "https://kids.example/", "");
  home.ask_to_close = false;
  const Case cases[] = {
      {own,
       {},
       {{"password", "tulip"},
        {"req_pw_close", "1"},
        {"req_pw_config", "1"},
        {"local_menu", "1"},
        {"download_config", "0"},
        {"daily_minutes", "45"},
        {"welcome_done", "1"}}},
      {home,
       {},
       {{"password", "tulip"},
        {"req_pw_close", "0"},
        {"req_pw_config", "1"},
        {"local_menu", "0"},
        {"download_config", "1"},
        {"num-sites", "1"},
        {"site-0", "https://kids.example/"},
        {"daily_minutes", ""},
        {"welcome_done", "1"}}},
      // The administrator's keys stay as the user's lines had them.
      {own,
       {"password_hash=$6$x$y", "req_pw_close=0", "local_menu=0", "daily_minutes=30"},
       {{"password", "marigold"},
        {"req_pw_close", "0"},
        {"req_pw_config", "1"},
        {"local_menu", ""},
        {"download_config", "1"},
        {"daily_minutes", ""},
        {"welcome_done", "1"}}},
  };
  for (const auto& c : cases) {
    FakeSetupHost host;
    host.m_settings = Settings({"password=marigold", "req_pw_close=0", "req_pw_config=0",
                                "download_config=1", "num-sites=2", "site-0=http://a.example",
                                "site-1=http://b.example", "welcome_done=0"});
    host.m_settings.set_locked(c.locked);
    const WelcomeOutcome outcome = finish_welcome(host, c.answers);
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(outcome.message, "");
    const Settings saved(host.saved_lines);
    for (const auto& [key, value] : c.expected) {
      EXPECT_EQ(saved.value(key), value) << key << " with " << join_crlf(c.locked);
    }
    EXPECT_FALSE(welcome_needed(host.m_settings));
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls.back(), "UpdateLists");
    EXPECT_EQ(host.daily_limit_updates, 1);
  }
}

TEST(WelcomeSetup, RefusedAnswersWriteNothing) {
  FakeSetupHost host;
  host.m_settings = Settings({"password=marigold", "welcome_done=0"});
  const WelcomeOutcome outcome =
      finish_welcome(host, answers_with("tulip", "tulpi", WelcomeSites::OwnMenu, "", ""));
  EXPECT_FALSE(outcome.done);
  EXPECT_EQ(outcome.message, kNewPasswordsDiffer);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(host.m_settings.lines(), (TextList{"password=marigold", "welcome_done=0"}));
}

TEST(WelcomeSetup, AFailedSaveIsTold) {
  FakeSetupHost host;
  host.m_settings = Settings({"password=marigold", "welcome_done=0"});
  host.next_save.failures.push_back({"/x/finalg.dat", "Permission denied"});
  const WelcomeOutcome outcome =
      finish_welcome(host, answers_with("tulip", "tulip", WelcomeSites::OwnMenu, "", ""));
  EXPECT_TRUE(outcome.done);
  EXPECT_NE(outcome.message.find("Permission denied"), std::string::npos) << outcome.message;
}

}  // namespace
}  // namespace tovali
