#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>

#include "base/Translate.h"
#include "models/RefusedSites.h"

namespace tovali {

// The "Refused Sites" tab: the URLs the child was refused, newest first,
// with their domain and how often each was refused, and "Add to More Sites".
class RefusedSitesPage : public Gtk::Box {
 public:
  RefusedSitesPage();

  void set_sites(std::vector<RefusedSite> sites);
  const std::vector<RefusedSite>& sites() const { return m_sites; }

  // The selected site, if any.
  std::optional<RefusedSite> selected() const;
  void select(int index);

  // Raised by "Add to More Sites" with a row selected.
  std::function<void(const RefusedSite&)> on_add;

  // Greys "Add to More Sites" for good, with the tooltip "Set by the
  // administrator" (the administrator has locked the "More Sites" list).
  void lock_adding();

 private:
  // Tests reach the list and its button through it.
  friend class RefusedSitesPageTestAccess;

  struct Columns : Gtk::TreeModelColumnRecord {
    Columns() {
      add(url);
      add(domain);
      add(count);
      add(index);
    }
    Gtk::TreeModelColumn<Glib::ustring> url;
    Gtk::TreeModelColumn<Glib::ustring> domain;
    Gtk::TreeModelColumn<int> count;
    Gtk::TreeModelColumn<int> index;
  };

  std::vector<RefusedSite> m_sites;
  Columns m_columns;
  Glib::RefPtr<Gtk::ListStore> m_store;
  Gtk::Label m_caption;
  Gtk::ScrolledWindow m_scroll;
  mutable Gtk::TreeView m_view;  // reading its selection is not const in gtkmm
  Gtk::Box m_bar{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::Button m_add{tr("Add to More Sites")};
  bool m_adding_locked = false;
};

}  // namespace tovali
