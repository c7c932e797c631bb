#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "Polling.h"

namespace tovali::testing {

std::string find_program(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = dirs.find(':', start);
    const std::string dir =
        dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return {};
}

std::string describe_wait_status(int status) {
  if (WIFEXITED(status)) return "exit " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}

std::unique_ptr<ChildProcess> ChildProcess::start(const ProcessOptions& options,
                                                  std::string* error) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<ChildProcess> {
    if (error) *error = why;
    return nullptr;
  };
  if (options.argv.empty()) return fail("no program given");
  const std::string program = find_program(options.argv[0]);
  if (program.empty() || ::access(program.c_str(), X_OK) != 0)
    return fail("program not found: " + options.argv[0]);

  // Everything the child needs is prepared before fork: between fork and
  // exec only async-signal-safe calls are made.
  std::vector<char*> argv;
  for (const auto& a : options.argv) argv.push_back(const_cast<char*>(a.c_str()));
  argv[0] = const_cast<char*>(program.c_str());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& e : options.env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  const int null_in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int out =
      options.output_path.empty()
          ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
          : ::open(options.output_path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (null_in < 0 || out < 0) {
    if (null_in >= 0) ::close(null_in);
    if (out >= 0) ::close(out);
    return fail("cannot open the output file " + options.output_path);
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);  // the test died before the call above
    // A clean signal state: what the test runner blocked or ignored must
    // not change how the program under test reacts to SIGTERM and the like.
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGQUIT}) ::signal(sig, SIG_DFL);
    ::dup2(null_in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    for (const auto& [here, there] : options.inherited_fds) ::dup2(here, there);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  const int saved_errno = errno;
  ::close(null_in);
  ::close(out);
  if (pid < 0) return fail(std::string("fork failed: ") + std::strerror(saved_errno));
  ::setpgid(pid, pid);  // also from here, so the group exists before any signal is sent
  return std::unique_ptr<ChildProcess>(new ChildProcess(pid));
}

ChildProcess::~ChildProcess() {
  stop();
}

bool ChildProcess::reap(int flags) {
  if (m_status) return true;
  int status = 0;
  const pid_t r = ::waitpid(m_pid, &status, flags);
  if (r == m_pid) {
    m_status = status;
    return true;
  }
  if (r < 0 && errno == ECHILD) {  // reaped elsewhere; treat as gone
    m_status = -1;
    return true;
  }
  return false;
}

bool ChildProcess::running() {
  return !reap(WNOHANG);
}

std::optional<int> ChildProcess::wait_exit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + scaled(timeout);
  while (!reap(WNOHANG)) {
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return m_status;
}

void ChildProcess::send_signal(int signal) {
  if (!m_status) ::kill(m_pid, signal);
}

void ChildProcess::stop(std::chrono::milliseconds grace) {
  if (m_stopped) return;
  m_stopped = true;
  // The group may hold grandchildren (WebKit's helper processes) even after
  // the leader has exited, so the group is signalled in any case.
  ::kill(-m_pid, SIGTERM);
  if (!m_status) ::kill(m_pid, SIGTERM);
  if (!wait_exit(grace)) {
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL);
    wait_exit(std::chrono::milliseconds(5000));
  }
  ::kill(-m_pid, SIGKILL);  // stragglers of the group
}

}  // namespace tovali::testing
