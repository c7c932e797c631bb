#include "ui/parent/RefusedSitesPage.h"

#include <gtkmm/cellrenderertext.h>

#include "base/Translate.h"
#include "models/DisplayText.h"
#include "models/PasswordChange.h"

namespace tovali {

namespace {
constexpr int kDomainWidth = 150;
}

RefusedSitesPage::RefusedSitesPage()
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4),
      m_store(Gtk::ListStore::create(m_columns)),
      m_caption(tr("Sites the child was refused, newest first. Select one and press \"Add to More "
                   "Sites\" to allow it on the \"More Sites\" page.")) {
  set_name("refused_sites");
  set_border_width(8);
  m_caption.set_halign(Gtk::ALIGN_START);
  m_caption.set_line_wrap(true);
  m_caption.set_max_width_chars(60);
  m_caption.set_xalign(0);

  m_view.set_model(m_store);
  m_view.set_name("refused_sites_view");
  m_view.append_column(tr("Refused URL"), m_columns.url);
  m_view.append_column(tr("Domain"), m_columns.domain);
  m_view.append_column(tr("Times"), m_columns.count);
  // Long URLs and domains are shortened with "..." so that the list fits
  // its width and the count column always shows whole at the right.
  for (int column : {0, 1}) {
    Gtk::TreeViewColumn* text = m_view.get_column(column);
    text->set_resizable(true);
    text->set_sizing(Gtk::TREE_VIEW_COLUMN_FIXED);
    if (auto* cell = dynamic_cast<Gtk::CellRendererText*>(text->get_first_cell()))
      cell->property_ellipsize() = column == 0 ? Pango::ELLIPSIZE_MIDDLE : Pango::ELLIPSIZE_END;
  }
  m_view.get_column(0)->set_expand(true);
  m_view.get_column(0)->set_fixed_width(200);
  m_view.get_column(1)->set_fixed_width(kDomainWidth);
  m_view.get_column(2)->set_alignment(1.0);
  if (auto* cell = m_view.get_column(2)->get_first_cell()) cell->property_xalign() = 1.0;
  m_view.set_enable_search(false);
  m_scroll.set_shadow_type(Gtk::SHADOW_IN);
  m_scroll.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
  m_scroll.add(m_view);

  m_add.set_name("add_to_more_sites");
  m_add.set_sensitive(false);
  m_bar.pack_end(m_add, Gtk::PACK_SHRINK);

  pack_start(m_caption, Gtk::PACK_SHRINK);
  pack_start(m_scroll, Gtk::PACK_EXPAND_WIDGET);
  pack_start(m_bar, Gtk::PACK_SHRINK);

  m_view.get_selection()->signal_changed().connect(
      [this] { m_add.set_sensitive(!m_adding_locked && selected().has_value()); });
  m_view.signal_row_activated().connect(
      [this](const Gtk::TreeModel::Path&, Gtk::TreeViewColumn*) { m_add.clicked(); });
  m_add.signal_clicked().connect([this] {
    const auto site = selected();
    if (site && on_add && !m_adding_locked) on_add(*site);
  });
}

void RefusedSitesPage::lock_adding() {
  m_adding_locked = true;
  m_add.set_sensitive(false);
  m_add.set_tooltip_text(tr(kSetByAdministrator));
}

void RefusedSitesPage::set_sites(std::vector<RefusedSite> sites) {
  m_sites = std::move(sites);
  m_store->clear();
  DisplayTextMap display;
  for (std::size_t i = 0; i < m_sites.size(); ++i) {
    auto row = *m_store->append();
    row[m_columns.url] = display.show(m_sites[i].url);
    row[m_columns.domain] = display.show(m_sites[i].domain);
    row[m_columns.count] = m_sites[i].count;
    row[m_columns.index] = static_cast<int>(i);
  }
}

std::optional<RefusedSite> RefusedSitesPage::selected() const {
  auto it = m_view.get_selection()->get_selected();
  if (!it) return std::nullopt;
  const int index = (*it)[m_columns.index];
  if (index < 0 || index >= static_cast<int>(m_sites.size())) return std::nullopt;
  return m_sites[static_cast<std::size_t>(index)];
}

void RefusedSitesPage::select(int index) {
  if (index < 0 || index >= static_cast<int>(m_store->children().size())) return;
  m_view.get_selection()->select(Gtk::TreePath(std::to_string(index)));
}

}  // namespace tovali
