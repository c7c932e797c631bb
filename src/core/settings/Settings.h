#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/TextList.h"
#include "settings/SettingKey.h"

namespace tovali {

enum class LetterCase { AsStored, Upper };

// One write of a value under a name, with the rules of Settings::set_value.
struct NamedValue {
  std::string name;
  std::string value;
};

// The program's whole configuration: an ordered list of name=value lines.
// A line's name is the text before its first "="; a line without "=" has no
// name and is never found. Names are compared without regard to letter case.
//
// The administrator may lock names (see SystemSettings.h): every read of a
// locked name gives the locked value, whatever the user's lines hold, and a
// locked empty value reads as missing. Writes still go to the user's lines,
// which are what the copies keep, so lifting a lock brings the user's value
// back; callers that must leave a locked key alone ask is_locked() first.
class Settings {
 public:
  static constexpr int kMaxListEntries = 65535;

  Settings() = default;
  explicit Settings(TextList lines) : m_lines(std::move(lines)) {}

  // Value of the first line whose name matches `key`; "" when missing.
  std::string value(std::string_view key) const;
  std::string value(SettingKey key) const { return value(key.name()); }

  // True when a line with that name exists (even with an empty value).
  bool has(std::string_view key) const;
  bool has(SettingKey key) const { return has(key.name()); }

  // A non-empty value replaces the first matching line in place, or is
  // appended as a new line; the empty value deletes the first matching line.
  void set_value(std::string_view key, std::string_view value);
  void set_value(SettingKey key, std::string_view value) { set_value(key.name(), value); }

  // The same as set_value for every write in order, in time linear in the
  // number of lines and writes (set_value alone searches the list).
  void set_values(const std::vector<NamedValue>& writes);

  // Deletes the first matching line, if any.
  void remove(std::string_view key) { set_value(key, ""); }

  // Switch: the rule of the key in the table of settings/SettingsKeys.h:
  // on exactly when the value is "1", except `download_config`, which is
  // off only when exactly "0" (missing means on). Names the table does not
  // know follow the "1" rule.
  bool is_on(std::string_view key) const;
  bool is_on(SettingKey key) const { return is_on(key.name()); }

  // Count: the value as a decimal integer; 0 when missing or not a number.
  int count(std::string_view key) const;
  int count(SettingKey key) const { return count(key.name()); }

  // Numbered list: entries prefix+"0" .. prefix+(count-1), in order, read by
  // name (a missing entry reads as ""); upper-cased on request. A count of 0
  // or less gives an empty list; a count above kMaxListEntries reads as
  // kMaxListEntries.
  TextList list(std::string_view count_key, std::string_view prefix,
                LetterCase letter_case = LetterCase::AsStored) const;
  TextList list(SettingKey count_key, std::string_view prefix,
                LetterCase letter_case = LetterCase::AsStored) const {
    return list(count_key.name(), prefix, letter_case);
  }

  // The user's lines, as saved to the copies (locks not applied).
  const TextList& lines() const { return m_lines; }
  // Replace or clear the user's lines; the locks stay.
  void assign(TextList lines) { m_lines = std::move(lines); }
  void clear() { m_lines.clear(); }

  // Puts the administrator's name=value lines in force over the user's
  // (the first line of a name counts; lines without a name lock nothing).
  // Linear in the number of lines: the locked names are indexed, so that
  // every later lookup of a lock takes constant time.
  void set_locked(TextList locked_lines);
  const TextList& locked_lines() const { return m_locked; }

  // True when the administrator has locked `key`. Constant time.
  bool is_locked(std::string_view key) const;
  bool is_locked(SettingKey key) const { return is_locked(key.name()); }

  // The values in force as lines: the user's lines with the first line of
  // each locked name replaced by the locked line (removed when the locked
  // value is empty), then the locked names that the user's lines lack, in
  // the administrator's order. Linear in the number of lines.
  TextList lines_in_force() const;

 private:
  // Index of the first line of `lines` whose name matches, or npos.
  static std::size_t find_in(const TextList& lines, std::string_view key);
  std::size_t find(std::string_view key) const { return find_in(m_lines, key); }
  // Index of the first locked line named `key`, or npos.
  std::size_t find_locked(std::string_view key) const;

  TextList m_lines;
  TextList m_locked;
  // Upper-cased locked name -> index of its first line in m_locked.
  std::unordered_map<std::string, std::size_t> m_locked_index;
};

// The writes that turn the values of `before` into those of `after`, as
// Settings::set_values applies them: the first value of every name that
// `after` gives differently from `before` or newly (in the order of `after`),
// then an empty value for every name that `after` no longer has. Names are
// compared without regard to letter case; nameless lines and the lines
// behind a name's first are not compared. Linear in the number of lines.
std::vector<NamedValue> changes_between(const TextList& before, const TextList& after);

// Parses a count the way every count key is read: optional sign and decimal
// digits only, otherwise (or when out of int range) 0.
int parse_count(std::string_view text);

}  // namespace tovali
