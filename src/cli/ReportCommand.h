#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "activity/LocalDate.h"
#include "base/Translate.h"
#include "cli/SettingsTool.h"

namespace tovali {

// `tovali-settings report [--days N] [--header]`: prints the activity
// record of the state folder `state_dir` as activity_report_lines gives them
// for the last N dates up to `today` (default kReportDays), one per line,
// after the line kActivityReportHeader with `--header` (printed even when no
// line follows). The folder is only read; damaged day files are told on
// `err`. Exit status 0; 2 for a wrong call (usage on `err`).
int run_report_command(const std::vector<std::string>& args, const std::string& state_dir,
                       const LocalDate& today, std::ostream& out, std::ostream& err);

// The command as the front end registers it: the state folder from
// XDG_STATE_HOME and HOME, today from the local clock.
SettingsTool::Command make_report_command();

inline constexpr long kReportDays = 14;

// Its line in the usage text.
inline constexpr const char* kReportUsage =
    N_("report [--days N] [--header]\n"
       "                    print the child's activity and grown-up requests of the last\n"
       "                    N days (default 14); --header first prints the column names");

}  // namespace tovali
