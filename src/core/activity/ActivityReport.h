#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "activity/ActivityRecord.h"
#include "activity/LocalDate.h"

namespace tovali {

// The lines of `tovali-settings report`, without line ends: for each date
// from `today` back over `days` dates (today included) that the record
// holds, newest first, one line per host in ascending byte order of the host
// name, then the line of the date's whole minutes used. The fields are
// separated by tabs and named by kActivityReportHeader:
//   DATE HOST OPENED REFUSED ASKED ONCE ALWAYS DECLINED BLOCKED
// ASKED counts the grown-up requests for the host, whatever their answer;
// ONCE, ALWAYS and DECLINED the answers "Just this time", "Always" and
// "Not now" (a request whose password prompt was cancelled has none);
// BLOCKED the loads of its pages that were refused (HostActivity::blocked).
// BLOCKED comes last so that readers of the first eight fields read on as
// before. The minutes line is "DATE<TAB>*<TAB>MINUTES" followed by six "0"
// fields.
// Dates after `today` are left out. `days` below 1 gives no lines.
std::vector<std::string> activity_report_lines(const ActivityRecord& record, const LocalDate& today,
                                               long days);

// The names of the fields of activity_report_lines, tab-separated.
inline constexpr const char* kActivityReportHeader =
    "DATE\tHOST\tOPENED\tREFUSED\tASKED\tONCE\tALWAYS\tDECLINED\tBLOCKED";

// One date of the setup dialog's "Activity" tab.
struct RecentDay {
  LocalDate date;
  std::uint64_t minutes = 0;              // whole minutes used
  const DayActivity* activity = nullptr;  // nullptr when nothing was recorded
};

// The `days` dates up to `today` (today included), newest first (today is
// the first), every one of them, with or without a record. `days` below 1
// gives none. The pointers stay valid while `record` is not changed.
std::vector<RecentDay> recent_days(const ActivityRecord& record, const LocalDate& today, long days);

}  // namespace tovali
