#pragma once

#include <optional>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/label.h>

#include "base/Translate.h"
#include "models/GrownUpRequest.h"
#include "session/DailyTime.h"

namespace tovali {

// Whether "Always" can add to the "More Sites" list, which the administrator
// may have locked.
enum class AlwaysOffer { Offered, SetByAdministrator };

// "Allow this site?": names the host of a refused URL first and large, then
// the URL on one line shortened in the middle, and offers "Just this time",
// "Always" and "Not now". Its size does not depend on the URL's length, so
// the host and the buttons stay on the screen. With the list locked,
// "Always" shows but cannot be pressed and says why.
class AllowSiteDialog : public Gtk::Dialog {
 public:
  AllowSiteDialog(Gtk::Window& parent, const std::string& url, AlwaysOffer always);

  // Runs the dialog until a button is pressed; closing it is "Not now".
  AllowSiteChoice choose();

 private:
  // Tests reach the labels and the buttons through it.
  friend class AllowSiteDialogTestAccess;

  Gtk::Label m_host;
  Gtk::Label m_intro{tr(kAllowSiteIntro)};
  Gtk::Label m_address;
  Gtk::Button m_once{tr(kJustThisTimeCaption)};
  Gtk::Button m_always{tr(kAlwaysCaption)};
  Gtk::Button m_not_now{tr(kNotNowCaption)};
};

// Asks for the password on top of `parent` (always, whatever the settings
// ask for closing or the setup dialog) and then "Allow this site?" for
// `url`. nullopt when the prompt was cancelled. `daily_time`, when given,
// counts on during the prompt (the child can open it) and stops while the
// dialog that the right password opened shows.
std::optional<AllowSiteChoice> ask_grown_up(Gtk::Window& parent, const Settings& settings,
                                            const std::string& url,
                                            DailyTime* daily_time = nullptr);

}  // namespace tovali
