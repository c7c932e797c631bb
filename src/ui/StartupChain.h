#pragma once

#include <memory>
#include <string>

#include <sigc++/connection.h>

#include "models/ConnectionCheck.h"

namespace tovali {

class EmbeddedWB;
class NavigationGuard;
class Settings;

// What the start-up chain needs of the main window.
class StartupHost {
 public:
  virtual ~StartupHost() = default;
  virtual const Settings& settings() const = 0;
  virtual std::string ProgramDir() const = 0;
  virtual NavigationGuard& guard() = 0;
  virtual void ShowMsgPanel(const std::string& text) = 0;
  virtual bool msg_panel_visible() const = 0;
  virtual void set_msg_panel_timer(bool on) = 0;
  virtual void set_toolbar_buttons(bool enabled) = 0;
  // Downloads and merges the remote configuration; returns when done.
  virtual void GetRemoteConfig() = 0;
  virtual std::string HomeSite() = 0;
};

// The start-up chain that runs on timers once the main window exists:
// start page, connection check with a hidden probe view, configuration
// download, update notice, home menu page.
class StartupChain {
 public:
  explicit StartupChain(StartupHost& host);
  ~StartupChain();

  // Enables `StartupTimer` (the last step of window creation).
  void Start();

  // Stops the probe view if it still exists (shutdown).
  void StopProbe();

  // True while the probe view exists.
  bool probe_exists() const { return m_probe != nullptr; }
  // True from the end of the connection check to the end of start-up.
  bool finished() const { return m_finished; }

 private:
  bool on_startup_timer();
  bool on_connection_timer();
  void on_connection_probe_loaded();
  void FinishStartup();
  void schedule_connection_timer(int interval);

  StartupHost& m_host;
  ConnectionCheck m_check;
  std::unique_ptr<EmbeddedWB> m_probe;  // the connection check's hidden view
  sigc::connection m_startup_timer;
  sigc::connection m_connection_timer;
  sigc::connection m_probe_disposal;
  bool m_finished = false;
};

}  // namespace tovali
