#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include "models/SetupApply.h"
#include "models/SetupHost.h"
#include "ui/parent/SetupSwitches.h"

namespace tovali {

// The Password tab of the setup dialog: its switches, and the change of the
// password (the current one and the new one twice) beside a note on who sets
// it.
class SetupPasswordPage : public Gtk::Box {
 public:
  // Lays out the tab's controls (its switches kept in `switches`); Set
  // Password changes the password of `host` and tells the outcome through
  // `show`. `host` must outlive the page.
  SetupPasswordPage(SetupSwitches& switches, SetupHost& host, MessageSink show);

  // Changes the password as Set Password does.
  void set_password();
  // Shows who sets the password, and locks the change when the
  // administrator does; tells how to move the password out of the user's
  // own files when it is kept there.
  void show_locks(const Settings& settings);

 private:
  // Tests reach the controls through it.
  friend class SetupFormTestAccess;

  SetupHost& m_host;
  MessageSink m_show;
  Gtk::Entry m_current_password;
  Gtk::Entry m_new_password;
  Gtk::Entry m_new_password_again;
  Gtk::Button* m_set_password = nullptr;   // owned by its group
  Gtk::Label* m_password_note = nullptr;   // owned by the tab
  Gtk::Label* m_own_files_note = nullptr;  // owned by the tab
};

}  // namespace tovali
