#include "ui/parent/MoreSitesGrid.h"

#include <gdk/gdkkeysyms.h>
#include <glibmm/main.h>

#include "base/Translate.h"

namespace tovali {

MoreSitesGrid::MoreSitesGrid() : m_store(Gtk::ListStore::create(m_columns)) {
  set_model(m_store);
  set_name("moresites_grid");
  set_grid_lines(Gtk::TREE_VIEW_GRID_LINES_BOTH);
  set_enable_search(false);
  add_text_column(tr("Link Description"), 220, 0);
  add_text_column(tr("URL (http://...)"), 224, 1);
  signal_cursor_changed().connect([this] { grow_more_sites_rows(); });
  signal_key_press_event().connect(sigc::mem_fun(*this, &MoreSitesGrid::on_view_key), false);
  add_events(Gdk::BUTTON_RELEASE_MASK);
  signal_button_release_event().connect(sigc::mem_fun(*this, &MoreSitesGrid::on_view_click), false);
  set_rows(std::vector<MoreSitesRow>(kDesignGridRows));
}

Gtk::TreeViewColumn* MoreSitesGrid::add_text_column(const char* heading, int width, int index) {
  auto& renderer = m_renderers[index];
  renderer.property_editable() = true;
  renderer.set_fixed_size(-1, 20);
  auto* column = Gtk::manage(new Gtk::TreeViewColumn(heading, renderer));
  if (index == 0) {
    column->add_attribute(renderer.property_text(), m_columns.description);
  } else {
    column->add_attribute(renderer.property_text(), m_columns.url);
  }
  column->set_sizing(Gtk::TREE_VIEW_COLUMN_FIXED);
  column->set_fixed_width(width);
  column->set_resizable(true);
  append_column(*column);
  renderer.signal_edited().connect(
      [this, index](const Glib::ustring& path, const Glib::ustring& text) {
        store_text(path, index, text);
        m_entry = nullptr;
        m_edit_row = -1;
      });
  renderer.signal_editing_started().connect(
      [this, index](Gtk::CellEditable* editable, const Glib::ustring& path) {
        on_editing_started(editable, path, index);
      });
  // Leaving a cell by clicking elsewhere keeps what was typed.
  renderer.signal_editing_canceled().connect([this] { commit_pending_edit(); });
  return column;
}

void MoreSitesGrid::store_text(const Glib::ustring& path, int column, const Glib::ustring& text) {
  auto it = m_store->get_iter(path);
  if (!it) return;
  if (column == 0) {
    (*it)[m_columns.description] = text;
  } else {
    (*it)[m_columns.url] = text;
  }
}

void MoreSitesGrid::on_editing_started(Gtk::CellEditable* editable, const Glib::ustring& path,
                                       int column) {
  m_entry = dynamic_cast<Gtk::Entry*>(editable);
  m_edit_row = std::stoi(path.raw());
  m_edit_column = column;
  if (m_entry) {
    m_entry->signal_key_press_event().connect(sigc::mem_fun(*this, &MoreSitesGrid::on_entry_key),
                                              false);
  }
}

void MoreSitesGrid::commit_pending_edit() {
  if (m_entry == nullptr || m_edit_row < 0) return;
  Gtk::Entry* entry = m_entry;
  const int row = m_edit_row;
  m_entry = nullptr;
  m_edit_row = -1;
  store_text(Glib::ustring(std::to_string(row)), m_edit_column, entry->get_text());
}

bool MoreSitesGrid::on_entry_key(GdkEventKey* event) {
  if (event->keyval != GDK_KEY_Tab && event->keyval != GDK_KEY_ISO_Left_Tab &&
      event->keyval != GDK_KEY_KP_Tab) {
    return false;
  }
  const bool backwards =
      event->keyval == GDK_KEY_ISO_Left_Tab || (event->state & GDK_SHIFT_MASK) != 0;
  const int row = m_edit_row;
  const int column = m_edit_column;
  if (m_entry) m_entry->editing_done();  // stores the text through signal_edited
  commit_pending_edit();
  move_to_next_cell(row, column, backwards);
  return true;
}

bool MoreSitesGrid::on_view_key(GdkEventKey* event) {
  if (event->keyval != GDK_KEY_Tab && event->keyval != GDK_KEY_ISO_Left_Tab &&
      event->keyval != GDK_KEY_KP_Tab) {
    return false;
  }
  Gtk::TreeModel::Path path;
  Gtk::TreeViewColumn* focus_column = nullptr;
  get_cursor(path, focus_column);
  const int row = path.empty() ? 0 : path[0];
  const int column = focus_column == get_column(1) ? 1 : 0;
  const bool backwards =
      event->keyval == GDK_KEY_ISO_Left_Tab || (event->state & GDK_SHIFT_MASK) != 0;
  move_to_next_cell(path.empty() ? -1 : row, path.empty() ? 1 : column, backwards);
  return true;
}

bool MoreSitesGrid::on_view_click(GdkEventButton* event) {
  // A click on a cell opens it for editing at once, as in a spreadsheet.
  if (event->button != 1 || event->window != get_bin_window()->gobj()) return false;
  Gtk::TreeModel::Path path;
  Gtk::TreeViewColumn* column = nullptr;
  int cell_x = 0;
  int cell_y = 0;
  if (!get_path_at_pos(static_cast<int>(event->x), static_cast<int>(event->y), path, column, cell_x,
                       cell_y) ||
      path.empty()) {
    return false;
  }
  const int index = column == get_column(1) ? 1 : 0;
  Glib::signal_idle().connect_once(
      sigc::bind(sigc::mem_fun(*this, &MoreSitesGrid::edit_cell), path[0], index));
  return false;
}

void MoreSitesGrid::move_to_next_cell(int row, int column, bool backwards) {
  int next_row = row;
  int next_column = column;
  if (backwards) {
    if (column == 1) {
      next_column = 0;
    } else {
      next_column = 1;
      next_row = row - 1;
    }
  } else if (column == 0) {
    next_column = 1;
  } else {
    next_column = 0;
    next_row = row + 1;
  }
  if (next_row < 0) return;
  if (next_row >= row_count()) next_row = row_count() - 1;
  // Start the next edit once the current one has been torn down.
  // (A slot bound to the grid is dropped if the grid goes away first.)
  Glib::signal_idle().connect_once(
      sigc::bind(sigc::mem_fun(*this, &MoreSitesGrid::edit_cell), next_row, next_column));
}

void MoreSitesGrid::edit_cell(int row, int column) {
  if (row < 0 || row >= row_count()) return;
  grab_focus();
  set_cursor(Gtk::TreePath(std::to_string(row)), *get_column(column), true);
}

void MoreSitesGrid::grow_more_sites_rows() {
  Gtk::TreeModel::Path path;
  Gtk::TreeViewColumn* column = nullptr;
  get_cursor(path, column);
  if (path.empty()) return;
  if (enters_last_row(path[0], row_count())) m_store->append();
}

void MoreSitesGrid::set_rows(const std::vector<MoreSitesRow>& rows) {
  m_entry = nullptr;
  m_edit_row = -1;
  m_store->clear();
  for (const auto& r : rows) {
    auto row = *m_store->append();
    row[m_columns.description] = r.description;
    row[m_columns.url] = r.url;
  }
}

std::vector<MoreSitesRow> MoreSitesGrid::rows() const {
  std::vector<MoreSitesRow> out;
  for (const auto& row : m_store->children()) {
    const Glib::ustring description = row[m_columns.description];
    const Glib::ustring url = row[m_columns.url];
    out.push_back({description.raw(), url.raw()});
  }
  if (m_entry && m_edit_row >= 0 && m_edit_row < static_cast<int>(out.size())) {
    auto& cell = m_edit_column == 0 ? out[static_cast<std::size_t>(m_edit_row)].description
                                    : out[static_cast<std::size_t>(m_edit_row)].url;
    cell = m_entry->get_text().raw();
  }
  return out;
}

int MoreSitesGrid::row_count() const {
  return static_cast<int>(m_store->children().size());
}

}  // namespace tovali
