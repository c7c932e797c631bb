#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"

namespace tovali::testing {

// A private X server: Xvfb on a display number that no other server uses,
// 1280x800 at 24 bits, no TCP. The server picks the free number itself
// (-displayfd) and reports it only once it accepts connections, so two tests
// starting at the same time never race for one display.
class XvfbDisplay {
 public:
  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 800;

  // Starts the server; its output goes to `log_path`. nullptr (and `error`
  // filled) when Xvfb is missing or does not come up in time.
  static std::unique_ptr<XvfbDisplay> start(const std::string& log_path, std::string* error);

  static bool available();

  int number() const { return m_number; }
  std::string name() const { return ":" + std::to_string(m_number); }  // for DISPLAY

  // True while the server still accepts connections on its socket.
  bool accepts_connections() const;

  ChildProcess& process() { return *m_process; }

 private:
  XvfbDisplay(std::unique_ptr<ChildProcess> process, int number)
      : m_process(std::move(process)), m_number(number) {}

  std::unique_ptr<ChildProcess> m_process;
  int m_number;
};

}  // namespace tovali::testing
