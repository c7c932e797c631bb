#pragma once

#include <string>

#include "base/NavigationRequest.h"

namespace tovali {

// What the navigation guard needs from the main window. The window implements
// it; tests use a fake. Apart from navigate(), no method may throw.
class GuardEffects {
 public:
  virtual ~GuardEffects() = default;

  // Starts loading `url` in `target`. May throw: the guard drops the error,
  // leaves the mailbox full and the queue tries again on its next tick.
  virtual void navigate(BrowserTarget target, const std::string& url) = 0;

  // Shows a message to the child in the message panel (in the pop-up window
  // while that exists, shown or about to be shown). Lines are separated by
  // "\r".
  virtual void ShowMsgPanel(const std::string& text) = 0;

  // True while a pop-up window exists (from its creation until it is freed).
  virtual bool popup_exists() const = 0;

  // True while the pop-up window exists and is shown.
  virtual bool popup_visible() const = 0;

  // Gives the navigation frame the width found in a width comment
  // (100 to 300 pixels).
  virtual void set_nav_frame_width(int pixels) = 0;

  // Writes the local error page and returns its URL in the form in which the
  // browser reports it (a "file://" URL), ready to be queued.
  virtual std::string ErrorPagePath() = 0;

  // Writes the "More Sites" page afresh and returns its URL in the form in
  // which the browser reports it (a "file://" URL), ready to be queued.
  virtual std::string MoreSitesPath() = 0;
};

}  // namespace tovali
