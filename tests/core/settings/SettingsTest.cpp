#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tovali {
namespace {

TEST(Settings, LookupTakesTheFirstMatchingNameWithoutRegardToCase) {
  const Settings s({"no equals sign", "Password=one=two", "password=second", "=nameless",
                    "empty=", "no equals sign=x"});
  EXPECT_EQ(s.value("PASSWORD"), "one=two");
  EXPECT_EQ(s.value("password"), "one=two");
  EXPECT_EQ(s.value("missing"), "");
  EXPECT_EQ(s.value("no equals sign"), "x");  // the bare line is never found
  EXPECT_EQ(s.value(""), "nameless");
  EXPECT_TRUE(s.has("EMPTY"));
  EXPECT_EQ(s.value("empty"), "");
}

TEST(Settings, WritingReplacesInPlaceAppendsOrDeletes) {
  Settings s({"a=1", "B=2", "b=3", "c=4"});
  s.set_value("b", " spaced = value ");
  EXPECT_EQ(s.lines(), (TextList{"a=1", "b= spaced = value ", "b=3", "c=4"}));
  s.set_value("new", "x");
  EXPECT_EQ(s.lines().back(), "new=x");
  s.set_value("B", "");  // deletes the first match only
  EXPECT_EQ(s.lines(), (TextList{"a=1", "b=3", "c=4", "new=x"}));
  s.remove("nothing");
  EXPECT_EQ(s.lines().size(), 4u);
}

// set_values must give exactly what set_value gives, write by write.
TEST(Settings, ManyWritesAtOnceActAsOneWriteAfterAnother) {
  const TextList start{"a=1", "B=2", "b=3", "no name", "=nameless", "c=4", "A=5"};
  const std::vector<std::vector<NamedValue>> cases = {
      {{"b", "20"}, {"new", "x"}, {"B", ""}, {"b", ""}, {"b", "again"}},
      {{"a", ""}, {"a", ""}, {"a", ""}, {"a", "back"}, {"A", "Back"}},
      {{"new", "1"}, {"NEW", ""}, {"New", "2"}, {"new", "3"}},
      {{"", "empty name"}, {"", ""}, {"", ""}, {"no name", "now named"}},
      {{"x=y", "z"}, {"x", ""}, {"x=y", ""}, {"x", "w"}},
      {},
  };
  for (const auto& writes : cases) {
    Settings one_by_one(start);
    for (const auto& w : writes) one_by_one.set_value(w.name, w.value);
    Settings at_once(start);
    at_once.set_values(writes);
    EXPECT_EQ(at_once.lines(), one_by_one.lines()) << writes.size();
  }
  // A long mixed sequence over few names, so that names repeat often.
  const char* names[] = {"a", "A", "b", "c", "d", "D", "e", ""};
  std::vector<NamedValue> writes;
  unsigned seed = 12345;
  for (int i = 0; i < 2000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const unsigned r = seed >> 16;
    writes.push_back({names[r % 8], (r / 8) % 3 == 0 ? "" : std::to_string(i)});
  }
  Settings one_by_one(start);
  for (const auto& w : writes) one_by_one.set_value(w.name, w.value);
  Settings at_once(start);
  at_once.set_values(writes);
  EXPECT_EQ(at_once.lines(), one_by_one.lines());
}

TEST(Settings, SwitchesAndTheDownloadException) {
  const Settings s({"on=1", "off=0", "yes=yes", "spaced= 1", "download_config=2"});
  const struct {
    const char* key;
    bool on;
  } cases[] = {{"on", true},      {"off", false},     {"yes", false},
               {"spaced", false}, {"missing", false}, {"DOWNLOAD_CONFIG", true}};
  for (const auto& c : cases) EXPECT_EQ(s.is_on(c.key), c.on) << c.key;
  EXPECT_TRUE(Settings().is_on("download_config"));
  EXPECT_FALSE(Settings({"download_config=0"}).is_on("download_config"));
}

TEST(Settings, CountsReadZeroWhenMissingOrNotANumber) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"2", 2},           {"-3", -3},
               {"+7", 7},          {"", 0},
               {"2x", 0},          {" 2", 0},
               {"0x10", 0},        {"-", 0},
               {"99999999999", 0}, {"2147483647", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(parse_count(c.text), c.value) << c.text;
}

TEST(Settings, NumberedListsReadByNameInOrder) {
  const Settings s({"num_x=4", "X-2=two", "x-0=Zero", "x-0=shadowed", "x-9=beyond"});
  EXPECT_EQ(s.list("num_x", "x-"), (TextList{"Zero", "", "two", ""}));
  EXPECT_EQ(s.list("num_x", "x-", LetterCase::Upper), (TextList{"ZERO", "", "TWO", ""}));
  EXPECT_TRUE(Settings({"num_x=-1", "x-0=a"}).list("num_x", "x-").empty());
  EXPECT_TRUE(Settings({"x-0=a"}).list("num_x", "x-").empty());
  // A hostile count does not stall the reader.
  EXPECT_EQ(Settings({"num_x=2000000000"}).list("num_x", "x-").size(),
            static_cast<std::size_t>(Settings::kMaxListEntries));
}

TEST(Settings, LockedValuesAreReadOverTheUsersWhoseLinesStayAsSaved) {
  Settings s({"req_pw_close=0", "a=1", "email_url=http://m.test/", "num_x=1", "x-0=user"});
  s.set_locked({"REQ_PW_CLOSE=1", "email_url=", "x-1=admin", "num_x=3", "new=n", "req_pw_close=0"});
  EXPECT_TRUE(s.is_locked("Req_Pw_Close"));
  EXPECT_FALSE(s.is_locked("a"));
  EXPECT_EQ(s.value("req_pw_close"), "1");  // the first locked line of a name counts
  EXPECT_TRUE(s.is_on("req_pw_close"));
  EXPECT_EQ(s.value("email_url"), "");  // locked empty: missing
  EXPECT_FALSE(s.has("email_url"));
  EXPECT_TRUE(s.has("new"));
  EXPECT_EQ(s.count("num_x"), 3);
  EXPECT_EQ(s.list("num_x", "x-"), (TextList{"user", "admin", ""}));

  // Writes go to the user's lines; the locked value stays in force.
  s.set_value("req_pw_close", "0");
  s.set_value("a", "2");
  EXPECT_EQ(s.value("req_pw_close"), "1");
  EXPECT_EQ(s.value("a"), "2");
  const TextList user = {"req_pw_close=0", "a=2", "email_url=http://m.test/", "num_x=1",
                         "x-0=user"};
  EXPECT_EQ(s.lines(), user);

  // In force: locked values in place of the user's, then the locked names
  // the user lacks, in the administrator's order.
  EXPECT_EQ(s.lines_in_force(),
            (TextList{"REQ_PW_CLOSE=1", "a=2", "num_x=3", "x-0=user", "x-1=admin", "new=n"}));

  // Replacing or clearing the user's lines keeps the locks.
  s.clear();
  EXPECT_EQ(s.value("req_pw_close"), "1");
  s.assign({"req_pw_close=0"});
  EXPECT_EQ(s.value("req_pw_close"), "1");
}

TEST(Settings, WithoutLocksTheLinesInForceAreTheUsers) {
  const Settings s({"b=1", "a=2", "b=3", "no name"});
  EXPECT_EQ(s.lines_in_force(), s.lines());
  EXPECT_FALSE(s.is_locked("b"));
}

TEST(Settings, ChangesBetweenTwoStatesAreTheWritesThatTurnOneIntoTheOther) {
  struct Case {
    const char* name;
    TextList before;
    TextList after;
    std::vector<std::pair<std::string, std::string>> writes;
  };
  const Case cases[] = {
      {"nothing changed", {"a=1", "b=2"}, {"a=1", "b=2"}, {}},
      {"a value changed", {"a=1", "b=2"}, {"a=1", "b=3"}, {{"b", "3"}}},
      {"a key added and one removed", {"a=1", "b=2"}, {"a=1", "c=3"}, {{"c", "3"}, {"b", ""}}},
      {"letter case of the name does not count", {"Key=1"}, {"KEY=1"}, {}},
      {"only the first line of a name counts", {"a=1", "a=2", "note"}, {"a=1", "a=9"}, {}},
      {"the order of the lines does not count", {"a=1", "b=2"}, {"b=2", "a=1"}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::string, std::string>> writes;
    for (const NamedValue& write : changes_between(c.before, c.after))
      writes.emplace_back(write.name, write.value);
    EXPECT_EQ(writes, c.writes) << c.name;
    // Applied to the first state, they give the values of the second.
    Settings applied(c.before);
    applied.set_values(changes_between(c.before, c.after));
    const Settings after(c.after);
    for (const auto& line : c.after) {
      const std::string name = line.substr(0, line.find('='));
      EXPECT_EQ(applied.value(name), after.value(name)) << c.name << " " << name;
    }
  }
}

}  // namespace
}  // namespace tovali
