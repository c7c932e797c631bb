#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "activity/ActivityKeeper.h"
#include "activity/ActivityRecord.h"
#include "activity/TimeBudget.h"

namespace tovali {

class NavigationGuard;
class Settings;

// What the daily time needs of the window besides the guard.
struct DailyTimeEffects {
  std::function<void(const std::string& text)> show_message;  // the message panel
  std::function<void()> close_popup;                          // time is up
  // The status line's "N minutes left today" for `minutes`; nullopt hides
  // it (no daily limit).
  std::function<void(std::optional<int> minutes)> show_minutes_left;
  // The URL of a local file in the form in which the browser reports it.
  std::function<std::string(const std::string& path)> engine_url;
};

// The child's daily time and activity record in the running program: loads
// the record from the state folder, moves the budget on at each tick (the
// window's one-second timer calls tick()), shows the minutes left, the
// warning and the time-up page, counts the pages and refusals per host and
// saves the record about once a minute and on exit.
class DailyTime {
 public:
  // All references must outlive the object. Loads the record (a damaged day
  // file is told on stderr and kept for the setup dialog) and reads the
  // limits from `daily_minutes` and `bedtime`; start() shows the state.
  // `start_page_path`: where the main frame returns when time is no longer
  // up.
  DailyTime(std::string state_dir, std::string start_page_path, const Settings& settings,
            NavigationGuard& guard, DailyTimeEffects effects);
  DailyTime(const DailyTime&) = delete;
  DailyTime& operator=(const DailyTime&) = delete;

  // Shows the minutes left and applies time-up at once.
  void start();
  // One second has passed: the budget moves on, a warning is shown, time-up
  // begins or ends. Errors of the periodic save are told on stderr.
  void tick();

  // While one of these lives a parent's window is open and no time counts.
  class ParentWindow {
   public:
    explicit ParentWindow(DailyTime& owner) : m_owner(&owner) { ++m_owner->m_parent_windows; }
    ~ParentWindow() { --m_owner->m_parent_windows; }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

   private:
    DailyTime* m_owner;
  };
  [[nodiscard]] ParentWindow parent_window_open() { return ParentWindow(*this); }

  // Re-reads `daily_minutes` and `bedtime` (after the setup dialog saved).
  void update_limits();
  // "Add 15 minutes today".
  void add_extra_minutes();

  // A page opened in the main frame or the pop-up, a refused navigation,
  // a grown-up request and its answer: counted under today's date.
  void page_opened(const std::string& url);
  void page_refused(const std::string& url);
  void record_request(const std::string& url, RequestAnswer answer);
  // A refused load of a page (an image, a script, a fetch...) from `url`:
  // a blocked item of its host, counted under today's date.
  void page_load_refused(const std::string& url);

  const ActivityRecord& record() const { return m_keeper->record(); }
  // What loading found damaged, one line per file; "" when nothing.
  const std::string& load_problems() const { return m_load_problems; }

  // Writes today's day file; a failure is told on stderr.
  void save_now();

 private:
  void show_state();
  // Tells what could not be saved on stderr.
  static void report_save_errors(const std::string& errors);
  Counting counting() const { return m_parent_windows > 0 ? Counting::No : Counting::Yes; }

  const Settings& m_settings;
  NavigationGuard& m_guard;
  DailyTimeEffects m_effects;
  std::string m_state_dir;
  std::string m_start_page_path;
  std::unique_ptr<ActivityKeeper> m_keeper;
  std::string m_load_problems;
  int m_parent_windows = 0;
};

}  // namespace tovali
