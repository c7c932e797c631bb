#include "activity/ActivityStore.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <utility>

#include "activity/DayFile.h"
#include "base/AtomicFile.h"
#include "base/RegularFile.h"

namespace tovali {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSuffix = ".txt";

// The text of `path`, at most `limit` + 1 bytes of it (DayFile::parse finds
// a longer one damaged); false when unreadable or not a regular file.
bool read_bounded(const fs::path& path, std::size_t limit, std::string* text) {
  RegularFileRead read = read_regular_file(path.string(), limit);
  if (read.outcome != FileReadOutcome::Read && read.outcome != FileReadOutcome::TooLarge) {
    return false;
  }
  *text = std::move(read.text);
  return true;
}

}  // namespace

ActivityStore::ActivityStore(std::string state_dir)
    : m_folder(std::move(state_dir) + "activity/") {}

std::string ActivityStore::path_of(const LocalDate& date) const {
  return m_folder + date.text() + kSuffix;
}

ActivityRecord ActivityStore::load(const LocalDate& today, StoreAccess access,
                                   ActivityLoadReport* report) const {
  // The day files, by date.
  std::map<long, std::pair<LocalDate, fs::path>> files;
  std::error_code ec;
  fs::directory_iterator it(m_folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != 14 || name.compare(10, 4, kSuffix) != 0) continue;
    const auto date = LocalDate::parse(std::string_view(name).substr(0, 10));
    std::error_code kind_error;
    if (!date || !it->is_regular_file(kind_error)) continue;
    files.emplace(date->days_since_epoch(), std::make_pair(*date, it->path()));
  }
  const long first_kept = first_kept_day(
      today, files.empty() ? std::nullopt : std::optional<LocalDate>(files.rbegin()->second.first));

  ActivityRecord record;
  for (const auto& [days, file] : files) {
    const auto& [date, file_path] = file;
    const std::string path = file_path.string();
    if (days < first_kept) {
      std::error_code ignored;
      if (access == StoreAccess::Tidy) fs::remove(file_path, ignored);
      continue;
    }
    if (access == StoreAccess::Tidy) remove_leftover_temporaries(path);
    std::string text;
    std::string problem;
    if (!read_bounded(file_path, DayFile::kMaxFileSize, &text)) {
      if (report) report->problems.push_back(path + ": cannot be read");
      continue;
    }
    auto day = DayFile::parse(text, &problem);
    if (day) {
      record.set_day(date, std::move(*day));
      continue;
    }
    std::string line = path;
    line += ": damaged (";
    line += problem;
    line += ")";
    if (access == StoreAccess::Tidy) {
      std::error_code rename_error;
      fs::rename(file_path, path + ".damaged", rename_error);
      line += rename_error ? "; could not be set aside: " + rename_error.message()
                           : "; set aside as " + file_path.filename().string() + ".damaged";
    }
    if (report) report->problems.push_back(std::move(line));
  }
  return record;
}

long ActivityStore::first_kept_day(const LocalDate& today,
                                   const std::optional<LocalDate>& newest_stored) {
  long reference = today.days_since_epoch();
  if (newest_stored) reference = std::min(reference, newest_stored->days_since_epoch());
  return reference - (ActivityRecord::kDaysKept - 1);
}

bool ActivityStore::save_day(const ActivityRecord& record, const LocalDate& date,
                             std::string* error) const {
  const DayActivity* day = record.find(date);
  DayActivity saved = day ? *day : DayActivity{};
  // What is stored already counts: a record that lost the date (or never
  // had it) cannot take back time used or pages counted.
  std::string text;
  if (read_bounded(path_of(date), DayFile::kMaxFileSize, &text)) {
    std::string problem;
    if (auto stored = DayFile::parse(text, &problem)) {
      ActivityRecord merged;
      merged.set_day(date, merge_days(saved, *stored));
      saved = *merged.find(date);
    }
  }
  return write_file_atomically(path_of(date), DayFile::format(saved), error);
}

}  // namespace tovali
