#include "SessionBus.h"

#include <filesystem>

#include "Polling.h"
#include "RunCommand.h"

namespace tovali::testing {

bool SessionBus::available() {
  static const bool found =
      run_command({"/bin/sh", "-c", "command -v dbus-daemon"}, {}, 10).exit_status == 0;
  return found;
}

std::unique_ptr<SessionBus> SessionBus::start(TestEnvironment& env, const std::string& dir,
                                              std::string* error) {
  const std::string socket = dir + "session-bus";
  ProcessOptions options;
  options.argv = {"dbus-daemon", "--session", "--nofork", "--address=unix:path=" + socket};
  options.env = env.entries();
  options.output_path = dir + "session-bus.log";
  auto daemon = ChildProcess::start(options, error);
  if (!daemon) return nullptr;
  const bool listening = wait_until(
      [&] {
        std::error_code ec;
        return std::filesystem::is_socket(socket, ec);
      },
      kStartTimeout);
  if (!listening) {
    if (error) *error = "the session bus did not start (" + options.output_path + ")";
    return nullptr;
  }
  env.set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socket);
  return std::unique_ptr<SessionBus>(new SessionBus(std::move(daemon)));
}

}  // namespace tovali::testing
