#include "XvfbDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "Polling.h"

extern char** environ;

namespace tovali::testing {

bool XvfbDisplay::available() {
  return !find_program("Xvfb").empty();
}

std::unique_ptr<XvfbDisplay> XvfbDisplay::start(const std::string& log_path, std::string* error) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<XvfbDisplay> {
    if (error) *error = why;
    return nullptr;
  };
  if (!available()) return fail("Xvfb is not installed");
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return fail("pipe failed");
  ProcessOptions options;
  options.argv = {
      "Xvfb",      "-displayfd", "3",
      "-screen",   "0",          std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24",
      "-nolisten", "tcp",        "-noreset"};
  for (char** e = environ; e && *e; ++e) options.env.emplace_back(*e);
  options.output_path = log_path;
  options.inherited_fds = {{fds[1], 3}};
  auto process = ChildProcess::start(options, error);
  ::close(fds[1]);
  if (!process) {
    ::close(fds[0]);
    return nullptr;
  }
  // The server writes its display number and a newline once it is ready.
  std::string reply;
  const auto deadline = std::chrono::steady_clock::now() + scaled(kStartTimeout);
  while (reply.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char buffer[32];
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;  // the server went away
    reply.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  if (reply.find('\n') == std::string::npos)
    return fail("Xvfb did not report a display in time (see " + log_path + ")");
  const int number = std::atoi(reply.c_str());
  std::unique_ptr<XvfbDisplay> display(new XvfbDisplay(std::move(process), number));
  if (!wait_until([&] { return display->accepts_connections(); }, kStartTimeout))
    return fail("Xvfb on " + display->name() + " does not accept connections");
  return display;
}

bool XvfbDisplay::accepts_connections() const {
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(m_number);
  const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return ok;
}

}  // namespace tovali::testing
