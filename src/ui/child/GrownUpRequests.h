#pragma once

#include <string>

#include <gtkmm/window.h>

#include "ui/child/MessagePanel.h"

namespace tovali {

class Session;

// The dialogs of the child's "Ask a grown-up" requests: which button a
// message shows, the password and "Allow this site?". The session decides
// which refusals offer the button and applies and records the answer.
class GrownUpRequests {
 public:
  // `session` must outlive this object.
  explicit GrownUpRequests(Session& session);

  // The button to show with a message about to be shown; the session
  // remembers the URL that the guard refused last when the message offers
  // the button.
  PanelButton button_for(const std::string& message);

  // The child pressed "Ask a grown-up" in the message panel of `parent`
  // (the main window or the pop-up): the password prompt, then "Allow this
  // site?"; the answer is applied and recorded. The daily time counts on
  // during the prompt, which the child can open, and stops while the dialog
  // that the right password opened shows.
  void ask(Gtk::Window& parent);

 private:
  Session& m_session;
};

}  // namespace tovali
