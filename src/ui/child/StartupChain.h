#pragma once

#include <memory>
#include <string>

#include <sigc++/connection.h>

#include "models/ConnectionCheck.h"

namespace tovali {

class EmbeddedWB;
class Session;
class SessionEdge;

// The timers and the hidden probe view of the start-up chain, which runs once
// the main window exists: the session's first step (start page), the
// connection check, then the session's last step (configuration download,
// update notice, home menu page), and then the grown-up's welcome when it is
// due.
class StartupChain {
 public:
  // Both must outlive the chain.
  StartupChain(Session& session, SessionEdge& edge);
  ~StartupChain();

  // Enables `StartupTimer` (the last step of window creation).
  void start();

  // Stops the probe view if it still exists (shutdown).
  void stop_probe();

  // True while the probe view exists.
  bool probe_exists() const { return m_probe != nullptr; }
  // True from the end of the connection check to the end of start-up.
  bool finished() const { return m_finished; }

 private:
  bool on_startup_timer();
  bool on_connection_timer();
  void on_connection_probe_loaded();
  void finish_startup();
  void schedule_connection_timer(int interval);

  Session& m_session;
  SessionEdge& m_edge;
  ConnectionCheck m_check;
  std::unique_ptr<EmbeddedWB> m_probe;  // the connection check's hidden view
  sigc::connection m_startup_timer;
  sigc::connection m_connection_timer;
  sigc::connection m_probe_disposal;
  sigc::connection m_welcome;
  bool m_finished = false;
};

}  // namespace tovali
