#include "ui/parent/SetupSiteAccessPage.h"

#include <gtkmm/grid.h>
#include <gtkmm/scrolledwindow.h>

#include "base/Translate.h"
#include "models/SetupApply.h"
#include "settings/SettingsKeys.h"
#include "ui/parent/SetupLayout.h"

namespace tovali {

SetupSiteAccessPage::SetupSiteAccessPage() : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4) {
  set_border_width(10);
  pack_start(SetupLayout::label(tr("Customize the sites you want to add or prohibit here.")),
             Gtk::PACK_SHRINK);
  pack_start(SetupLayout::label(tr("Include these sites in the \"More Sites\" category:")),
             Gtk::PACK_SHRINK);
  auto* grid_scroll = Gtk::manage(new Gtk::ScrolledWindow());
  grid_scroll->set_shadow_type(Gtk::SHADOW_IN);
  grid_scroll->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  grid_scroll->add(m_moresites_grid);
  pack_start(*grid_scroll, Gtk::PACK_EXPAND_WIDGET);

  auto* memos = Gtk::manage(new Gtk::Grid());
  memos->set_column_spacing(12);
  memos->set_row_spacing(2);
  memos->set_column_homogeneous(true);
  memos->attach(SetupLayout::label(tr("Prohibit access to these domains:")), 0, 0, 1, 1);
  memos->attach(SetupLayout::label(tr("Prohibit access to these URL's:")), 1, 0, 1, 1);
  m_prohibited_domains_memo.set_size_request(-1, 110);
  m_prohibited_urls_memo.set_size_request(-1, 110);
  memos->attach(m_prohibited_domains_memo, 0, 1, 1, 1);
  memos->attach(m_prohibited_urls_memo, 1, 1, 1, 1);
  m_prohibited_domains_memo.set_hexpand(true);
  m_prohibited_urls_memo.set_hexpand(true);
  pack_start(*memos, Gtk::PACK_SHRINK);
}

void SetupSiteAccessPage::show(const SetupModel& model, DisplayTextMap& display) {
  std::vector<MoreSitesRow> rows;
  for (const auto& r : model.moresites_grid) {
    rows.push_back({display.show(r.description), display.show(r.url)});
  }
  m_moresites_grid.set_rows(rows);
  auto shown = [&display](const TextList& lines) {
    TextList out;
    for (const auto& line : lines) out.push_back(display.show(line));
    return out;
  };
  m_prohibited_domains_memo.set_lines(shown(model.prohibited_domains_memo));
  m_prohibited_urls_memo.set_lines(shown(model.prohibited_urls_memo));
}

void SetupSiteAccessPage::read(SetupModel& model, const DisplayTextMap& display) const {
  for (const auto& r : m_moresites_grid.rows()) {
    model.moresites_grid.push_back({display.back(r.description), display.back(r.url)});
  }
  auto back = [&display](const TextList& lines) {
    TextList out;
    for (const auto& line : lines) out.push_back(display.back(line));
    return out;
  };
  model.prohibited_domains_memo = back(m_prohibited_domains_memo.lines());
  model.prohibited_urls_memo = back(m_prohibited_urls_memo.lines());
}

void SetupSiteAccessPage::show_locks(const Settings& settings) {
  if (more_sites_locked(settings)) SetupLayout::lock(m_moresites_grid);
  if (list_locked(settings, keys::num_cust_prohibited_domains, {keys::cust_pd_prefix})) {
    SetupLayout::lock(m_prohibited_domains_memo);
  }
  if (list_locked(settings, keys::num_cust_prohibited_urls, {keys::cust_pu_prefix})) {
    SetupLayout::lock(m_prohibited_urls_memo);
  }
}

void SetupSiteAccessPage::add_site(const RefusedSite& site, DisplayTextMap& display) {
  if (!m_moresites_grid.get_sensitive()) return;  // kept by the administrator
  SetupModel model;
  read(model, display);
  auto& rows = model.moresites_grid;
  tovali::add_to_more_sites(rows, more_sites_row_for(site));
  std::vector<MoreSitesRow> shown;
  shown.reserve(rows.size());
  for (const auto& r : rows) shown.push_back({display.show(r.description), display.show(r.url)});
  m_moresites_grid.set_rows(shown);
}

}  // namespace tovali
