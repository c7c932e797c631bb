#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "ChildProcess.h"
#include "Polling.h"
#include "TestEnvironment.h"

namespace tovali::testing {

// The real `tovali-settings`, run with a test's environment, so the settings
// copies land in the test's private XDG_CONFIG_HOME.
class SettingsCommand {
 public:
  explicit SettingsCommand(const TestEnvironment& env) : m_env(env) {}

  static bool available();

  // `tovali-settings set KEY VALUE`; on failure `error` gets the tool's output.
  bool set(const std::string& key, const std::string& value, std::string* error = nullptr) const;
  bool unset(const std::string& key, std::string* error = nullptr) const;
  // The value, or nothing when the key is missing.
  std::optional<std::string> get(const std::string& key) const;
  // `tovali-settings list`.
  std::string list() const;
  // `tovali-settings report`: the child's activity of the last 14 days.
  std::string report() const;

 private:
  const TestEnvironment& m_env;
};

// The program under test, run from a private program folder holding a hard
// link to (or a copy of) build/tovali-explorer and the supplied pages. It
// writes "prohurl.log", "error.html" and "moresites.html" into the state
// folder of its environment (TestEnvironment::program_state_dir()).
class ExplorerProcess {
 public:
  // Whether build/tovali-explorer exists (tests skip when it does not).
  static bool available();

  // Fills `program_dir` with the executable and the supplied pages (once;
  // later calls keep files the program wrote there).
  static bool prepare_program_dir(const std::string& program_dir, std::string* error);

  // Starts the program from `program_dir` (prepared if needed) on `display`.
  // Its standard output and error go to `output_path`.
  static std::unique_ptr<ExplorerProcess> start(const TestEnvironment& env,
                                                const std::string& display,
                                                const std::string& program_dir,
                                                const std::string& output_path, std::string* error);

  // The program folder, ending in "/".
  const std::string& program_dir() const { return m_program_dir; }
  // A file the program writes (in its state folder).
  std::string file(const std::string& name) const { return m_state_dir + name; }

  // What the program wrote to standard output and error so far.
  std::string output() const;

  // Sends `signal` and waits for the exit; true when it exited in time.
  bool signal_and_wait(int signal, std::chrono::milliseconds timeout = kEventTimeout);

  ChildProcess& process() { return *m_process; }

 private:
  ExplorerProcess(std::unique_ptr<ChildProcess> process, std::string program_dir,
                  std::string state_dir, std::string output_path)
      : m_process(std::move(process)),
        m_program_dir(std::move(program_dir)),
        m_state_dir(std::move(state_dir)),
        m_output_path(std::move(output_path)) {}

  std::unique_ptr<ChildProcess> m_process;
  std::string m_program_dir;
  std::string m_state_dir;
  std::string m_output_path;
};

}  // namespace tovali::testing
