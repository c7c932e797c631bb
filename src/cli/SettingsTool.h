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

  // Sets what runs a call with the `--system` option (its command and
  // arguments), described by `usage_lines` in the usage text. Without it,
  // `--system` is a wrong call.
  void set_system_command(const std::string& usage_lines, Command command);

  // Runs one call: --help (-h) or help alone, a command and its arguments,
  // or --system and a command of the system command; options are read only
  // before the command. Exit status: 0
  // success; 1 missing key, failed save, a key locked by the administrator,
  // or a change while the administrator's settings.conf exists but cannot be
  // read; 2 wrong call (usage printed on `err`, after the name of an option
  // the tool does not know), or `set`/`unset` of a name that is not a
  // setting or a value its key cannot hold (the key and the form it takes
  // told on `err`; nothing is written). `set` stores a switch written
  // yes/true/on as "1" and no/false/off as "0". `unset` of an unknown name
  // deletes a line of that name that is stored. `list` and `get` show the
  // values in force (the locks applied); what is wrong with settings.conf is
  // told on `err`.
  int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

  std::string usage() const;

 private:
  enum class SystemFileState { Read, Unreadable };
  // The settings as the program reads them: the locks, then the copies;
  // whether settings.conf could be read goes to `system_state` when given.
  Settings read(std::ostream& err, SystemFileState* system_state = nullptr) const;
  int list(std::ostream& out, std::ostream& err) const;
  int get(const std::string& key, std::ostream& out, std::ostream& err) const;
  int write(const std::string& key, const std::string& value, std::ostream& err) const;
  int paths(std::ostream& out) const;

  ConfigStore m_store;
  std::string m_system_dir;
  std::map<std::string, std::pair<std::string, Command>> m_extra;
  std::string m_system_usage;
  Command m_system_command;
};

// Prints what is wrong with the administrator's settings.conf (the problems
// as load_system_settings gives them), each line after "tovali-settings: ".
void report_system_settings_problems(const std::string& problems, std::ostream& err);

}  // namespace tovali
