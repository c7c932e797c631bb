#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"

namespace tovali {

// The administrator's settings file in the system folder. Every name it
// lists is locked: its value is in force over the user's settings.
inline constexpr const char* kSystemSettingsFile = "settings.conf";

// A settings.conf larger than this is not read (it cannot be a list of a few
// hundred settings, and reading must not hang on a device file).
inline constexpr std::size_t kMaxSystemSettingsBytes = 1024 * 1024;

struct SystemSettingsText {
  // The locked lines, name=value, in file order, the first line of each name
  // only. Names are trimmed of spaces and tabs; values are kept byte for byte.
  TextList locked;
  // Numbers (from 1) of the lines that are neither name=value, a comment nor
  // blank; they lock nothing.
  std::vector<std::size_t> ignored_lines;
};

// Parses settings.conf: lines end with CR LF, LF or CR; a line whose first
// non-blank character is "#" is a comment; blank lines are skipped; every
// other line is name=value (the name is the text before the first "=" and
// is compared without case; the value may contain "="). A UTF-8 byte order
// mark before the first line is skipped.
SystemSettingsText parse_system_settings(std::string_view text);

struct SystemSettingsLoad {
  TextList locked;
  // What the administrator should know ("" when nothing): a file that cannot
  // be read (then nothing is locked), or lines that lock nothing. One line
  // per problem, each ending with "\n", naming the file.
  std::string problems;
};

// Reads `system_dir` + "settings.conf" (`system_dir` ends with "/"). A
// missing file, or an empty `system_dir`, locks nothing and is no problem.
// Never throws.
SystemSettingsLoad LoadSystemSettings(const std::string& system_dir);

}  // namespace tovali
