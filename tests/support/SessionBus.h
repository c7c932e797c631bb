#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"
#include "TestEnvironment.h"

namespace tovali::testing {

// A private D-Bus session bus for one test, as a desktop session has one:
// the programs started with the environment it was given find each other on
// it (one program per account, the accessibility bridge). Stopped with the
// object.
class SessionBus {
 public:
  // Whether dbus-daemon is installed (tests skip otherwise).
  static bool available();

  // Starts the bus with its socket in `dir` (ending in "/") and points `env`
  // at it (DBUS_SESSION_BUS_ADDRESS); nullptr (and `error`) on failure.
  static std::unique_ptr<SessionBus> start(TestEnvironment& env, const std::string& dir,
                                           std::string* error);

 private:
  explicit SessionBus(std::unique_ptr<ChildProcess> daemon) : m_daemon(std::move(daemon)) {}

  std::unique_ptr<ChildProcess> m_daemon;
};

}  // namespace tovali::testing
