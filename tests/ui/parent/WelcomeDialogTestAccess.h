#pragma once

#include "ui/parent/WelcomeDialog.h"

namespace tovali {

// The controls of one "Welcome, grown-up" dialog, for tests.
class WelcomeDialogTestAccess {
 public:
  explicit WelcomeDialogTestAccess(WelcomeDialog& dialog) : m_dialog(dialog) {}

  Gtk::Entry& new_password() { return m_dialog.m_new_password; }
  Gtk::Entry& password_again() { return m_dialog.m_again; }
  Gtk::CheckButton& ask_to_close() { return m_dialog.m_ask_to_close; }
  Gtk::CheckButton& ask_for_setup() { return m_dialog.m_ask_for_setup; }
  Gtk::RadioButton& own_sites() { return m_dialog.m_own_sites; }
  Gtk::RadioButton& home_site() { return m_dialog.m_home_site; }
  Gtk::Entry& home_address() { return m_dialog.m_home_address; }
  Gtk::Entry& daily_minutes() { return m_dialog.m_daily_minutes; }
  Gtk::Label& message() { return m_dialog.m_message; }
  Gtk::Label& own_files_note() { return m_dialog.m_own_files_note; }
  Gtk::Button& done_button() { return m_dialog.m_done; }
  Gtk::Button& later_button() { return m_dialog.m_later; }

 private:
  WelcomeDialog& m_dialog;
};

}  // namespace tovali
