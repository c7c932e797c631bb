#pragma once

#include <string>

namespace tovali {

// Whatever shows the program's status text (the main window's status line).
class StatusReporter {
 public:
  virtual ~StatusReporter() = default;
  virtual void set_status_text(const std::string& text) = 0;
};

}  // namespace tovali
