#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/label.h>
#include <gtkmm/radiobutton.h>

#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "models/SetupHost.h"
#include "models/WelcomeSetup.h"

namespace tovali {

// "Welcome, grown-up": on the first start, asks the parent for a password,
// whether closing and setup ask for it, which sites the child may use and
// the daily time. A part the administrator keeps is greyed and says so; with
// the administrator's `password_hash` the password part is not shown.
class WelcomeDialog : public Gtk::Dialog {
 public:
  WelcomeDialog(Gtk::Window& parent, SetupHost& host);

  // Runs the dialog until "Done" wrote the answers (finish_welcome; its
  // result is returned) or
  // "Later" (or closing it) left everything as it was. A refused answer
  // keeps the dialog open with the reason shown in it.
  WelcomeResult run_modal();

  // The answers as the controls hold them.
  WelcomeAnswers answers() const;

 private:
  // Tests reach the controls through it.
  friend class WelcomeDialogTestAccess;

  void lock_part(Gtk::Widget& widget);
  void choose_home_site_when_typed();

  SetupHost& m_host;
  WelcomeParts m_parts;
  Gtk::Grid m_grid;
  Gtk::Label m_title{tr(kWelcomeTitle)};
  Gtk::Label m_password_heading{tr(kWelcomePasswordHeading)};
  Gtk::Label m_own_files_note{tr(kOwnFilesPasswordNote)};
  Gtk::Label m_new_password_label{tr(kWelcomeNewPassword)};
  Gtk::Entry m_new_password;
  Gtk::Label m_again_label{tr(kWelcomePasswordAgain)};
  Gtk::Entry m_again;
  Gtk::CheckButton m_ask_to_close{tr(kWelcomeAskToClose)};
  Gtk::CheckButton m_ask_for_setup{tr(kWelcomeAskForSetup)};
  Gtk::Label m_sites_heading{tr(kWelcomeSitesHeading)};
  Gtk::RadioButton m_own_sites{tr(kWelcomeOwnSites)};
  Gtk::RadioButton m_home_site{tr(kWelcomeHomeSite)};
  Gtk::Entry m_home_address;
  Gtk::Label m_daily_time_label{tr(kWelcomeDailyTime)};
  Gtk::Entry m_daily_minutes;
  Gtk::Label m_message;
  Gtk::Button m_done{tr(kWelcomeDone)};
  Gtk::Button m_later{tr(kWelcomeLater)};
};

}  // namespace tovali
