#pragma once

#include "ui/parent/RefusedSitesPage.h"

namespace tovali {

// The list and the "Add to More Sites" button of the "Refused Sites" tab,
// for tests.
class RefusedSitesPageTestAccess {
 public:
  explicit RefusedSitesPageTestAccess(RefusedSitesPage& page) : m_page(page) {}

  Gtk::Button& add_button() { return m_page.m_add; }
  Gtk::TreeView& view() { return m_page.m_view; }

 private:
  RefusedSitesPage& m_page;
};

}  // namespace tovali
