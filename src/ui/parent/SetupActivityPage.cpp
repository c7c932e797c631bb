#include "ui/parent/SetupActivityPage.h"

#include <algorithm>

#include <gtkmm/cellrendererprogress.h>

#include "activity/LocalFormat.h"
#include "base/Translate.h"
#include "models/GrownUpRequest.h"

namespace tovali {

SetupActivityPage::SetupActivityPage()
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4),
      m_day_store(Gtk::ListStore::create(m_day_columns)),
      m_host_store(Gtk::ListStore::create(m_host_columns)),
      m_request_store(Gtk::ListStore::create(m_request_columns)),
      m_caption(
          tr("The child's last 14 days, today at the top: the minutes used each day, and for the "
             "selected day the sites with the pages opened and refused, and what a grown-up was "
             "asked and answered.")),
      m_requests_caption(tr("Asked a grown-up:")) {
  set_name("activity_page");
  set_border_width(8);
  m_caption.set_line_wrap(true);
  m_caption.set_max_width_chars(60);
  m_caption.set_xalign(0);

  m_days_view.set_model(m_day_store);
  m_days_view.set_name("activity_days");
  m_days_view.append_column(tr("Date"), m_day_columns.date);
  auto* bar = Gtk::manage(new Gtk::CellRendererProgress());
  auto* minutes = Gtk::manage(new Gtk::TreeViewColumn(tr("Minutes used"), *bar));
  minutes->add_attribute(bar->property_value(), m_day_columns.bar);
  minutes->add_attribute(bar->property_text(), m_day_columns.minutes);
  minutes->set_min_width(160);
  m_days_view.append_column(*minutes);
  m_days_view.set_enable_search(false);

  m_hosts_view.set_model(m_host_store);
  m_hosts_view.set_name("activity_hosts");
  m_hosts_view.append_column(tr("Site"), m_host_columns.host);
  m_hosts_view.append_column(tr("Opened"), m_host_columns.opened);
  m_hosts_view.append_column(tr("Refused"), m_host_columns.refused);
  m_hosts_view.append_column(tr("Blocked items"), m_host_columns.blocked);
  m_hosts_view.get_column(0)->set_expand(true);
  m_hosts_view.set_enable_search(false);

  // The answers carry the captions of the buttons of "Allow this site?".
  m_requests_view.set_model(m_request_store);
  m_requests_view.set_name("activity_requests");
  m_requests_view.append_column(tr("Site"), m_request_columns.host);
  m_requests_view.append_column(tr("Asked"), m_request_columns.asked);
  m_requests_view.append_column(tr(kJustThisTimeCaption), m_request_columns.once);
  m_requests_view.append_column(tr(kAlwaysCaption), m_request_columns.always);
  m_requests_view.append_column(tr(kNotNowCaption), m_request_columns.declined);
  m_requests_view.get_column(0)->set_expand(true);
  m_requests_view.set_enable_search(false);
  m_requests_caption.set_xalign(0);

  for (Gtk::ScrolledWindow* scroll : {&m_days_scroll, &m_hosts_scroll, &m_requests_scroll}) {
    scroll->set_shadow_type(Gtk::SHADOW_IN);
    scroll->set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
  }
  // A long host name scrolls its list sideways rather than widening the
  // dialog.
  for (Gtk::ScrolledWindow* scroll : {&m_hosts_scroll, &m_requests_scroll})
    scroll->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  m_days_scroll.add(m_days_view);
  m_hosts_scroll.add(m_hosts_view);
  m_requests_scroll.add(m_requests_view);
  // Room for a heading and four requests before the list scrolls.
  m_requests_scroll.set_min_content_height(120);
  m_day_detail.pack_start(m_hosts_scroll, Gtk::PACK_EXPAND_WIDGET);
  m_day_detail.pack_start(m_requests_caption, Gtk::PACK_SHRINK);
  m_day_detail.pack_start(m_requests_scroll, Gtk::PACK_SHRINK);
  m_lists.pack_start(m_days_scroll, Gtk::PACK_SHRINK);
  m_lists.pack_start(m_day_detail, Gtk::PACK_EXPAND_WIDGET);
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
    row[m_day_columns.date] = local_date_text(day.date);
    row[m_day_columns.minutes] = local_number_text(day.minutes);
    row[m_day_columns.bar] = longest == 0 ? 0 : static_cast<int>(day.minutes * 100 / longest);
    row[m_day_columns.index] = index++;
  }
  if (!m_days.empty())
    select_day(0);
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
  m_request_store->clear();
  if (index < 0 || index >= static_cast<int>(m_days.size())) return;
  const DayActivity* day = m_days[static_cast<std::size_t>(index)].activity;
  if (!day) return;
  for (const auto& [host, counts] : day->hosts) {
    if (counts.opened != 0 || counts.refused != 0 || counts.blocked != 0) {
      auto row = *m_host_store->append();
      row[m_host_columns.host] = host;
      row[m_host_columns.opened] = counts.opened;
      row[m_host_columns.refused] = counts.refused;
      row[m_host_columns.blocked] = counts.blocked;
    }
    if (counts.asked != 0) {
      auto row = *m_request_store->append();
      row[m_request_columns.host] = host;
      row[m_request_columns.asked] = counts.asked;
      row[m_request_columns.once] = counts.allowed_once;
      row[m_request_columns.always] = counts.allowed_always;
      row[m_request_columns.declined] = counts.declined;
    }
  }
}

}  // namespace tovali
