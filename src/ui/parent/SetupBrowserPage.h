#pragma once

#include <memory>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include "base/Translate.h"
#include "models/SetupHost.h"

namespace tovali {

class EmbeddedWB;

// The feedback page on the maker's web site.
inline constexpr const char* kFeedbackURL = "http://www.example.com/tovali/feedback";

// The Browser tab of the setup dialog, hidden until Help or Send Feedback
// opens it: a view that keeps to the setup help page, the error page and the
// feedback site, with Back and Forward, and above it, for the feedback
// site, a few words on where it leads.
class SetupBrowserPage : public Gtk::Box {
 public:
  // `host` must outlive the page.
  explicit SetupBrowserPage(SetupHost& host);
  ~SetupBrowserPage() override;

  // Opens the setup help page, without the words above.
  void open_help();
  // Opens the feedback site, with the words above.
  void open_feedback();

 private:
  // Tests reach the controls through it.
  friend class SetupFormTestAccess;

  // The view, made on first use: an idle web view costs a process.
  EmbeddedWB& browser();

  SetupHost& m_host;
  Gtk::Box m_label_panel{Gtk::ORIENTATION_VERTICAL, 0};
  Gtk::Label m_feedback_label;
  Gtk::Box m_browser_bar{Gtk::ORIENTATION_HORIZONTAL, 2};
  Gtk::Button m_back{tr("< Back")};
  Gtk::Button m_forward{tr("Forward >")};
  std::unique_ptr<EmbeddedWB> m_browser;
};

}  // namespace tovali
