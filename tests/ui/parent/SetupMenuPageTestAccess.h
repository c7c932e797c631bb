#pragma once

#include "ui/parent/SetupMenuPage.h"

namespace tovali {

// The controls of the "Menu" tab, for tests.
class SetupMenuPageTestAccess {
 public:
  explicit SetupMenuPageTestAccess(SetupMenuPage& page) : m_page(page) {}

  Gtk::CheckButton& local_menu() { return m_page.m_local_menu; }
  Gtk::TreeView& list() { return m_page.m_view; }
  Gtk::Entry& title() { return m_page.m_title; }
  Gtk::Entry& url() { return m_page.m_url; }
  Gtk::Entry& domains() { return m_page.m_domains; }
  Gtk::Button& add() { return m_page.m_add; }
  Gtk::Button& remove() { return m_page.m_remove; }
  Gtk::Button& move_up() { return m_page.m_move_up; }
  Gtk::Button& move_down() { return m_page.m_move_down; }
  // The chosen row of the list, -1 when none.
  int chosen_row() { return m_page.chosen_row(); }
  // Chooses `row` in the list as a click would.
  void choose(int row) {
    m_page.m_view.get_selection()->select(Gtk::TreePath(std::to_string(row)));
  }

 private:
  SetupMenuPage& m_page;
};

}  // namespace tovali
