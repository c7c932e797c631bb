#include "SpecialFiles.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace tovali::testing {

const char* special_file_name(SpecialFile kind) {
  return kind == SpecialFile::Fifo ? "a FIFO" : "a link to /dev/zero";
}

bool make_special_file(const std::string& path, SpecialFile kind) {
  if (kind == SpecialFile::Fifo) return ::mkfifo(path.c_str(), 0600) == 0;
  return ::symlink("/dev/zero", path.c_str()) == 0;
}

bool run_in_child(const std::function<bool()>& work, int deadline_seconds, std::string* problem) {
  const pid_t child = ::fork();
  if (child < 0) {
    if (problem) *problem = "fork failed";
    return false;
  }
  if (child == 0) {
    bool ok = false;
    try {
      ok = work();
    } catch (...) {
      ok = false;
    }
    ::_exit(ok ? 0 : 1);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(deadline_seconds);
  int status = 0;
  while (true) {
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == child) break;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      if (problem) *problem = "still running after " + std::to_string(deadline_seconds) + " s";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  if (problem) *problem = WIFSIGNALED(status) ? "the child was killed by a signal" : "false";
  return false;
}

}  // namespace tovali::testing
