#pragma once

#include "ui/parent/PasswordForm.h"

namespace tovali {

// The controls of one password prompt, for tests that type into it.
class PasswordFormTestAccess {
 public:
  explicit PasswordFormTestAccess(PasswordForm& form) : m_form(form) {}

  Gtk::Entry& password_edit() { return m_form.m_password_edit; }
  Gtk::Label& wrong_password() { return m_form.m_wrong_password; }
  Gtk::Button& ok_button() { return m_form.m_ok; }
  Gtk::Button& cancel_button() { return m_form.m_cancel; }

 private:
  PasswordForm& m_form;
};

}  // namespace tovali
