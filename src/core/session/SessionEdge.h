#pragma once

#include <optional>
#include <string>

#include "config/RemoteConfig.h"
#include "models/WelcomeSetup.h"

namespace tovali {

// Whether the toolbar shows its "Ask a grown-up" button.
enum class AskButton { Hidden, Shown };

// What the session asks of the window around it: the widgets, the dialogs,
// the configuration download and the engine's form of a local path. The
// main window implements it; tests use a fake. No method may throw.
class SessionEdge {
 public:
  virtual ~SessionEdge() = default;

  // The URL of the local file `path` in the form in which the browser
  // reports it ("file:///opt/my%20pages/start.html").
  virtual std::string engine_url(const std::string& path) const = 0;

  // Shows `text` to the child in the message panel (in the pop-up window
  // while that exists). Lines are separated by "\r".
  virtual void ShowMsgPanel(const std::string& text) = 0;
  virtual bool msg_panel_visible() const = 0;
  // Whether the message panel hides itself after its time.
  virtual void set_msg_panel_timer(bool on) = 0;
  // Enables or disables Home, E-mail and Stop.
  virtual void set_toolbar_buttons(bool enabled) = 0;
  // Shows or hides the toolbar's "Ask a grown-up", which asks about
  // Session::grown_up_url().
  virtual void set_ask_button(AskButton state) = 0;
  // Re-applies the visible switches (close button, navigation frame, e-mail
  // and print buttons, silent mode).
  virtual void UpdateControls() = 0;
  virtual void set_status_text(const std::string& text) = 0;
  // The status line's "N minutes left today" for `minutes`; nullopt hides
  // it (no daily limit).
  virtual void show_minutes_left(std::optional<int> minutes) = 0;
  // Time is up: the pop-up window, when there is one, goes.
  virtual void close_popup() = 0;

  // The rules every page guard judges page loads by from now on (the text
  // of encode_page_load_rules); they must reach the guards before the
  // engine hears of any later verdict. `websocket_filter` is the engine's
  // content filter for WebSockets (websocket_filter_json; "" for none).
  virtual void set_page_load_rules(const std::string& encoded,
                                   const std::string& websocket_filter) = 0;

  // Downloads and merges the remote configuration; returns when done.
  virtual RemoteConfigResult download_config() = 0;

  // Shows the password prompt until the right password is typed (true) or
  // the prompt is cancelled (false).
  virtual bool GetPassword() = 0;
  // Shows the setup dialog modally and returns when it has closed.
  virtual void run_setup() = 0;
  // Shows the grown-up's welcome modally over the window and returns how
  // it was left.
  virtual WelcomeResult run_welcome() = 0;
  // Tells the grown-up `text` in a message box over the window and returns
  // once it is closed. Lines are separated by "\r".
  virtual void tell_parent(const std::string& text) = 0;
  // Ends the program's window: stops the kiosk lock, the download and the
  // views, and hides the window.
  virtual void close_window() = 0;
};

}  // namespace tovali
