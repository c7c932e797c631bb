#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SessionBus.h"
#include "TestEnvironment.h"

namespace tovali::testing {

// One accessible object of the program, as AT-SPI shows it.
struct AccessibleNode {
  int depth = 0;
  std::string role;  // "push button", "menu item", ...
  std::string name;
  std::vector<std::string> actions;
  bool showing = false;
};

// The program's accessible objects through AT-SPI, read by
// tests/support/atspi_probe.py (Debian's /usr/bin/python3 with
// python3-pyatspi). start() runs a private session bus and points `env` at
// it with the accessibility bridge on, so start the program afterwards.
class AccessibilityProbe {
 public:
  // Whether dbus-daemon and pyatspi are installed (tests skip otherwise).
  static bool available();

  // Starts the session bus below `dir`; nullptr (and `error`) on failure.
  static std::unique_ptr<AccessibilityProbe> start(TestEnvironment& env, const std::string& dir,
                                                   std::string* error);

  // The program's own accessible objects (web page contents left out);
  // nothing when the program is not on the bus (yet).
  std::optional<std::vector<AccessibleNode>> tree() const;
  // Runs the action of the showing push button called `name`.
  bool press(const std::string& name, std::string* error = nullptr) const;
  // Follows the first link of a shown page whose text begins with `text`, as
  // the child's click on it would.
  bool follow(const std::string& text, std::string* error = nullptr) const;
  // Selects the showing radio button or ticks the check box called `name`
  // (a ticked one stays ticked).
  bool choose(const std::string& name, std::string* error = nullptr) const;
  // Replaces the text of the showing, editable text field called `name`.
  bool set_text(const std::string& name, const std::string& text,
                std::string* error = nullptr) const;

 private:
  AccessibilityProbe(std::unique_ptr<SessionBus> bus, const TestEnvironment& env)
      : m_bus(std::move(bus)), m_env(env) {}
  // Runs the probe script's `command` with `argument` (and `second` when it
  // is not empty); true on exit status 0.
  bool run(const std::string& command, const std::string& argument, std::string* error,
           const std::string& second = {}) const;

  std::unique_ptr<SessionBus> m_bus;
  const TestEnvironment& m_env;
};

}  // namespace tovali::testing
