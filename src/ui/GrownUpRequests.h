#pragma once

#include <functional>
#include <string>

#include <gtkmm/window.h>

#include "activity/ActivityRecord.h"
#include "models/SetupHost.h"
#include "policy/NavigationGuard.h"
#include "ui/DailyTime.h"
#include "ui/MessagePanel.h"

namespace tovali {

// The child's "Ask a grown-up" requests: which refusal messages offer the
// button, the password and "Allow this site?", what the answer does, and its
// entry in the activity record.
class GrownUpRequests {
 public:
  // All three must outlive this object.
  GrownUpRequests(SetupHost& host, NavigationGuard& guard, DailyTime& daily_time);

  // The button to show with a message about to be shown; remembers the URL
  // that the guard refused last when the message offers the button.
  PanelButton button_for(const std::string& message);

  // The child pressed "Ask a grown-up" in the message panel of `parent`
  // (the main window or the pop-up): the password prompt, then "Allow this
  // site?"; the answer is applied and recorded. The daily time counts on
  // during the prompt, which the child can open, and stops while the dialog
  // that the right password opened shows.
  void ask(Gtk::Window& parent);

  // Receives every request and its answer (the main window records it in
  // the activity record).
  std::function<void(const std::string& url, RequestAnswer answer)> on_grown_up_request;

 private:
  // Adds `url` to the "More Sites" list and opens it as the current site.
  void allow_always(Gtk::Window& parent, const std::string& url);

  SetupHost& m_host;
  NavigationGuard& m_guard;
  DailyTime& m_daily_time;
  std::string m_url;
};

}  // namespace tovali
