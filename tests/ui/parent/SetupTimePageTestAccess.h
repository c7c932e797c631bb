#pragma once

#include "ui/parent/SetupTimePage.h"

namespace tovali {

// The fields and the button of the "Time" tab, for tests.
class SetupTimePageTestAccess {
 public:
  explicit SetupTimePageTestAccess(SetupTimePage& page) : m_page(page) {}

  Gtk::Entry& daily_minutes() { return m_page.m_daily_minutes; }
  Gtk::Entry& bedtime() { return m_page.m_bedtime; }
  Gtk::Button& add_minutes_button() { return m_page.m_add_minutes; }

 private:
  SetupTimePage& m_page;
};

}  // namespace tovali
