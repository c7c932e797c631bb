#pragma once

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

}  // namespace tovali
