#include "AccessibilityProbe.h"

#include <unistd.h>

#include <sstream>
#include <vector>

#include "HarnessPaths.h"
#include "RunCommand.h"

namespace tovali::testing {

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kProbeTimeoutSeconds = 120;

std::string probe_script() {
  return source_dir() + "tests/support/atspi_probe.py";
}

std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(line);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!line.empty() && line.back() == separator) parts.emplace_back();
  return parts;
}

}  // namespace

bool AccessibilityProbe::available() {
  static const bool found = [] {
    if (::access(kPython, X_OK) != 0) return false;
    if (!SessionBus::available()) return false;
    return run_command({kPython, "-c", "import pyatspi"}, {}, 30).exit_status == 0;
  }();
  return found;
}

std::unique_ptr<AccessibilityProbe> AccessibilityProbe::start(TestEnvironment& env,
                                                              const std::string& dir,
                                                              std::string* error) {
  auto bus = SessionBus::start(env, dir, error);
  if (!bus) return nullptr;
  env.unset("NO_AT_BRIDGE");
  return std::unique_ptr<AccessibilityProbe>(new AccessibilityProbe(std::move(bus), env));
}

std::optional<std::vector<AccessibleNode>> AccessibilityProbe::tree() const {
  const auto r =
      run_command({kPython, probe_script(), "tree"}, m_env.overrides(), kProbeTimeoutSeconds);
  if (r.exit_status != 0) return std::nullopt;
  std::vector<AccessibleNode> nodes;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) {
    const auto fields = split(line, '\t');
    if (fields.size() != 5) continue;
    AccessibleNode node;
    node.depth = std::stoi(fields[0]);
    node.role = fields[1];
    node.name = fields[2];
    if (!fields[3].empty()) node.actions = split(fields[3], ',');
    node.showing = fields[4] == "showing";
    nodes.push_back(std::move(node));
  }
  return nodes;
}

bool AccessibilityProbe::press(const std::string& name, std::string* error) const {
  return run("press", name, error);
}

bool AccessibilityProbe::follow(const std::string& text, std::string* error) const {
  return run("follow", text, error);
}

bool AccessibilityProbe::choose(const std::string& name, std::string* error) const {
  return run("choose", name, error);
}

bool AccessibilityProbe::set_text(const std::string& name, const std::string& text,
                                  std::string* error) const {
  return run("set-text", name, error, text);
}

bool AccessibilityProbe::run(const std::string& command, const std::string& argument,
                             std::string* error, const std::string& second) const {
  std::vector<std::string> argv = {kPython, probe_script(), command, argument};
  if (!second.empty()) argv.push_back(second);
  const auto r = run_command(argv, m_env.overrides(), kProbeTimeoutSeconds);
  if (r.exit_status != 0 && error) *error = r.out + r.err;
  return r.exit_status == 0;
}

}  // namespace tovali::testing
