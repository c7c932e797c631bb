#include "activity/ActivityStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "SpecialFiles.h"
#include "TempDir.h"
#include "activity/DayFile.h"

namespace tovali {
namespace {

using testing::TempDir;

const LocalDate kToday{2026, 12, 10};

LocalDate days_before(const LocalDate& date, long days) {
  return LocalDate::from_days(date.days_since_epoch() - days);
}

TEST(LocalDate, TextAndDayNumbersRoundTrip) {
  for (const char* text : {"1970-01-01", "2024-02-29", "2026-12-31", "2000-03-01", "1969-12-31"}) {
    const auto date = LocalDate::parse(text);
    ASSERT_TRUE(date) << text;
    EXPECT_EQ(date->text(), text);
    EXPECT_EQ(LocalDate::from_days(date->days_since_epoch()), *date);
  }
  EXPECT_EQ(LocalDate::parse("2026-12-10")->days_since_epoch() -
                LocalDate::parse("2026-09-11")->days_since_epoch(),
            90);
  for (const char* bad : {"2026-02-29", "2026-13-01", "2026-12-00", "2026-1-10", "2026-12-10x",
                          "0999-01-01", "2026/12/10", ""}) {
    EXPECT_FALSE(LocalDate::parse(bad)) << bad;
  }
}

TEST(ActivityRecord, CountsPerHostWithinTheBounds) {
  ActivityRecord record;
  record.add_opened(kToday, "https://www.Example.com/a");
  record.add_opened(kToday, "http://example.com:8080/b");
  record.add_refused(kToday, "http://ads.example.com/x");
  record.add_request(kToday, "http://games.test/", RequestAnswer::AllowedOnce);
  record.add_request(kToday, "http://games.test/", RequestAnswer::Declined);
  record.add_request(kToday, "http://games.test/", RequestAnswer::NoAnswer);
  record.add_opened(kToday, "file:///usr/share/tovali-explorer/menu.html");
  record.add_opened(kToday, "about:blank");
  record.add_refused(kToday, "http://x\ty.test/");
  const auto& hosts = record.find(kToday)->hosts;
  EXPECT_EQ(hosts.at("example.com").opened, 1u);
  EXPECT_EQ(hosts.at("example.com").refused, 1u);
  EXPECT_EQ(hosts.at("example.com:8080").opened, 1u);
  EXPECT_EQ(hosts.at("games.test"), (HostActivity{0, 0, 3, 1, 0, 1}));
  EXPECT_EQ(hosts.at("x?y.test").refused, 1u);
  // The menu page and about:blank belong to no site.
  EXPECT_EQ(hosts.size(), 4u);

  ActivityRecord big;
  for (int i = 0; i < 1100; ++i) big.add_opened(kToday, "http://h" + std::to_string(i) + ".test/");
  big.add_opened(kToday, "http://h0.test/again");
  big.add_opened(kToday, "http://" + std::string(400, 'a') + "/");
  const auto& many = big.find(kToday)->hosts;
  EXPECT_EQ(many.size(), ActivityRecord::kMaxHostsPerDay);
  EXPECT_EQ(many.at("h0.test").opened, 2u);
  EXPECT_EQ(many.at(ActivityRecord::kOtherHosts).opened, 1100u - 999 + 1);
  EXPECT_LE(DayFile::format(*big.find(kToday)).size(), DayFile::kMaxFileSize);
}

// The program's own pages and the addresses of no site are never counted:
// they leave no host behind, under no name.
TEST(ActivityRecord, PagesOfNoSiteAreNotCounted) {
  const struct {
    const char* url;
    const char* host;  // "": not counted
  } cases[] = {
      {"file:///usr/share/tovali-explorer/welcome.html", ""},
      {"FILE:///home/child/.local/state/tovali-explorer/moresites.html", ""},
      {"file://localhost/usr/share/tovali-explorer/help.html", ""},
      {"about:blank", ""},
      {"data:text/html,<p>hi</p>", ""},
      {"http:///path-only", ""},
      {"https://Zoo.Example.com/lions", "example.com"},
      {"http://127.0.0.1:8080/", "127.0.0.1:8080"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(ActivityRecord::host_of(c.url), c.host);
    ActivityRecord record;
    record.add_opened(kToday, c.url);
    record.add_refused(kToday, c.url);
    record.add_request(kToday, c.url, RequestAnswer::Declined);
    const DayActivity* day = record.find(kToday);
    if (*c.host == '\0') {
      EXPECT_TRUE(day == nullptr || day->hosts.empty());
    } else {
      ASSERT_NE(day, nullptr);
      EXPECT_EQ(day->hosts.at(c.host), (HostActivity{1, 1, 1, 0, 0, 1}));
    }
  }
}

// Loads of a page that were refused count as blocked items of their host,
// apart from the refused navigations, within the same bounds.
TEST(ActivityRecord, BlockedItemsCountPerHostApartFromRefusals) {
  ActivityRecord record;
  record.add_blocked(kToday, "http://ads.example.com/banner.png");
  record.add_blocked(kToday, "https://cdn.Ads.Example.com/track.js");
  record.add_refused(kToday, "http://ads.example.com/");
  record.add_blocked(kToday, "file:///usr/share/tovali-explorer/logo.png");
  record.add_blocked(kToday, "data:image/gif;base64,R0lGOD");
  record.add_blocked(days_before(kToday, 1), "http://ads.example.com/x");
  const auto& hosts = record.find(kToday)->hosts;
  EXPECT_EQ(hosts.size(), 1u);
  EXPECT_EQ(hosts.at("example.com"), (HostActivity{0, 1, 0, 0, 0, 0, 2}));
  EXPECT_EQ(record.find(days_before(kToday, 1))->hosts.at("example.com").blocked, 1u);

  ActivityRecord full;
  for (std::size_t i = 0; i + 1 < ActivityRecord::kMaxHostsPerDay; ++i)
    full.add_opened(kToday, "http://h" + std::to_string(i) + ".test/");
  full.add_blocked(kToday, "http://one-too-many.test/a.js");
  full.add_blocked(kToday, "http://h0.test/b.js");
  const auto& many = full.find(kToday)->hosts;
  EXPECT_EQ(many.size(), ActivityRecord::kMaxHostsPerDay);
  EXPECT_EQ(many.at(ActivityRecord::kOtherHosts).blocked, 1u);
  EXPECT_EQ(many.at("h0.test").blocked, 1u);

  // Merging keeps the larger count, as for every other count.
  DayActivity more = *record.find(kToday);
  more.hosts["example.com"].blocked = 5;
  EXPECT_EQ(merge_days(*record.find(kToday), more).hosts.at("example.com").blocked, 5u);
  EXPECT_EQ(merge_days(more, *record.find(kToday)).hosts.at("example.com").blocked, 5u);
}

// A host line carries the blocked items last; the lines written before
// that count existed (eight fields) read with none blocked.
TEST(DayFile, BlockedItemsRoundTripAndOldHostLinesRead) {
  const std::string head = "tovali-activity\t1\nused\t60\nextra\t0\nwarned\t0\n";
  const struct {
    const char* what;
    std::string text;
    HostActivity counts;
  } cases[] = {
      {"a line of today", head + "host\ta.test\t1\t2\t3\t1\t1\t1\t7\n",
       HostActivity{1, 2, 3, 1, 1, 1, 7}},
      {"a line written before blocked items were kept", head + "host\ta.test\t1\t2\t3\t1\t1\t1\n",
       HostActivity{1, 2, 3, 1, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string problem;
    const auto day = DayFile::parse(c.text, &problem);
    ASSERT_TRUE(day) << problem;
    EXPECT_EQ(day->seconds_used, 60u);
    EXPECT_EQ(day->hosts.at("a.test"), c.counts);
    // Written again, the line has all nine fields and reads the same.
    const std::string again = DayFile::format(*day);
    EXPECT_NE(
        again.find("host\ta.test\t1\t2\t3\t1\t1\t1\t" + std::to_string(c.counts.blocked) + "\n"),
        std::string::npos)
        << again;
    EXPECT_EQ(DayFile::parse(again, nullptr), day);
  }
  // The longest line a host can have still fits.
  DayActivity widest;
  const std::uint64_t most = 999999999999999;  // 15 digits
  widest.hosts[std::string(ActivityRecord::kMaxHostLength, 'w')] =
      HostActivity{most, most, most, most, most, most, most};
  const std::string text = DayFile::format(widest);
  std::string problem;
  EXPECT_EQ(DayFile::parse(text, &problem), widest) << problem;
}

class ActivityStoreTest : public ::testing::Test {
 protected:
  std::string file(const LocalDate& date) const { return "activity/" + date.text() + ".txt"; }
  bool exists(const std::string& relative) const {
    return std::filesystem::exists(m_state.path() + relative);
  }
  TempDir m_state;
  ActivityStore m_store{m_state.path()};
};

TEST_F(ActivityStoreTest, DaysRoundTripAndOldDaysAreRemoved) {
  ActivityRecord record;
  record.day(kToday).seconds_used = 3723;
  record.day(kToday).extra_minutes = 30;
  record.day(kToday).warned = true;
  record.add_request(kToday, "http://a.test/", RequestAnswer::AllowedAlways);
  record.add_refused(kToday, "http://b.test/");
  const LocalDate oldest_kept = days_before(kToday, ActivityRecord::kDaysKept - 1);
  const LocalDate too_old = days_before(kToday, ActivityRecord::kDaysKept);
  for (const LocalDate& date : {oldest_kept, too_old}) record.add_opened(date, "http://c.test/");
  for (const LocalDate& date : {kToday, oldest_kept, too_old}) {
    ASSERT_TRUE(m_store.save_day(record, date));
  }
  m_state.write("activity/notes.txt", "not a day");
  m_state.write(file(kToday) + ".Ab12cd", "a write cut short");

  ActivityLoadReport report;
  const ActivityRecord read_only = m_store.load(kToday, StoreAccess::ReadOnly, &report);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(*read_only.find(kToday), *record.find(kToday));
  EXPECT_EQ(*read_only.find(oldest_kept), *record.find(oldest_kept));
  EXPECT_EQ(read_only.find(too_old), nullptr);
  EXPECT_TRUE(exists(file(too_old)));

  const ActivityRecord tidied = m_store.load(kToday, StoreAccess::Tidy, &report);
  EXPECT_EQ(tidied.days().size(), 2u);
  EXPECT_FALSE(exists(file(too_old)));
  EXPECT_TRUE(exists(file(oldest_kept)));
  EXPECT_TRUE(exists("activity/notes.txt"));
  EXPECT_FALSE(exists(file(kToday) + ".Ab12cd"));
}

// Blocked items survive a save and a load, a day file written before they
// were kept loads with none, and saving over it keeps what it held.
TEST_F(ActivityStoreTest, BlockedItemsAreSavedAndOldDayFilesStillLoad) {
  const LocalDate yesterday = days_before(kToday, 1);
  ActivityRecord record;
  record.add_blocked(kToday, "http://ads.test/a.png");
  record.add_blocked(kToday, "http://ads.test/b.js");
  record.add_opened(kToday, "http://zoo.test/");
  ASSERT_TRUE(m_store.save_day(record, kToday));
  m_state.write(file(yesterday),
                "tovali-activity\t1\nused\t125\nextra\t15\nwarned\t1\n"
                "host\tads.test\t0\t4\t1\t0\t0\t1\nhost\tzoo.test\t3\t0\t0\t0\t0\t0\n");

  ActivityLoadReport report;
  const ActivityRecord loaded = m_store.load(kToday, StoreAccess::Tidy, &report);
  EXPECT_TRUE(report.ok());
  ASSERT_NE(loaded.find(kToday), nullptr);
  EXPECT_EQ(*loaded.find(kToday), *record.find(kToday));
  EXPECT_EQ(loaded.find(kToday)->hosts.at("ads.test").blocked, 2u);
  ASSERT_NE(loaded.find(yesterday), nullptr);
  const DayActivity& old_day = *loaded.find(yesterday);
  EXPECT_EQ(old_day.seconds_used, 125u);
  EXPECT_EQ(old_day.extra_minutes, 15);
  EXPECT_TRUE(old_day.warned);
  EXPECT_EQ(old_day.hosts.at("ads.test"), (HostActivity{0, 4, 1, 0, 0, 1, 0}));
  EXPECT_EQ(old_day.hosts.at("zoo.test"), (HostActivity{3, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(exists(file(yesterday)));

  // A blocked item of the old day merges into what its file held.
  ActivityRecord later = loaded;
  later.add_blocked(yesterday, "http://ads.test/c.gif");
  ASSERT_TRUE(m_store.save_day(later, yesterday));
  const ActivityRecord reread = m_store.load(kToday, StoreAccess::ReadOnly);
  EXPECT_EQ(reread.find(yesterday)->hosts.at("ads.test"), (HostActivity{0, 4, 1, 0, 0, 1, 1}));
  EXPECT_EQ(reread.find(yesterday)->seconds_used, 125u);
}

TEST_F(ActivityStoreTest, ADamagedFileIsReportedAndSetAsideLosingOnlyItsDay) {
  const LocalDate yesterday = days_before(kToday, 1);
  ActivityRecord record;
  record.add_opened(yesterday, "http://a.test/");
  ASSERT_TRUE(m_store.save_day(record, yesterday));
  const std::string good = DayFile::format(*record.find(yesterday));
  const std::string damaged[] = {
      "",
      "garbage\n",
      good.substr(0, good.size() - 3),                                   // cut short
      good + "used\t-1\n",                                               // a negative count
      good + "host\ta.test\t1\t0\t0\t0\t0\t0\n",                         // a host twice
      good + "host\tb.test\t1\t0\t0\t0\t0\n",                            // a field missing
      good + "host\t" + std::string(600, 'x') + "\t1\t0\t0\t0\t0\t0\n",  // too long
      good + "host\tb.test\t1\t0\t0\t0\t0\t0\t0\t0\n",                   // a field too many
      good + "host\tb.test\t1\t0\t0\t0\t0\t0\tx\n",                      // blocked not a count
      good + "host\tb.test\t1\t0\t0\t0\t0\t0\t\n",                       // blocked empty
      std::string(DayFile::kMaxFileSize + 1, '\n'),
  };
  for (const std::string& text : damaged) {
    SCOPED_TRACE(text.substr(0, 60));
    m_state.write(file(kToday), text);
    ActivityLoadReport report;
    const ActivityRecord read = m_store.load(kToday, StoreAccess::Tidy, &report);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find(kToday.text() + ".txt: damaged"), std::string::npos);
    EXPECT_EQ(read.find(kToday), nullptr);
    EXPECT_EQ(*read.find(yesterday), *record.find(yesterday));
    EXPECT_FALSE(exists(file(kToday)));
    EXPECT_EQ(m_state.read(file(kToday) + ".damaged"), text);
  }
}

// A FIFO or /dev/zero in place of a day file neither holds the load nor
// fills memory; the other days load as usual.
TEST_F(ActivityStoreTest, AFifoOrADeviceInPlaceOfADayFileDoesNotHoldTheLoad) {
  using testing::SpecialFile;
  const LocalDate yesterday = days_before(kToday, 1);
  ActivityRecord record;
  record.add_opened(yesterday, "http://c.test/");
  ASSERT_TRUE(m_store.save_day(record, yesterday));
  for (const SpecialFile kind : {SpecialFile::Fifo, SpecialFile::DevZero}) {
    std::filesystem::remove(m_state.path() + file(kToday));
    ASSERT_TRUE(testing::make_special_file(m_state.path() + file(kToday), kind));
    std::string problem;
    EXPECT_TRUE(testing::run_in_child(
        [&] {
          const ActivityRecord loaded = m_store.load(kToday, StoreAccess::Tidy, nullptr);
          return loaded.find(kToday) == nullptr && loaded.find(yesterday) != nullptr &&
                 *loaded.find(yesterday) == *record.find(yesterday);
        },
        60, &problem))
        << testing::special_file_name(kind) << ": " << problem;
  }
}

TEST_F(ActivityStoreTest, AStartWithTheClockSetWrongRemovesNoDayTheTrueDateKeeps) {
  const LocalDate oldest_kept = days_before(kToday, ActivityRecord::kDaysKept - 1);
  const LocalDate too_old = days_before(kToday, ActivityRecord::kDaysKept + 5);
  const auto later = [](long days) { return days_before(kToday, -days); };
  struct Case {
    const char* name;
    LocalDate started;
    bool too_old_removed;
  };
  for (const Case& c :
       {Case{"the true date", kToday, true}, Case{"the next morning", later(1), true},
        Case{"back from 100 days away", later(100), true},
        Case{"the clock 100 days ahead", later(100), true},
        Case{"the clock 100 days behind", days_before(kToday, 100), false},
        Case{"the clock 10 years ahead", later(3653), true}}) {
    SCOPED_TRACE(c.name);
    ActivityRecord record;
    record.day(kToday).seconds_used = 3007;
    record.add_opened(kToday, "http://games.test/");
    record.add_opened(oldest_kept, "http://old.test/");
    record.add_opened(too_old, "http://older.test/");
    for (const LocalDate& date : {kToday, oldest_kept, too_old}) {
      ASSERT_TRUE(m_store.save_day(record, date));
    }

    const ActivityRecord loaded = m_store.load(c.started, StoreAccess::Tidy);

    // Every day the true date keeps is still there, on disk and in memory,
    // so the time used today goes on from 3007 s once the clock is right.
    for (const LocalDate& date : {kToday, oldest_kept}) {
      EXPECT_TRUE(exists(file(date))) << date.text();
      ASSERT_NE(loaded.find(date), nullptr) << date.text();
      EXPECT_EQ(*loaded.find(date), *record.find(date));
    }
    EXPECT_EQ(exists(file(too_old)), !c.too_old_removed);
  }
}

TEST_F(ActivityStoreTest, SavingADayNeverLowersWhatIsStored) {
  ActivityRecord stored;
  DayActivity& before = stored.day(kToday);
  before.seconds_used = 3007;
  before.extra_minutes = 15;
  before.warned = true;
  stored.add_opened(kToday, "http://a.test/");
  stored.add_opened(kToday, "http://a.test/");
  ASSERT_TRUE(m_store.save_day(stored, kToday));

  // A record that lost the day: 70 s, another host, one page of a.test.
  ActivityRecord fresh;
  fresh.day(kToday).seconds_used = 70;
  fresh.add_opened(kToday, "http://a.test/");
  fresh.add_refused(kToday, "http://b.test/");
  ASSERT_TRUE(m_store.save_day(fresh, kToday));

  const DayActivity saved = *m_store.load(kToday, StoreAccess::ReadOnly).find(kToday);
  EXPECT_EQ(saved.seconds_used, 3007u);
  EXPECT_EQ(saved.extra_minutes, 15);
  EXPECT_TRUE(saved.warned);
  EXPECT_EQ(saved.hosts.at("a.test").opened, 2u);
  EXPECT_EQ(saved.hosts.at("b.test").refused, 1u);

  // More time than stored is saved as it is.
  fresh.day(kToday).seconds_used = 4000;
  ASSERT_TRUE(m_store.save_day(fresh, kToday));
  EXPECT_EQ(m_store.load(kToday, StoreAccess::ReadOnly).find(kToday)->seconds_used, 4000u);
}

}  // namespace
}  // namespace tovali
