#pragma once

#include "ui/parent/SetupActivityPage.h"

namespace tovali {

// The three lists of the "Activity" tab, for tests that read their rows.
class SetupActivityPageTestAccess {
 public:
  explicit SetupActivityPageTestAccess(SetupActivityPage& page) : m_page(page) {}

  Gtk::TreeView& days_view() { return m_page.m_days_view; }
  Gtk::TreeView& hosts_view() { return m_page.m_hosts_view; }
  Gtk::TreeView& requests_view() { return m_page.m_requests_view; }

 private:
  SetupActivityPage& m_page;
};

}  // namespace tovali
