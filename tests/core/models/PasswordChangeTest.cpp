#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupHost.h"
#include "base/TextList.h"
#include "models/PasswordChange.h"

namespace tovali {
namespace {

using test::FakeSetupHost;

TEST(PasswordMatches, WholeTextExactAndCaseSensitive) {
  struct Case {
    TextList lines;
    const char* typed;
    bool matches;
  };
  const Case cases[] = {
      {{"password=marigold"}, "marigold", true},
      {{"password=marigold"}, "Marigold", false},
      {{"password=marigold"}, "marigold ", false},
      {{"password=marigold"}, "marigol", false},
      {{"password=marigold"}, "", false},
      {{"PASSWORD=a=b"}, "a=b", true},
      {{}, "", true},  // no password: the empty entry is right
      {{}, "marigold", false},
      {{"password=caf\xE9"}, "caf\xC3\xA9", true},  // stored Latin-1, typed UTF-8
      {{"password=caf\xE9"}, "caf\xE9", true},
      {{"password=caf\xC3\xA9"}, "caf\xE9", false},
      {{"password=CAF\xE9"}, "caf\xC3\xA9", false},
      {{"password=marigold"}, "marigold\n", true},  // a pasted line break
      {{"password=marigold"}, "mari\r\ngold", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(password_matches(c.typed, Settings(c.lines)), c.matches) << c.typed;
  }
}

TEST(PasswordMatches, TheAdministratorsHashReplacesThePassword) {
  // A stand-in for the crypto library: "hash:" + the password.
  std::vector<std::string> checked;
  const PasswordHashCheck check = [&checked](std::string_view typed, std::string_view hash) {
    checked.emplace_back(typed);
    return hash == "hash:" + std::string(typed);
  };
  Settings locked({"password=marigold"});
  locked.set_locked({"password_hash=hash:Tulip"});
  EXPECT_TRUE(password_hash_in_force(locked));
  EXPECT_TRUE(password_matches("Tulip", locked, check));
  EXPECT_TRUE(password_matches("Tulip\n", locked, check));  // a pasted line break
  EXPECT_FALSE(password_matches("marigold", locked, check));
  EXPECT_FALSE(password_matches("Tulip", locked));  // no check: nothing is right
  EXPECT_EQ(checked, (std::vector<std::string>{"Tulip", "Tulip", "marigold"}));

  // Only the administrator's hash counts: one in the user's settings, or a
  // locked empty one, leaves the password in force.
  const Settings users({"password=marigold", "password_hash=hash:Tulip"});
  Settings empty_lock({"password=marigold"});
  empty_lock.set_locked({"password_hash="});
  for (const Settings* s : {&users, static_cast<const Settings*>(&empty_lock)}) {
    EXPECT_FALSE(password_hash_in_force(*s));
    EXPECT_TRUE(password_matches("marigold", *s, check));
    EXPECT_FALSE(password_matches("Tulip", *s, check));
  }
}

TEST(SetPassword, RefusedWhenTheAdministratorKeepsThePassword) {
  for (const char* lock : {"password_hash=$y$x", "password=school"}) {
    FakeSetupHost host;
    host.settings().assign({"password=marigold"});
    host.settings().set_locked({lock});
    EXPECT_TRUE(password_change_locked(host.settings())) << lock;
    const auto outcome = set_password(host, "marigold", "new", "new");
    EXPECT_EQ(outcome.result, PasswordChangeResult::Locked) << lock;
    EXPECT_EQ(outcome.message, kSetByAdministrator);
    EXPECT_EQ(host.settings().lines(), TextList{"password=marigold"});
    EXPECT_TRUE(host.calls.empty());
  }
  EXPECT_FALSE(password_change_locked(Settings({"password_hash=$y$x"})));
}

TEST(SetPassword, ThreeOutcomes) {
  struct Case {
    const char *current, *new1, *new2;
    PasswordChangeResult result;
    const char* message;
    const char* stored;  // nullptr: key missing afterwards
    bool saved;
  };
  const Case cases[] = {
      {"Marigold", "x", "x", PasswordChangeResult::CurrentIncorrect, kCurrentPasswordIncorrect,
       "marigold", false},
      {"marigold", "x", "y", PasswordChangeResult::NewPasswordsDiffer, kNewPasswordsDiffer,
       "marigold", false},
      {"marigold", "Rose 2", "Rose 2", PasswordChangeResult::Changed, kPasswordChanged, "Rose 2",
       true},
      {"marigold", "", "", PasswordChangeResult::Changed, kPasswordChanged, nullptr, true},
  };
  for (const auto& c : cases) {
    FakeSetupHost host;
    host.settings().assign({"a=1", "password=marigold", "b=2"});
    const auto outcome = set_password(host, c.current, c.new1, c.new2);
    EXPECT_EQ(outcome.result, c.result) << c.current << "/" << c.new1 << "/" << c.new2;
    EXPECT_EQ(outcome.message, c.message);
    EXPECT_EQ(host.settings().has("password"), c.stored != nullptr);
    if (c.stored) {
      EXPECT_EQ(host.settings().value("password"), c.stored);
    }
    EXPECT_EQ(host.calls.size(), c.saved ? 1u : 0u);
    if (c.saved) {
      EXPECT_EQ(host.saved_lines, host.settings().lines());
    }
  }
}

TEST(SetPassword, LineBreaksFromAPasteAreDropped) {
  FakeSetupHost host;
  host.settings().assign({"password=marigold", "req_pw_close=1"});
  const auto outcome = set_password(host, "marigold\n", "Rose\r\nreq_pw_close=0", "Rose\n");
  EXPECT_EQ(outcome.result, PasswordChangeResult::NewPasswordsDiffer);
  const auto changed = set_password(host, "marigold", "Rose\r\n", "Rose\n");
  EXPECT_EQ(changed.result, PasswordChangeResult::Changed);
  EXPECT_EQ(host.settings().value("password"), "Rose");
  EXPECT_EQ(split_lines(join_crlf(host.saved_lines)), host.saved_lines);
  EXPECT_TRUE(password_matches("Rose", host.settings()));
}

TEST(SetPassword, FailedSaveIsNotReportedAsSuccessAlone) {
  FakeSetupHost host;
  host.settings().set_value("password", "marigold");
  host.next_save.failures.push_back({"/ro/finalg.dat", "Read-only file system"});
  const auto outcome = set_password(host, "marigold", "new", "new");
  EXPECT_EQ(outcome.result, PasswordChangeResult::Changed);
  EXPECT_NE(outcome.message.find("could not be saved"), std::string::npos);
  EXPECT_NE(outcome.message.find("Read-only file system"), std::string::npos);
}

}  // namespace
}  // namespace tovali
