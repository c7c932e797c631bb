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

  explicit SettingsTool(ConfigStore store) : m_store(std::move(store)) {}

  // Adds a command `name` described by `usage_line` in the usage text.
  void add_command(const std::string& name, const std::string& usage_line, Command command);

  // Runs one call. Exit status: 0 success, 1 missing key or failed save,
  // 2 wrong call (usage printed on `err`).
  int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

  std::string usage() const;

 private:
  int list(std::ostream& out) const;
  int get(const std::string& key, std::ostream& out) const;
  int write(const std::string& key, const std::string& value, std::ostream& err) const;
  int paths(std::ostream& out) const;

  ConfigStore m_store;
  std::map<std::string, std::pair<std::string, Command>> m_extra;
};

}  // namespace tovali
