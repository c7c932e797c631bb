#pragma once

#include <functional>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/label.h>

#include "base/Translate.h"
#include "models/SetupApply.h"
#include "settings/Settings.h"

namespace tovali {

// The "Time" tab: the daily minutes and the bedtime, and "Add 15 minutes
// today".
class SetupTimePage : public Gtk::Box {
 public:
  static constexpr const char* kAddMinutesCaption = N_("Add 15 minutes today");

  SetupTimePage();

  // Shows the values of `daily_minutes` and `bedtime`; a key locked by the
  // administrator cannot be edited, and while either is locked "Add 15
  // minutes today" cannot be pressed; each says "Set by the administrator".
  void fill(const Settings& settings);

  // Checks both fields with parse_daily_limits. When they are good, stores
  // them (trimmed, locked keys left alone) and returns true; otherwise tells
  // the parent what is wrong through `show`, stores nothing and returns false.
  bool store(Settings& settings, const MessageSink& show) const;

  // Raised by "Add 15 minutes today".
  std::function<void()> on_add_minutes;

 private:
  // Tests reach the fields and the button through it.
  friend class SetupTimePageTestAccess;

  Gtk::Label m_caption;
  Gtk::Grid m_grid;
  Gtk::Label m_daily_minutes_label{tr("Minutes per day (empty or 0: no limit):")};
  Gtk::Entry m_daily_minutes;
  Gtk::Label m_bedtime_label{tr("Bedtime, HH:MM-HH:MM (empty: none):")};
  Gtk::Entry m_bedtime;
  Gtk::Box m_bar{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::Button m_add_minutes{tr(kAddMinutesCaption)};
};

}  // namespace tovali
