#pragma once

#include "ui/parent/AllowSiteDialog.h"

namespace tovali {

// The labels and the buttons of one "Allow this site?" dialog, for tests.
class AllowSiteDialogTestAccess {
 public:
  explicit AllowSiteDialogTestAccess(AllowSiteDialog& dialog) : m_dialog(dialog) {}

  Gtk::Button& always_button() { return m_dialog.m_always; }
  Gtk::Button& once_button() { return m_dialog.m_once; }
  Gtk::Button& not_now_button() { return m_dialog.m_not_now; }
  Gtk::Label& host_label() { return m_dialog.m_host; }
  Gtk::Label& address_label() { return m_dialog.m_address; }

 private:
  AllowSiteDialog& m_dialog;
};

}  // namespace tovali
