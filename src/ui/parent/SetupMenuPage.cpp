#include "ui/parent/SetupMenuPage.h"

#include <string>
#include <utility>

#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "settings/SettingsKeys.h"

namespace tovali {

SetupMenuPage::SetupMenuPage()
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 8),
      m_caption(
          tr("The menu the child sees on the left, made here without a web server. Each entry is "
             "a big button that opens its address; the child may go on to other pages of the "
             "same domain and of the other domains listed.")),
      m_store(Gtk::ListStore::create(m_columns)) {
  set_name("menu_page");
  set_border_width(8);
  m_local_menu.set_name("local_menu");
  m_caption.set_line_wrap(true);
  m_caption.set_max_width_chars(60);
  m_caption.set_xalign(0);

  m_view.set_model(m_store);
  m_view.set_name("menu_sites");
  m_view.set_enable_search(false);
  m_view.append_column(tr("Title"), m_columns.title);
  m_view.append_column(tr("Address"), m_columns.url);
  m_view.append_column(tr("Other domains"), m_columns.domains);
  for (Gtk::TreeViewColumn* column : m_view.get_columns()) column->set_resizable(true);
  m_view.get_selection()->signal_changed().connect([this] {
    show_chosen_fields();
    update_buttons();
  });
  m_scroll.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  m_scroll.set_shadow_type(Gtk::SHADOW_IN);
  m_scroll.set_min_content_height(72);
  m_scroll.add(m_view);

  m_title.set_name("menu_title");
  m_url.set_name("menu_url");
  m_domains.set_name("menu_domains");
  m_url.set_placeholder_text("http://");
  const std::pair<Gtk::Label*, Gtk::Entry*> fields[] = {
      {&m_title_label, &m_title}, {&m_url_label, &m_url}, {&m_domains_label, &m_domains}};
  int row = 0;
  for (const auto& [label, entry] : fields) {
    label->set_xalign(0);
    label->set_mnemonic_widget(*entry);
    entry->set_hexpand(true);
    entry->signal_changed().connect([this] { on_field_changed(); });
    m_fields.attach(*label, 0, row);
    m_fields.attach(*entry, 1, row);
    ++row;
  }
  m_fields.set_row_spacing(6);
  m_fields.set_column_spacing(8);

  m_add.set_name("menu_add");
  m_remove.set_name("menu_remove");
  m_move_up.set_name("menu_move_up");
  m_move_down.set_name("menu_move_down");
  m_add.signal_clicked().connect([this] { on_add_clicked(); });
  m_remove.signal_clicked().connect([this] { on_remove_clicked(); });
  m_move_up.signal_clicked().connect([this] { move_chosen(-1); });
  m_move_down.signal_clicked().connect([this] { move_chosen(1); });
  for (Gtk::Button* button : {&m_add, &m_remove, &m_move_up, &m_move_down})
    m_bar.pack_start(*button, Gtk::PACK_SHRINK);

  pack_start(m_local_menu, Gtk::PACK_SHRINK);
  pack_start(m_caption, Gtk::PACK_SHRINK);
  pack_start(m_scroll, Gtk::PACK_EXPAND_WIDGET);
  pack_start(m_fields, Gtk::PACK_SHRINK);
  pack_start(m_bar, Gtk::PACK_SHRINK);
  update_buttons();
}

void SetupMenuPage::fill(const Settings& settings) {
  m_local_menu.set_active(settings.is_on(keys::local_menu));
  const bool switch_locked = settings.is_locked(keys::local_menu);
  m_local_menu.set_sensitive(!switch_locked);
  m_local_menu.set_tooltip_text(switch_locked ? tr(kSetByAdministrator) : "");
  m_locked = menu_sites_locked(settings);
  m_rows = load_menu_sites(settings);
  for (Gtk::Entry* entry : {&m_title, &m_url, &m_domains})
    entry->set_tooltip_text(m_locked ? tr(kSetByAdministrator) : "");
  m_view.set_tooltip_text(m_locked ? tr(kSetByAdministrator) : "");
  show_rows(m_rows.empty() ? -1 : 0);
}

void SetupMenuPage::store(Settings& settings) const {
  if (!settings.is_locked(keys::local_menu))
    settings.set_value(keys::local_menu, m_local_menu.get_active() ? "1" : "0");
  store_menu_sites(m_rows, settings);
}

int SetupMenuPage::chosen_row() {
  const auto it = m_view.get_selection()->get_selected();
  if (!it) return -1;
  return m_store->get_path(it)[0];
}

void SetupMenuPage::show_rows(int row) {
  m_showing = true;
  m_store->clear();
  for (const MenuSiteRow& site : m_rows) {
    auto it = m_store->append();
    (*it)[m_columns.title] = site.title;
    (*it)[m_columns.url] = site.url;
    (*it)[m_columns.domains] = site.domains;
  }
  m_showing = false;
  if (row >= 0 && row < static_cast<int>(m_rows.size())) {
    m_view.get_selection()->select(Gtk::TreePath(std::to_string(row)));
  } else {
    m_view.get_selection()->unselect_all();
  }
  show_chosen_fields();
  update_buttons();
}

void SetupMenuPage::show_chosen_fields() {
  const int row = chosen_row();
  m_showing = true;
  const MenuSiteRow none;
  const MenuSiteRow& site = row >= 0 ? m_rows[row] : none;
  m_title.set_text(site.title);
  m_url.set_text(site.url);
  m_domains.set_text(site.domains);
  m_showing = false;
  const bool editable = row >= 0 && !m_locked;
  for (Gtk::Entry* entry : {&m_title, &m_url, &m_domains}) entry->set_sensitive(editable);
}

void SetupMenuPage::on_field_changed() {
  if (m_showing) return;
  const int row = chosen_row();
  if (row < 0 || m_locked) return;
  MenuSiteRow& site = m_rows[row];
  site.title = m_title.get_text();
  site.url = m_url.get_text();
  site.domains = m_domains.get_text();
  auto it = m_view.get_selection()->get_selected();
  (*it)[m_columns.title] = site.title;
  (*it)[m_columns.url] = site.url;
  (*it)[m_columns.domains] = site.domains;
}

void SetupMenuPage::on_add_clicked() {
  if (m_locked) return;
  m_rows.push_back(MenuSiteRow{});
  show_rows(static_cast<int>(m_rows.size()) - 1);
  m_title.grab_focus();
}

void SetupMenuPage::on_remove_clicked() {
  const int row = chosen_row();
  if (row < 0 || m_locked) return;
  m_rows.erase(m_rows.begin() + row);
  show_rows(row < static_cast<int>(m_rows.size()) ? row : row - 1);
}

void SetupMenuPage::move_chosen(int step) {
  const int row = chosen_row();
  const int other = row + step;
  if (row < 0 || m_locked || other < 0 || other >= static_cast<int>(m_rows.size())) return;
  std::swap(m_rows[row], m_rows[other]);
  show_rows(other);
}

void SetupMenuPage::update_buttons() {
  const int row = chosen_row();
  const int count = static_cast<int>(m_rows.size());
  m_add.set_sensitive(!m_locked);
  m_remove.set_sensitive(!m_locked && row >= 0);
  m_move_up.set_sensitive(!m_locked && row > 0);
  m_move_down.set_sensitive(!m_locked && row >= 0 && row + 1 < count);
  for (Gtk::Button* button : {&m_add, &m_remove, &m_move_up, &m_move_down})
    button->set_tooltip_text(m_locked ? tr(kSetByAdministrator) : "");
}

}  // namespace tovali
