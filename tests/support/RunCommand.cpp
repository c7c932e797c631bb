#include "RunCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "Polling.h"

namespace tovali::testing {

CommandResult run_command(const std::vector<std::string>& argv,
                          const std::vector<std::pair<std::string, std::string>>& env,
                          int timeout_seconds) {
  CommandResult result;
  int out_pipe[2], err_pipe[2];
  if (::pipe(out_pipe) != 0) return result;
  if (::pipe(err_pipe) != 0) {
    ::close(out_pipe[0]);
    ::close(out_pipe[1]);
    return result;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out_pipe[1], 1);
    ::dup2(err_pipe[1], 2);
    const int devnull = ::open("/dev/null", O_RDONLY);
    if (devnull >= 0) ::dup2(devnull, 0);
    ::close(out_pipe[0]);
    ::close(err_pipe[0]);
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  if (pid < 0) {
    ::close(out_pipe[0]);
    ::close(err_pipe[0]);
    return result;
  }
  const auto deadline =
      std::chrono::steady_clock::now() + scaled(std::chrono::seconds(timeout_seconds));
  pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open_fds = 2;
  while (open_fds > 0 && std::chrono::steady_clock::now() < deadline) {
    if (::poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open_fds;
      }
    }
  }
  for (auto& fd : fds) {
    if (fd.fd >= 0) ::close(fd.fd);
  }
  if (open_fds > 0) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  return result;
}

}  // namespace tovali::testing
