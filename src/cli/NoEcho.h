#pragma once

#include <termios.h>

namespace tovali {

// Turns the terminal's echo off for as long as it lives, when standard
// input is a terminal; otherwise does nothing.
class NoEcho {
 public:
  NoEcho();
  ~NoEcho();
  NoEcho(const NoEcho&) = delete;
  NoEcho& operator=(const NoEcho&) = delete;

  // True when standard input is a terminal whose echo is off now.
  bool active() const { return m_active; }

 private:
  termios m_saved{};
  bool m_active = false;
};

}  // namespace tovali
