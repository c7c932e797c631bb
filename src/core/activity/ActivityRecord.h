#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "activity/LocalDate.h"

namespace tovali {

// What a grown-up answered to a child's request for a page.
enum class RequestAnswer { NoAnswer, AllowedOnce, AllowedAlways, Declined };

// The counts of one host on one date.
struct HostActivity {
  std::uint64_t opened = 0;  // pages opened in the main frame or a pop-up
  std::uint64_t refused = 0;
  std::uint64_t asked = 0;  // grown-up requests, whatever their answer
  std::uint64_t allowed_once = 0;
  std::uint64_t allowed_always = 0;
  std::uint64_t declined = 0;
  // Loads of a page (images, scripts, fetches...) that were refused without
  // a word to the child; navigations count under `refused`.
  std::uint64_t blocked = 0;

  friend bool operator==(const HostActivity& a, const HostActivity& b) {
    return a.opened == b.opened && a.refused == b.refused && a.asked == b.asked &&
           a.allowed_once == b.allowed_once && a.allowed_always == b.allowed_always &&
           a.declined == b.declined && a.blocked == b.blocked;
  }
};

// Everything recorded for one date.
struct DayActivity {
  std::uint64_t seconds_used = 0;
  int extra_minutes = 0;                      // granted by "Add 15 minutes today"
  bool warned = false;                        // the five-minute warning was shown
  std::map<std::string, HostActivity> hosts;  // by host name, ascending

  friend bool operator==(const DayActivity& a, const DayActivity& b) {
    return a.seconds_used == b.seconds_used && a.extra_minutes == b.extra_minutes &&
           a.warned == b.warned && a.hosts == b.hosts;
  }
};

// Two records of one date as one: every count, the seconds used and the extra
// minutes the larger of the two, warned when either was; the hosts of both.
// Used when a day is saved over what is stored, so nothing stored goes down.
DayActivity merge_days(const DayActivity& a, const DayActivity& b);

// The activity of the child per date, in memory. Dates are never dropped
// while the program runs (a wall clock that jumps would take a kept day
// with it); the store leaves the old ones out at the next load. Bounded: at most
// kMaxHostsPerDay hosts per date (later hosts count under kOtherHosts) and
// host names of at most kMaxHostLength characters.
class ActivityRecord {
 public:
  static constexpr std::size_t kMaxHostsPerDay = 1000;
  static constexpr std::size_t kMaxHostLength = 255;
  // Days kept: today and the 89 before it.
  static constexpr long kDaysKept = 90;
  // The host that counts what does not fit under the bound.
  static constexpr const char* kOtherHosts = "(other hosts)";

  // The host a URL is recorded under: its domain as the guards see it
  // (ExtractDomain), lower-cased and cut to kMaxHostLength. "" for a URL
  // that belongs to no site: one without "://" or a host ("about:blank",
  // "data:..."), and every "file:" URL (the program's own pages, the menu,
  // the generated pages), which are never counted.
  static std::string host_of(std::string_view url);

  // A page opened in the main frame or a pop-up on `date`, counted under
  // host_of(url); nothing when that is "".
  void add_opened(const LocalDate& date, std::string_view url);
  // A refused navigation on `date`, counted as add_opened counts.
  void add_refused(const LocalDate& date, std::string_view url);
  // A load of a page from `url` that was refused on `date` (a blocked item,
  // not a navigation), counted as add_opened counts.
  void add_blocked(const LocalDate& date, std::string_view url);
  // A grown-up request for `url` on `date` and its answer, counted as
  // add_opened counts.
  void add_request(const LocalDate& date, std::string_view url, RequestAnswer answer);

  // The date's record, created empty when missing.
  DayActivity& day(const LocalDate& date);
  // The date's record, or nullptr.
  const DayActivity* find(const LocalDate& date) const;
  // Replaces the date's record (hosts beyond the bounds are dropped).
  void set_day(const LocalDate& date, DayActivity activity);

  // Every date, keyed by LocalDate::days_since_epoch, oldest first.
  const std::map<long, DayActivity>& days() const { return m_days; }

 private:
  // The counts of host_of(url) on `date`; nullptr when the URL has no host.
  HostActivity* host(const LocalDate& date, std::string_view url);

  std::map<long, DayActivity> m_days;
};

}  // namespace tovali
