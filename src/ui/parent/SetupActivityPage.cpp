#include "ui/parent/SetupActivityPage.h"

#include <algorithm>

#include <gtkmm/cellrendererprogress.h>

namespace tovali {

SetupActivityPage::SetupActivityPage()
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4),
      m_day_store(Gtk::ListStore::create(m_day_columns)),
      m_host_store(Gtk::ListStore::create(m_host_columns)),
      m_caption(
          "The child's last 14 days: the minutes used each day, and for the selected day the "
          "sites with the pages opened and refused.") {
  set_name("activity_page");
  set_border_width(8);
  m_caption.set_line_wrap(true);
  m_caption.set_max_width_chars(60);
  m_caption.set_xalign(0);

  m_days_view.set_model(m_day_store);
  m_days_view.set_name("activity_days");
  m_days_view.append_column("Date", m_day_columns.date);
  auto* bar = Gtk::manage(new Gtk::CellRendererProgress());
  auto* minutes = Gtk::manage(new Gtk::TreeViewColumn("Minutes used", *bar));
  minutes->add_attribute(bar->property_value(), m_day_columns.bar);
  minutes->add_attribute(bar->property_text(), m_day_columns.minutes);
  minutes->set_min_width(160);
  m_days_view.append_column(*minutes);
  m_days_view.set_enable_search(false);

  m_hosts_view.set_model(m_host_store);
  m_hosts_view.set_name("activity_hosts");
  m_hosts_view.append_column("Site", m_host_columns.host);
  m_hosts_view.append_column("Opened", m_host_columns.opened);
  m_hosts_view.append_column("Refused", m_host_columns.refused);
  m_hosts_view.get_column(0)->set_expand(true);
  m_hosts_view.set_enable_search(false);

  for (Gtk::ScrolledWindow* scroll : {&m_days_scroll, &m_hosts_scroll}) {
    scroll->set_shadow_type(Gtk::SHADOW_IN);
    scroll->set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
  }
  m_days_scroll.add(m_days_view);
  m_hosts_scroll.add(m_hosts_view);
  m_lists.pack_start(m_days_scroll, Gtk::PACK_SHRINK);
  m_lists.pack_start(m_hosts_scroll, Gtk::PACK_EXPAND_WIDGET);
  pack_start(m_caption, Gtk::PACK_SHRINK);
  pack_start(m_lists, Gtk::PACK_EXPAND_WIDGET);

  m_days_view.get_selection()->signal_changed().connect([this] {
    const auto row = m_days_view.get_selection()->get_selected();
    show_hosts(row ? static_cast<int>((*row)[m_day_columns.index]) : -1);
  });
}

void SetupActivityPage::show_record(const ActivityRecord* record, const LocalDate& today) {
  m_days = record ? recent_days(*record, today, kDaysShown) : std::vector<RecentDay>{};
  std::uint64_t longest = 0;
  for (const RecentDay& day : m_days) longest = std::max(longest, day.minutes);
  m_day_store->clear();
  int index = 0;
  for (const RecentDay& day : m_days) {
    auto row = *m_day_store->append();
    row[m_day_columns.date] = day.date.text();
    row[m_day_columns.minutes] = std::to_string(day.minutes);
    row[m_day_columns.bar] = longest == 0 ? 0 : static_cast<int>(day.minutes * 100 / longest);
    row[m_day_columns.index] = index++;
  }
  if (!m_days.empty())
    select_day(static_cast<int>(m_days.size()) - 1);
  else
    show_hosts(-1);
}

void SetupActivityPage::select_day(int index) {
  const auto children = m_day_store->children();
  if (index < 0 || index >= static_cast<int>(children.size())) return;
  m_days_view.get_selection()->select(children[static_cast<unsigned>(index)]);
}

void SetupActivityPage::show_hosts(int index) {
  m_host_store->clear();
  if (index < 0 || index >= static_cast<int>(m_days.size())) return;
  const DayActivity* day = m_days[static_cast<std::size_t>(index)].activity;
  if (!day) return;
  for (const auto& [host, counts] : day->hosts) {
    auto row = *m_host_store->append();
    row[m_host_columns.host] = host;
    row[m_host_columns.opened] = counts.opened;
    row[m_host_columns.refused] = counts.refused;
  }
}

}  // namespace tovali
