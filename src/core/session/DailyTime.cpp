#include "session/DailyTime.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

#include "activity/DailyLimits.h"
#include "activity/LocalDate.h"
#include "models/GeneratedPages.h"
#include "policy/NavigationGuard.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

DailyLimits limits_of(const Settings& settings) {
  DailyLimits limits =
      parse_daily_limits(settings.value(keys::daily_minutes), settings.value(keys::bedtime));
  for (const std::string& problem : limits.problems)
    std::cerr << "tovali-explorer: " << problem << "\n";
  return limits;
}

}  // namespace

DailyTime::DailyTime(std::string state_dir, std::string start_page_path, const Settings& settings,
                     NavigationGuard& guard, DailyTimeEffects effects)
    : m_settings(settings),
      m_guard(guard),
      m_effects(std::move(effects)),
      m_state_dir(std::move(state_dir)),
      m_start_page_path(std::move(start_page_path)) {
  ActivityLoadReport report;
  m_keeper =
      std::make_unique<ActivityKeeper>(m_state_dir, limits_of(m_settings), local_moment_now(),
                                       std::chrono::steady_clock::now(), counting(), &report);
  for (const std::string& problem : report.problems) {
    std::cerr << "tovali-explorer: activity record: " << problem << "\n";
    m_load_problems += problem + "\n";
  }
}

void DailyTime::start() {
  show_state();
}

void DailyTime::tick() {
  report_save_errors(
      m_keeper->tick(local_moment_now(), std::chrono::steady_clock::now(), counting()));
  const std::optional<std::string> warning = m_keeper->budget().take_warning();
  if (warning && m_effects.show_message) m_effects.show_message(*warning);
  show_state();
}

void DailyTime::show_state() {
  const TimeBudget& budget = m_keeper->budget();
  if (m_effects.show_minutes_left) m_effects.show_minutes_left(budget.minutes_left());

  const bool up = budget.time_is_up();
  if (up && !m_guard.time_is_up()) {
    const std::optional<std::string> page = write_time_up_page(m_state_dir);
    if (!page) std::cerr << "tovali-explorer: cannot write " << m_state_dir << "timeup.html\n";
    if (m_effects.close_popup) m_effects.close_popup();
    m_guard.begin_time_up(m_effects.engine_url(page.value_or(m_state_dir + "timeup.html")));
  } else if (!up && m_guard.time_is_up()) {
    m_guard.end_time_up(m_effects.engine_url(m_start_page_path));
  }
}

void DailyTime::update_limits() {
  m_keeper->set_limits(limits_of(m_settings), local_moment_now(), std::chrono::steady_clock::now(),
                       counting());
  show_state();
}

void DailyTime::add_extra_minutes() {
  m_keeper->budget().add_extra_minutes();
  show_state();
  save_now();
}

void DailyTime::page_opened(const std::string& url) {
  m_keeper->record().add_opened(m_keeper->budget().today(), url);
}

void DailyTime::page_refused(const std::string& url) {
  m_keeper->record().add_refused(m_keeper->budget().today(), url);
}

void DailyTime::record_request(const std::string& url, RequestAnswer answer) {
  m_keeper->record().add_request(m_keeper->budget().today(), url, answer);
}

void DailyTime::page_load_refused(const std::string& url) {
  m_keeper->record().add_blocked(m_keeper->budget().today(), url);
}

void DailyTime::save_now() {
  report_save_errors(m_keeper->save_now());
}

void DailyTime::report_save_errors(const std::string& errors) {
  if (!errors.empty()) std::cerr << "tovali-explorer: activity record not saved: " << errors;
}

}  // namespace tovali
