#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tovali::testing {

struct CommandResult {
  int exit_status = -1;  // -1 when the command did not exit normally
  std::string out;
  std::string err;
};

// Runs argv[0] (a path) with the given arguments and extra environment
// variables, standard input closed, and waits for it (killed after
// `timeout_seconds`, scaled by time_factor()). Captures standard output and
// error.
CommandResult run_command(const std::vector<std::string>& argv,
                          const std::vector<std::pair<std::string, std::string>>& env = {},
                          int timeout_seconds = 60);

}  // namespace tovali::testing
