// Test main for the window tests: the Public Suffix List that every program
// installs, a private X server (Xvfb) unless one is given in
// TOVALI_TEST_DISPLAY, then GTK on it.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <gtkmm/main.h>

#include "psl/LibpslSuffixList.h"

namespace {

pid_t g_xvfb = -1;

// Starts Xvfb on a free display; returns ":N" or "" when it cannot.
std::string start_xvfb() {
  int fds[2];
  if (pipe(fds) != 0) return {};
  g_xvfb = fork();
  if (g_xvfb < 0) return {};
  if (g_xvfb == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(fds[0]);
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  return number.empty() ? std::string() : ":" + number;
}

}  // namespace

int main(int argc, char** argv) {
  tovali::LibpslSuffixList::install();
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  const char* given = std::getenv("TOVALI_TEST_DISPLAY");
  const std::string display = given && *given ? std::string(given) : start_xvfb();
  if (display.empty()) {
    fprintf(stderr, "no X server for the window tests (Xvfb not found)\n");
    return 1;
  }
  setenv("DISPLAY", display.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  gdk_set_allowed_backends("x11");
  Gtk::Main kit(argc, argv);
  const int result = RUN_ALL_TESTS();
  if (g_xvfb > 0) {
    kill(g_xvfb, SIGTERM);
    waitpid(g_xvfb, nullptr, 0);
  }
  return result;
}
