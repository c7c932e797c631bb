#include "cli/ReportCommand.h"

#include <optional>
#include <ostream>

#include "activity/ActivityReport.h"
#include "activity/ActivityStore.h"
#include "base/Translate.h"
#include "cli/CommandLine.h"
#include "settings/InstallLayout.h"

namespace tovali {

namespace {

// A whole number of days from 1 to 99999, or 0.
long days_of(const std::string& text) {
  if (text.empty() || text.size() > 5) return 0;
  long days = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    days = days * 10 + (c - '0');
  }
  return days;
}

}  // namespace

int run_report_command(const std::vector<std::string>& args, const std::string& state_dir,
                       const LocalDate& today, std::ostream& out, std::ostream& err) {
  long days = kReportDays;
  bool header = false;
  CommandLine line("tovali-settings");
  line.add_switch("header", 0, &header);
  line.add_value("days", [&days](const std::string& value, std::string& problem) {
    days = days_of(value);
    if (days == 0) problem = tr("not a whole number of days from 1 to 99999");
    return days != 0;
  });
  std::string problem;
  const std::optional<std::vector<std::string>> rest = line.parse(args, problem);
  if (!rest || !rest->empty()) {
    if (!rest) err << "tovali-settings: " << problem << '\n';
    err << tr("Usage: tovali-settings report [--days N] [--header]\n");
    return 2;
  }
  ActivityLoadReport report;
  const ActivityRecord record =
      ActivityStore(state_dir).load(today, StoreAccess::ReadOnly, &report);
  for (const auto& problem : report.problems) err << "tovali-settings: " << problem << '\n';
  if (header) out << kActivityReportHeader << '\n';
  for (const auto& line : activity_report_lines(record, today, days)) out << line << '\n';
  return 0;
}

SettingsTool::Command make_report_command() {
  return [](const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return run_report_command(args, current_locations().state_dir, local_moment_now().date, out,
                              err);
  };
}

}  // namespace tovali
