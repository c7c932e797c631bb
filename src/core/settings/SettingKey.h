#pragma once

#include <string_view>

namespace tovali {

// The name of a settings key the program knows, spelled once in
// settings/SettingsKeys.h. Reads and writes through a SettingKey cannot
// misspell a name; text names remain for names made at run time (numbered
// list entries, names typed by a person or read from a file).
class SettingKey {
 public:
  explicit constexpr SettingKey(std::string_view name) : m_name(name) {}

  // The name as stored in the settings lines.
  constexpr std::string_view name() const { return m_name; }

 private:
  std::string_view m_name;
};

}  // namespace tovali
