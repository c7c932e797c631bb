#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>

#include "base/Translate.h"
#include "settings/Settings.h"

namespace tovali {

// The password prompt "Enter Password": a masked field, OK (the default
// button, so Enter presses it) and Cancel; "Wrong Password" appears after a
// wrong entry.
class PasswordForm : public Gtk::Dialog {
 public:
  explicit PasswordForm(Gtk::Window* parent);

  // Asks until the right password is typed (true) or the prompt is
  // cancelled or closed (false). Compares the whole text, exactly, or checks
  // it against the administrator's password hash when one is set.
  bool GetPassword(const Settings& settings);

 private:
  // Tests reach the controls through it.
  friend class PasswordFormTestAccess;

  Gtk::Frame m_password_panel;
  Gtk::Box m_column{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Label m_label{tr("Password:")};
  Gtk::Entry m_password_edit;
  Gtk::Label m_wrong_password{tr("Wrong Password")};
  Gtk::Button m_ok{tr("OK")};
  Gtk::Button m_cancel{tr("Cancel")};
};

// Runs one password prompt on top of `parent` (the main window's
// GetPassword).
bool GetPassword(Gtk::Window* parent, const Settings& settings);

}  // namespace tovali
