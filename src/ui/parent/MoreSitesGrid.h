#pragma once

#include <string>
#include <vector>

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/entry.h>
#include <gtkmm/liststore.h>
#include <gtkmm/treeview.h>

#include "models/SetupModel.h"

namespace tovali {

// The "More Sites" grid: two editable text columns, "Link Description" and
// "URL (http://...)". Tab and Shift+Tab move between cells; whenever the
// current cell enters the last row an empty row is appended below it.
class MoreSitesGrid : public Gtk::TreeView {
 public:
  MoreSitesGrid();

  // Replaces every row.
  void set_rows(const std::vector<MoreSitesRow>& rows);
  // The rows, an edit still in progress included.
  std::vector<MoreSitesRow> rows() const;

  int row_count() const;
  // Makes (row, column) the current cell and starts editing it.
  void edit_cell(int row, int column);
  // Ends an edit in progress, keeping what was typed.
  void commit_pending_edit();

 private:
  struct Columns : Gtk::TreeModelColumnRecord {
    Columns() {
      add(description);
      add(url);
    }
    Gtk::TreeModelColumn<Glib::ustring> description;
    Gtk::TreeModelColumn<Glib::ustring> url;
  };

  Gtk::TreeViewColumn* add_text_column(const char* heading, int width, int index);
  void store_text(const Glib::ustring& path, int column, const Glib::ustring& text);
  void on_editing_started(Gtk::CellEditable* editable, const Glib::ustring& path, int column);
  bool on_entry_key(GdkEventKey* event);
  bool on_view_key(GdkEventKey* event);
  bool on_view_click(GdkEventButton* event);
  void move_to_next_cell(int row, int column, bool backwards);
  void grow_more_sites_rows();

  Columns m_columns;
  Glib::RefPtr<Gtk::ListStore> m_store;
  Gtk::CellRendererText m_renderers[2];
  // The cell being edited: its entry, row and column (row -1 when none).
  Gtk::Entry* m_entry = nullptr;
  int m_edit_row = -1;
  int m_edit_column = 0;
};

}  // namespace tovali
