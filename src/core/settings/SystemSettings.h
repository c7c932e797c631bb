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

// A name=value line of settings.conf that locks nothing because its name is
// not a setting or its key cannot hold the value.
struct RefusedSystemLine {
  std::size_t line = 0;  // from 1
  std::string problem;   // as CheckedValue::problem gives it
};

struct SystemSettingsText {
  // The locked lines, name=value, in file order, the first accepted line of
  // each name only. Names are trimmed of spaces and tabs; values are stored
  // as check_setting_value gives them (a switch written "yes" locks "1").
  TextList locked;
  // Numbers (from 1) of the lines that are neither name=value, a comment nor
  // blank; they lock nothing.
  std::vector<std::size_t> ignored_lines;
  // The name=value lines refused by check_setting_value, in file order.
  std::vector<RefusedSystemLine> refused_lines;
};

// Parses settings.conf: lines end with CR LF, LF or CR; a line whose first
// non-blank character is "#" is a comment; blank lines are skipped; every
// other line is name=value (the name is the text before the first "=" and
// is compared without case; the value may contain "="). Each name=value
// is checked with check_setting_value (settings/SettingValues.h); an
// unknown name or a value its key cannot hold locks nothing. A UTF-8 byte
// order mark before the first line is skipped. Linear in the text's length.
SystemSettingsText parse_system_settings(std::string_view text);

struct SystemSettingsLoad {
  TextList locked;
  // True when the file exists but could not be read (a folder, too large,
  // no permission, ...): nothing is locked, and the program must not run
  // as if the administrator had locked nothing.
  bool unreadable = false;
  // What the administrator should know ("" when nothing): a file that cannot
  // be read (then nothing is locked), or lines that lock nothing (not
  // name=value, an unknown name, a value its key cannot hold). One line per
  // problem, each ending with "\n", naming the file.
  std::string problems;
};

// Reads `system_dir` + "settings.conf" (`system_dir` ends with "/"). A
// missing file, or an empty `system_dir`, locks nothing and is no problem.
// Never throws.
SystemSettingsLoad load_system_settings(const std::string& system_dir);

// What read_system_settings_file found.
enum class SystemFileRead { Read, Missing, Unreadable };

struct SystemSettingsFile {
  SystemFileRead state = SystemFileRead::Missing;
  std::string text;   // the whole file when Read
  std::string error;  // why not when Unreadable
};

// Reads `system_dir` + "settings.conf" whole, as load_system_settings does
// (a regular file of at most kMaxSystemSettingsBytes). Never throws.
SystemSettingsFile read_system_settings_file(const std::string& system_dir);

// True when this process may create or replace files in `dir`: `dir` is a
// folder it may write, or `dir` is missing and its nearest existing parent
// is such a folder. A path below a regular file is refused.
bool may_write_folder(const std::string& dir);

// Replaces `system_dir` + "settings.conf" with `text` through write_file_atomically
// (mode 644, the folder created when missing). Refused, with nothing
// written, when may_write_folder says no. Returns false with the reason in
// `error` when refused or when a step fails. Never throws.
bool save_system_settings_file(const std::string& system_dir, std::string_view text,
                               std::string& error);

}  // namespace tovali
