#include "cli/NoEcho.h"

#include <unistd.h>

namespace tovali {

NoEcho::NoEcho() {
  if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &m_saved) != 0) return;
  termios quiet = m_saved;
  quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
  m_active = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
}

NoEcho::~NoEcho() {
  if (m_active) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
}

}  // namespace tovali
