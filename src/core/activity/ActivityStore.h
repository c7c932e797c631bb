#pragma once

#include <optional>
#include <string>
#include <vector>

#include "activity/ActivityRecord.h"
#include "activity/LocalDate.h"

namespace tovali {

// Whether loading may change the folder.
enum class StoreAccess {
  ReadOnly,  // report only (tovali-settings report)
  Tidy,      // also set damaged files aside and remove days no longer kept
};

// What loading found wrong: one readable line per damaged file.
struct ActivityLoadReport {
  std::vector<std::string> problems;
  bool ok() const { return problems.empty(); }
};

// The activity record on disk: one file per date, `state_dir` +
// "activity/YYYY-MM-DD.txt" in the format of DayFile, each replaced
// atomically. Files of other names are left alone.
class ActivityStore {
 public:
  // `state_dir`: the program's state folder, ending with "/".
  explicit ActivityStore(std::string state_dir);

  // The folder of the day files, ending with "/".
  const std::string& folder() const { return m_folder; }
  // The file of `date`.
  std::string path_of(const LocalDate& date) const;

  // Reads every day file into a record, leaving out the dates that are no
  // longer kept (first_kept_day of `today` and the newest stored date). A
  // damaged file is told in `report` and its date left out; with
  // StoreAccess::Tidy it is renamed to its name + ".damaged" (replacing an
  // older one), and the files of dates no longer kept and the temporaries of
  // writes that were cut short are removed. A missing folder gives an empty
  // record. Never throws.
  ActivityRecord load(const LocalDate& today, StoreAccess access,
                      ActivityLoadReport* report = nullptr) const;

  // The first date kept, in days since the epoch: kDaysKept days back from
  // the earlier of `today` and the newest stored date. A wall clock set
  // ahead (a date no day file has yet) or back (before the newest day file)
  // therefore removes nothing that the true date keeps.
  static long first_kept_day(const LocalDate& today, const std::optional<LocalDate>& newest_stored);

  // Writes the file of `date` from `record` (an empty day when it holds
  // none), merged with what the file holds (merge_days), so a stored day
  // never loses time or counts. Returns false with `error` set when that
  // fails. Never throws.
  bool save_day(const ActivityRecord& record, const LocalDate& date,
                std::string* error = nullptr) const;

 private:
  std::string m_folder;
};

}  // namespace tovali
