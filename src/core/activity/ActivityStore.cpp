#include "activity/ActivityStore.h"

#include <filesystem>
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
  ActivityRecord record;
  std::error_code ec;
  fs::directory_iterator it(m_folder, ec);
  const long first_kept = today.days_since_epoch() - (ActivityRecord::kDaysKept - 1);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != 14 || name.compare(10, 4, kSuffix) != 0) continue;
    const auto date = LocalDate::parse(std::string_view(name).substr(0, 10));
    std::error_code kind_error;
    if (!date || !it->is_regular_file(kind_error)) continue;
    const std::string path = it->path().string();
    if (date->days_since_epoch() < first_kept) {
      std::error_code ignored;
      if (access == StoreAccess::Tidy) fs::remove(it->path(), ignored);
      continue;
    }
    if (access == StoreAccess::Tidy) remove_leftover_temporaries(path);
    std::string text;
    std::string problem;
    if (!read_bounded(it->path(), DayFile::kMaxFileSize, &text)) {
      if (report) report->problems.push_back(path + ": cannot be read");
      continue;
    }
    auto day = DayFile::parse(text, &problem);
    if (day) {
      record.set_day(*date, std::move(*day));
      continue;
    }
    std::string line = path;
    line += ": damaged (";
    line += problem;
    line += ")";
    if (access == StoreAccess::Tidy) {
      std::error_code rename_error;
      fs::rename(it->path(), path + ".damaged", rename_error);
      line += rename_error ? "; could not be set aside: " + rename_error.message()
                           : "; set aside as " + name + ".damaged";
    }
    if (report) report->problems.push_back(std::move(line));
  }
  return record;
}

bool ActivityStore::save_day(const ActivityRecord& record, const LocalDate& date,
                             std::string* error) const {
  const DayActivity* day = record.find(date);
  return write_file_atomically(path_of(date), DayFile::format(day ? *day : DayActivity{}), error);
}

}  // namespace tovali
