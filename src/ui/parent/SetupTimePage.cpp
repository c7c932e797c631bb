#include "ui/parent/SetupTimePage.h"

#include "activity/DailyLimits.h"
#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {
namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

SetupTimePage::SetupTimePage()
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 8),
      m_caption(
          tr("The time the child may use the program each day. Time counts while the program "
             "runs, not while this dialog or \"Allow this site?\" is open after the password. "
             "When it is up, or during bedtime, the "
             "program shows \"Time is up for today. See you tomorrow!\".")) {
  set_name("time_page");
  set_border_width(8);
  m_caption.set_line_wrap(true);
  m_caption.set_max_width_chars(60);
  m_caption.set_xalign(0);
  m_daily_minutes.set_name("daily_minutes");
  m_bedtime.set_name("bedtime");
  m_daily_minutes.set_width_chars(6);
  m_bedtime.set_width_chars(12);
  m_bedtime.set_placeholder_text("20:30-07:00");
  for (Gtk::Label* label : {&m_daily_minutes_label, &m_bedtime_label}) label->set_xalign(0);
  m_daily_minutes_label.set_mnemonic_widget(m_daily_minutes);
  m_bedtime_label.set_mnemonic_widget(m_bedtime);
  m_grid.set_row_spacing(6);
  m_grid.set_column_spacing(8);
  m_grid.attach(m_daily_minutes_label, 0, 0);
  m_grid.attach(m_daily_minutes, 1, 0);
  m_grid.attach(m_bedtime_label, 0, 1);
  m_grid.attach(m_bedtime, 1, 1);
  m_add_minutes.set_name("add_minutes");
  m_add_minutes.signal_clicked().connect([this] {
    if (on_add_minutes) on_add_minutes();
  });
  m_bar.pack_start(m_add_minutes, Gtk::PACK_SHRINK);
  pack_start(m_caption, Gtk::PACK_SHRINK);
  pack_start(m_grid, Gtk::PACK_SHRINK);
  pack_start(m_bar, Gtk::PACK_SHRINK);
}

void SetupTimePage::fill(const Settings& settings) {
  m_daily_minutes.set_text(settings.value(keys::daily_minutes));
  m_bedtime.set_text(settings.value(keys::bedtime));
  const bool minutes_locked = settings.is_locked(keys::daily_minutes);
  const bool bedtime_locked = settings.is_locked(keys::bedtime);
  // Extra minutes would stretch a limit the administrator set.
  const auto show_lock = [](Gtk::Widget& control, bool locked) {
    control.set_sensitive(!locked);
    control.set_tooltip_text(locked ? tr(kSetByAdministrator) : "");
  };
  show_lock(m_daily_minutes, minutes_locked);
  show_lock(m_bedtime, bedtime_locked);
  show_lock(m_add_minutes, minutes_locked || bedtime_locked);
}

bool SetupTimePage::store(Settings& settings, const MessageSink& show) const {
  const std::string minutes = trimmed(single_line_value(m_daily_minutes.get_text().raw()));
  const std::string bedtime = trimmed(single_line_value(m_bedtime.get_text().raw()));
  std::string problems;
  if (!parse_daily_limits(minutes, "").problems.empty())
    problems += std::string("\n") + tr("Minutes per day must be a whole number from 0 to 1440.");
  if (!parse_daily_limits("", bedtime).problems.empty())
    problems +=
        std::string("\n") + tr("Bedtime must be written HH:MM-HH:MM with two different times, for "
                               "example 20:30-07:00.");
  if (!problems.empty()) {
    show(tr("The time settings were not saved.") + problems);
    return false;
  }
  if (!settings.is_locked(keys::daily_minutes)) settings.set_value(keys::daily_minutes, minutes);
  if (!settings.is_locked(keys::bedtime)) settings.set_value(keys::bedtime, bedtime);
  return true;
}

}  // namespace tovali
