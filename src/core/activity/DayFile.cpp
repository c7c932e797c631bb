#include "activity/DayFile.h"

#include <vector>

namespace tovali {

namespace {

constexpr const char* kHeader = "tovali-activity\t1";

std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t from = 0;;) {
    const auto tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
    if (tab == std::string_view::npos) return fields;
    from = tab + 1;
  }
}

// A count of at most 15 digits.
std::optional<std::uint64_t> count_of(std::string_view text) {
  if (text.empty() || text.size() > 15) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// The fields of a host line: "host", the name and the counts. The last
// count, BLOCKED, is missing from the lines written before it was kept.
constexpr std::size_t kHostFields = 9;
constexpr std::size_t kOldHostFields = 8;

// The counts of a host line of kHostFields or kOldHostFields fields.
std::optional<HostActivity> host_counts(const std::vector<std::string_view>& fields) {
  HostActivity counts;
  std::uint64_t* const order[] = {&counts.opened,       &counts.refused,        &counts.asked,
                                  &counts.allowed_once, &counts.allowed_always, &counts.declined,
                                  &counts.blocked};
  for (std::size_t i = 0; i + 2 < fields.size(); ++i) {
    const auto value = count_of(fields[i + 2]);
    if (!value) return std::nullopt;
    *order[i] = *value;
  }
  return counts;
}

}  // namespace

std::string DayFile::format(const DayActivity& day) {
  std::string text = std::string(kHeader) + "\n";
  text += "used\t" + std::to_string(day.seconds_used) + "\n";
  text += "extra\t" + std::to_string(day.extra_minutes) + "\n";
  text += std::string("warned\t") + (day.warned ? "1" : "0") + "\n";
  for (const auto& [name, c] : day.hosts) {
    text += "host\t" + name;
    for (const std::uint64_t n :
         {c.opened, c.refused, c.asked, c.allowed_once, c.allowed_always, c.declined, c.blocked}) {
      text += "\t" + std::to_string(n);
    }
    text += "\n";
  }
  return text;
}

std::optional<DayActivity> DayFile::parse(std::string_view text, std::string* problem) {
  const auto fail = [&](std::string reason) -> std::optional<DayActivity> {
    if (problem) *problem = std::move(reason);
    return std::nullopt;
  };
  if (text.size() > kMaxFileSize) return fail("the file is larger than it can be");
  if (text.empty() || text.back() != '\n') return fail("the file ends in the middle of a line");
  DayActivity day;
  std::size_t number = 0;
  for (std::size_t from = 0; from < text.size();) {
    const auto end = text.find('\n', from);
    const std::string_view line = text.substr(from, end - from);
    from = end + 1;
    const std::string where = "line " + std::to_string(++number) + ": ";
    if (line.size() > kMaxLineLength) return fail(where + "too long");
    if (number == 1) {
      if (line != kHeader) return fail(where + "not an activity file");
      continue;
    }
    const auto fields = fields_of(line);
    const std::string_view kind = fields[0];
    if (kind == "host" && (fields.size() == kHostFields || fields.size() == kOldHostFields)) {
      const auto counts = host_counts(fields);
      const std::string name(fields[1]);
      if (!counts || name.empty() || name.size() > ActivityRecord::kMaxHostLength ||
          day.hosts.count(name) != 0 || day.hosts.size() >= ActivityRecord::kMaxHostsPerDay) {
        return fail(where + "not a valid host line");
      }
      day.hosts.emplace(name, *counts);
      continue;
    }
    const auto parsed = fields.size() == 2 ? count_of(fields[1]) : std::nullopt;
    const bool valid = parsed.has_value();
    const std::uint64_t value = parsed.value_or(0);
    if (kind == "used" && valid) {
      day.seconds_used = value;
    } else if (kind == "extra" && valid && value <= 24 * 60) {
      day.extra_minutes = static_cast<int>(value);
    } else if (kind == "warned" && valid && value <= 1) {
      day.warned = value == 1;
    } else {
      return fail(where + "not a valid line");
    }
  }
  return day;
}

}  // namespace tovali
