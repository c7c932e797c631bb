#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "activity/ActivityRecord.h"

namespace tovali {

// The text of one date's activity file. Lines end with LF; fields are
// separated by tabs:
//   tovali-activity<TAB>1
//   used<TAB>SECONDS
//   extra<TAB>MINUTES
//   warned<TAB>0|1
//   host<TAB>NAME<TAB>OPENED<TAB>REFUSED<TAB>ASKED<TAB>ONCE<TAB>ALWAYS<TAB>DECLINED<TAB>BLOCKED
// (one host line per host, by host name). A host line without BLOCKED, as
// files written before that count existed have them, reads as 0 blocked.
class DayFile {
 public:
  // Largest file read; a longer one counts as damaged.
  static constexpr std::size_t kMaxFileSize = 512 * 1024;
  // Longest line read; a longer one makes the file damaged.
  static constexpr std::size_t kMaxLineLength = 512;

  // The text of `day`.
  static std::string format(const DayActivity& day);

  // The activity in `text`; nullopt with a readable reason in `problem` when
  // the text is not one that format() writes (or breaks the bounds of
  // ActivityRecord). Never throws.
  static std::optional<DayActivity> parse(std::string_view text, std::string* problem);
};

}  // namespace tovali
