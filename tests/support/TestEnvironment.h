#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tovali::testing {

// The environment of the processes one test starts: the test process's own
// environment with private HOME and XDG folders below `root`, so that the
// program's settings, website data and caches never touch the user's own or
// another test's. Variables that would reach out of the test (a desktop
// session's display, bus or proxy) are removed.
class TestEnvironment {
 public:
  // Creates root/home, root/config, root/data, root/cache, root/state and
  // root/runtime.
  explicit TestEnvironment(const std::string& root);

  void set(const std::string& name, const std::string& value);
  void unset(const std::string& name);
  // The value, or "" when unset.
  std::string get(const std::string& name) const;

  // "NAME=value" entries for ProcessOptions::env.
  std::vector<std::string> entries() const;
  // The variables that differ from the test process's environment (for
  // run_command, which adds variables to its own).
  std::vector<std::pair<std::string, std::string>> overrides() const;

  const std::string& home() const { return m_home; }
  const std::string& config_home() const { return m_config; }  // XDG_CONFIG_HOME
  const std::string& data_home() const { return m_data; }      // XDG_DATA_HOME
  const std::string& cache_home() const { return m_cache; }    // XDG_CACHE_HOME
  const std::string& state_home() const { return m_state; }    // XDG_STATE_HOME
  // Where the program writes prohurl.log, error.html and moresites.html:
  // state_home() + "/tovali-explorer/" (created by the program).
  std::string program_state_dir() const { return m_state + "/tovali-explorer/"; }
  // TOVALI_SYSTEM_DIR, ending with "/"; not created.
  const std::string& system_dir() const { return m_system; }

 private:
  std::map<std::string, std::string> m_vars;
  std::string m_home, m_config, m_data, m_cache, m_state, m_system;
};

}  // namespace tovali::testing
