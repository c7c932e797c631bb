#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/TextList.h"
#include "settings/SettingValues.h"

namespace tovali {

// Edits the text of the administrator's settings.conf the way a person
// would with a text editor: comments, blank lines and the lines of other
// names stay where they are, byte for byte. Names are compared as
// parse_system_settings compares them (trimmed of spaces and tabs, without
// letter case). Pure: reading and writing the file is up to the caller.
class SystemSettingsEditor {
 public:
  // `text`: the whole file ("" for a missing one). Lines may end with CR LF,
  // LF or CR; the edited text ends every line with the ending of the first
  // line (LF when there is none). A UTF-8 byte order mark is kept.
  explicit SystemSettingsEditor(std::string_view text);

  // Locks `name` to `value` when check_setting_value accepts them: the first
  // name=value line of that name becomes "name=value" (the value as the
  // check stores it, a switch "yes" as "1"), later lines of the name are
  // removed so that no older value comes back into force, and a name not in
  // the file gets a line at the end. A refused name or value leaves the text
  // as it was. Returns the check.
  CheckedValue lock(std::string_view name, std::string_view value);

  // Removes every name=value line of `name`. Returns how many were removed
  // (0: the text is unchanged).
  std::size_t unlock(std::string_view name);

  // The edited file.
  std::string text() const;

 private:
  // The name of a name=value line, upper-cased; "" for a comment, a blank
  // line or any other line.
  static std::string line_name(std::string_view line);

  std::string m_byte_order_mark;
  std::string m_line_end;
  TextList m_lines;
};

}  // namespace tovali
