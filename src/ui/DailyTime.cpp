#include "ui/DailyTime.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

#include <glibmm/main.h>

#include "activity/DailyLimits.h"
#include "activity/LocalDate.h"
#include "browser/CallbackGuard.h"
#include "browser/EmbeddedWB.h"
#include "models/GeneratedPages.h"
#include "policy/NavigationGuard.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

constexpr int kSaveEveryTicks = 60;

DailyLimits limits_of(const Settings& settings) {
  DailyLimits limits =
      parse_daily_limits(settings.value(keys::daily_minutes), settings.value(keys::bedtime));
  for (const std::string& problem : limits.problems)
    std::cerr << "tovali-explorer: " << problem << "\n";
  return limits;
}

}  // namespace

DailyTime::DailyTime(std::string state_dir, std::string start_page_url, const Settings& settings,
                     NavigationGuard& guard, DailyTimeEffects effects)
    : m_settings(settings),
      m_guard(guard),
      m_effects(std::move(effects)),
      m_state_dir(std::move(state_dir)),
      m_start_page_url(std::move(start_page_url)),
      m_store(m_state_dir) {
  ActivityLoadReport report;
  m_record = m_store.load(local_moment_now().date, StoreAccess::Tidy, &report);
  for (const std::string& problem : report.problems) {
    std::cerr << "tovali-explorer: activity record: " << problem << "\n";
    m_load_problems += problem + "\n";
  }
  m_budget = std::make_unique<TimeBudget>(limits_of(m_settings), m_record);
  m_budget->tick(local_moment_now(), std::chrono::steady_clock::now(), counting());
  m_label.set_name("TimeLeft");
  m_label.set_no_show_all(true);
}

DailyTime::~DailyTime() {
  m_timer.disconnect();
}

void DailyTime::start() {
  show_state();
  m_timer = Glib::signal_timeout().connect(sigc::mem_fun(*this, &DailyTime::on_timer), 1000);
}

bool DailyTime::on_timer() {
  guarded("daily time", [this] { tick(); });
  return true;
}

void DailyTime::tick() {
  const LocalDate before = m_budget->today();
  m_budget->tick(local_moment_now(), std::chrono::steady_clock::now(), counting());
  if (m_budget->today() != before) {
    save_day(before);  // the day just ended
    m_record.prune(m_budget->today());
  }
  const std::optional<std::string> warning = m_budget->take_warning();
  if (warning && m_effects.show_message) m_effects.show_message(*warning);
  show_state();
  if (++m_ticks_since_save >= kSaveEveryTicks) save_now();
}

void DailyTime::show_state() {
  const std::optional<int> left = m_budget->minutes_left();
  if (left) m_label.set_text(TimeBudget::minutes_left_text(*left));
  m_label.set_visible(left.has_value());

  const bool up = m_budget->time_is_up();
  if (up && !m_guard.TimeIsUp()) {
    const std::optional<std::string> page = WriteTimeUpPage(m_state_dir);
    if (!page) std::cerr << "tovali-explorer: cannot write " << m_state_dir << "timeup.html\n";
    if (m_effects.close_popup) m_effects.close_popup();
    m_guard.BeginTimeUp(to_engine_url(page.value_or(m_state_dir + "timeup.html")));
  } else if (!up && m_guard.TimeIsUp()) {
    m_guard.EndTimeUp(m_start_page_url);
  }
}

void DailyTime::update_limits() {
  m_budget = std::make_unique<TimeBudget>(limits_of(m_settings), m_record);
  m_budget->tick(local_moment_now(), std::chrono::steady_clock::now(), counting());
  show_state();
}

void DailyTime::add_extra_minutes() {
  m_budget->add_extra_minutes();
  show_state();
  save_now();
}

void DailyTime::page_opened(const std::string& url) {
  m_record.add_opened(m_budget->today(), url);
}

void DailyTime::page_refused(const std::string& url) {
  m_record.add_refused(m_budget->today(), url);
}

void DailyTime::record_request(const std::string& url, RequestAnswer answer) {
  m_record.add_request(m_budget->today(), url, answer);
}

void DailyTime::save_now() {
  m_ticks_since_save = 0;
  save_day(m_budget->today());
}

void DailyTime::save_day(const LocalDate& date) {
  std::string error;
  if (!m_store.save_day(m_record, date, &error))
    std::cerr << "tovali-explorer: activity record not saved: " << error << "\n";
}

}  // namespace tovali
