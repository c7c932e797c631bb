#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "activity/ActivityRecord.h"
#include "activity/LocalDate.h"

namespace tovali {

// The lines of `tovali-settings report`, without line ends: for each date
// from `today` back over `days` dates (today included) that the record
// holds, newest first, one line "DATE<TAB>HOST<TAB>OPENED<TAB>REFUSED" per
// host in ascending byte order of the host name, then the line
// "DATE<TAB>*<TAB>MINUTES<TAB>0" with the whole minutes used that date.
// Dates after `today` are left out. `days` below 1 gives no lines.
std::vector<std::string> activity_report_lines(const ActivityRecord& record, const LocalDate& today,
                                               long days);

// One date of the setup dialog's "Activity" tab.
struct RecentDay {
  LocalDate date;
  std::uint64_t minutes = 0;              // whole minutes used
  const DayActivity* activity = nullptr;  // nullptr when nothing was recorded
};

// The `days` dates up to `today` (today included), oldest first, every one
// of them, with or without a record. `days` below 1 gives none. The
// pointers stay valid while `record` is not changed.
std::vector<RecentDay> recent_days(const ActivityRecord& record, const LocalDate& today, long days);

}  // namespace tovali
