#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tovali::testing {

// How to start a long-running helper process (Xvfb, the test server, the
// program under test).
struct ProcessOptions {
  std::vector<std::string> argv;  // argv[0]: a path, or a name looked up in PATH
  std::vector<std::string> env;   // the whole environment, "NAME=value" each
  std::string output_path;        // standard output and error go here ("" = /dev/null)
  // Extra descriptors handed to the child: {descriptor here, number in the child}.
  std::vector<std::pair<int, int>> inherited_fds;
};

// A child process in a process group of its own. It is killed when the test
// process dies (parent-death signal), and its whole group is terminated when
// the object goes away, so no helper outlives a failed or crashed test.
class ChildProcess {
 public:
  // Starts the process; nullptr (and `error` filled) when it cannot be started.
  static std::unique_ptr<ChildProcess> start(const ProcessOptions& options, std::string* error);

  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return m_pid; }

  // True while the process has not exited (reaps it when it has).
  bool running();

  // Waits up to `timeout` (scaled by time_factor()) for the process to exit,
  // returning as soon as it has. Returns its wait status
  // (as waitpid gives it) or nothing when it is still running.
  std::optional<int> wait_exit(std::chrono::milliseconds timeout);

  // The wait status once the process has exited.
  std::optional<int> exit_status() const { return m_status; }

  // Sends `signal` to the process itself (not to its group).
  void send_signal(int signal);

  // SIGTERM to the whole group, then SIGKILL after `grace`; reaps the process.
  void stop(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));

 private:
  explicit ChildProcess(pid_t pid) : m_pid(pid) {}
  bool reap(int flags);

  pid_t m_pid;
  std::optional<int> m_status;
  bool m_stopped = false;
};

// Looks `name` up in PATH; returns it unchanged when it contains a "/".
// Empty when it is not found.
std::string find_program(const std::string& name);

// Describes a wait status for failure messages ("exit 1", "signal 9").
std::string describe_wait_status(int status);

}  // namespace tovali::testing
