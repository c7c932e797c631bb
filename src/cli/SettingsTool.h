#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "settings/ConfigStore.h"

namespace tovali {

// The `tovali-settings` front end: reads and writes the settings copies
// exactly as the program does. Commands beyond the built-in ones (such as
// one that needs a main loop) are registered by the executable.
class SettingsTool {
 public:
  // args: the command and its arguments (without the program name).
  using Command = std::function<int(const std::vector<std::string>& args, std::ostream& out,
                                    std::ostream& err)>;

  // `system_dir`: the administrator's folder (ending with "/"), whose
  // settings.conf locks keys; "" for none.
  explicit SettingsTool(ConfigStore store, std::string system_dir = {})
      : m_store(std::move(store)), m_system_dir(std::move(system_dir)) {}

  // Adds a command `name` described by `usage_line` in the usage text.
  void add_command(const std::string& name, const std::string& usage_line, Command command);

  // Runs one call. Exit status: 0 success, 1 missing key, failed save or a
  // key locked by the administrator, 2 wrong call (usage printed on `err`).
  // `list` and `get` show the values in force (the locks applied); what is
  // wrong with settings.conf is told on `err`.
  int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

  std::string usage() const;

 private:
  // The settings as the program reads them: the locks, then the copies.
  Settings read(std::ostream& err) const;
  int list(std::ostream& out, std::ostream& err) const;
  int get(const std::string& key, std::ostream& out, std::ostream& err) const;
  int write(const std::string& key, const std::string& value, std::ostream& err) const;
  int paths(std::ostream& out) const;

  ConfigStore m_store;
  std::string m_system_dir;
  std::map<std::string, std::pair<std::string, Command>> m_extra;
};

// Prints what is wrong with the administrator's settings.conf (the problems
// as LoadSystemSettings gives them), each line after "tovali-settings: ".
void report_system_settings_problems(const std::string& problems, std::ostream& err);

}  // namespace tovali
