#pragma once

#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>

#include "activity/ActivityRecord.h"
#include "activity/ActivityReport.h"
#include "activity/LocalDate.h"

namespace tovali {

// The "Activity" tab: the last 14 days, today at the top, with a bar of the
// minutes used each day; for the selected day the hosts with the pages
// opened and refused and the items blocked on pages (loads refused without
// a word to the child), and under them the grown-up requests of that day
// with their answers.
class SetupActivityPage : public Gtk::Box {
 public:
  static constexpr long kDaysShown = 14;

  SetupActivityPage();

  // Shows the days up to `today` from `record` (none when nullptr), newest
  // first, and selects today. The record must stay unchanged while the page
  // shows it.
  void show_record(const ActivityRecord* record, const LocalDate& today);

  // Selects the day at `index` (0: today, the newest shown).
  void select_day(int index);

 private:
  // Tests reach the three lists through it.
  friend class SetupActivityPageTestAccess;

  struct DayColumns : Gtk::TreeModelColumnRecord {
    DayColumns() {
      add(date);
      add(minutes);
      add(bar);
      add(index);
    }
    Gtk::TreeModelColumn<Glib::ustring> date;
    Gtk::TreeModelColumn<Glib::ustring> minutes;
    Gtk::TreeModelColumn<int> bar;  // 0..100, of the longest day shown
    Gtk::TreeModelColumn<int> index;
  };
  struct HostColumns : Gtk::TreeModelColumnRecord {
    HostColumns() {
      add(host);
      add(opened);
      add(refused);
      add(blocked);
    }
    Gtk::TreeModelColumn<Glib::ustring> host;
    Gtk::TreeModelColumn<guint64> opened;
    Gtk::TreeModelColumn<guint64> refused;
    Gtk::TreeModelColumn<guint64> blocked;
  };
  struct RequestColumns : Gtk::TreeModelColumnRecord {
    RequestColumns() {
      add(host);
      add(asked);
      add(once);
      add(always);
      add(declined);
    }
    Gtk::TreeModelColumn<Glib::ustring> host;
    Gtk::TreeModelColumn<guint64> asked;
    Gtk::TreeModelColumn<guint64> once;
    Gtk::TreeModelColumn<guint64> always;
    Gtk::TreeModelColumn<guint64> declined;
  };

  void show_hosts(int index);

  std::vector<RecentDay> m_days;
  DayColumns m_day_columns;
  HostColumns m_host_columns;
  RequestColumns m_request_columns;
  Glib::RefPtr<Gtk::ListStore> m_day_store;
  Glib::RefPtr<Gtk::ListStore> m_host_store;
  Glib::RefPtr<Gtk::ListStore> m_request_store;
  Gtk::Label m_caption;
  Gtk::Box m_lists{Gtk::ORIENTATION_HORIZONTAL, 8};
  Gtk::ScrolledWindow m_days_scroll;
  Gtk::TreeView m_days_view;
  Gtk::Box m_day_detail{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::ScrolledWindow m_hosts_scroll;
  Gtk::TreeView m_hosts_view;
  Gtk::Label m_requests_caption;
  Gtk::ScrolledWindow m_requests_scroll;
  Gtk::TreeView m_requests_view;
};

}  // namespace tovali
