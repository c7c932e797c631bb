#pragma once

#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>

#include "base/Translate.h"
#include "models/SetupModel.h"
#include "settings/Settings.h"

namespace tovali {

// The "Menu" tab: the program's own menu, shown in place of the home site's
// while its switch is on. A list of the entries (title, address, other
// domains), the fields of the chosen entry below it, and "Add", "Remove",
// "Move Up" and "Move Down".
class SetupMenuPage : public Gtk::Box {
 public:
  static constexpr const char* kSwitchCaption =
      N_("Show this menu in place of the home site's menu");

  SetupMenuPage();

  // Shows `local_menu` and the entries of `num_menu_sites`; what the
  // administrator locked cannot be changed and says "Set by the
  // administrator".
  void fill(const Settings& settings);

  // Stores `local_menu` and the entries (store_menu_sites), leaving locked
  // keys alone.
  void store(Settings& settings) const;

  // The entries as shown, in order.
  const std::vector<MenuSiteRow>& rows() const { return m_rows; }

 private:
  // Tests reach the controls through it.
  friend class SetupMenuPageTestAccess;

  struct Columns : Gtk::TreeModelColumnRecord {
    Columns() {
      add(title);
      add(url);
      add(domains);
    }
    Gtk::TreeModelColumn<Glib::ustring> title;
    Gtk::TreeModelColumn<Glib::ustring> url;
    Gtk::TreeModelColumn<Glib::ustring> domains;
  };

  // The chosen row, -1 when none.
  int chosen_row();
  // Shows `m_rows` in the list and chooses `row` (none when out of range).
  void show_rows(int row);
  void show_chosen_fields();
  void on_field_changed();
  void on_add_clicked();
  void on_remove_clicked();
  // Swaps the chosen row with the one `step` rows away, when it exists.
  void move_chosen(int step);
  void update_buttons();

  std::vector<MenuSiteRow> m_rows;
  bool m_locked = false;
  // True while the fields are being filled from a row (no edit then).
  bool m_showing = false;

  Gtk::CheckButton m_local_menu{tr(kSwitchCaption)};
  Gtk::Label m_caption;
  Columns m_columns;
  Glib::RefPtr<Gtk::ListStore> m_store;
  Gtk::TreeView m_view;
  Gtk::ScrolledWindow m_scroll;
  Gtk::Grid m_fields;
  Gtk::Label m_title_label{tr("Title:")};
  Gtk::Entry m_title;
  Gtk::Label m_url_label{tr("Address (http://...):")};
  Gtk::Entry m_url;
  Gtk::Label m_domains_label{tr("Other domains (separated by spaces):")};
  Gtk::Entry m_domains;
  Gtk::Box m_bar{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::Button m_add{tr("Add")};
  Gtk::Button m_remove{tr("Remove")};
  Gtk::Button m_move_up{tr("Move Up")};
  Gtk::Button m_move_down{tr("Move Down")};
};

}  // namespace tovali
