#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/Translate.h"
#include "models/SetupHost.h"
#include "models/SetupModel.h"
#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace tovali {

// Shows one message box to the parent and returns when it is dismissed.
using MessageSink = std::function<void(std::string_view text)>;

inline constexpr const char* kRestartMessage =
    N_("Shutdown and restart Tovali Explorer for all settings to take affect");

// The factory password written once under `pw`.
inline constexpr const char* kFactoryPassword = "marigold";

enum class Restart { NotNeeded, Needed };

// A settings value is one line of the settings files. A single-line field can
// still receive line breaks from a paste; they are dropped (CR and LF), so that
// the value cannot split into lines of its own, or add a setting, when saved.
std::string single_line_value(std::string_view text);

// True when the administrator locked a key of a numbered list: its count
// key, or an entry whose name begins with one of `prefixes`.
bool list_locked(const Settings& settings, std::string_view count_key,
                 std::initializer_list<std::string_view> prefixes);
inline bool list_locked(const Settings& settings, SettingKey count_key,
                        std::initializer_list<std::string_view> prefixes) {
  return list_locked(settings, count_key.name(), prefixes);
}

// True when the administrator locked any key of the "More Sites" list.
bool more_sites_locked(const Settings& settings);

// Stores the grid rows with both cells filled as `ms_desc-N`/`ms_url-N` and
// their count, unless more_sites_locked (then nothing changes).
void store_more_sites(const std::vector<MoreSitesRow>& rows, Settings& settings);

// True when the administrator locked `num_menu_sites` or any `mt-`, `mu-` or
// `md-` entry.
bool menu_sites_locked(const Settings& settings);

// Stores the program's own menu: each row with an address, in order, as
// `mt-N`, `mu-N` and `md-N` (values on one line), then `num_menu_sites`;
// rows without an address are dropped. Nothing changes while
// menu_sites_locked.
void store_menu_sites(const std::vector<MenuSiteRow>& rows, Settings& settings);

// Apply steps 1 to 9, on the settings list in memory: notes whether a restart
// is needed (`prevent_switch` differs from its box), adds `pw` when missing,
// stores every box and text (line breaks dropped; a check forced where its
// URL is empty, and `model` updated to show both), the grid rows with both
// cells filled and the memo lines that are not empty (untrimmed). Keys that
// the administrator locked are left alone, a list as a whole when any of its
// keys is locked. Returns whether a restart is needed.
Restart store_setup_model(SetupModel& model, Settings& settings);

struct ApplyOutcome {
  Restart restart = Restart::NotNeeded;
  SaveReport save;
};

// The whole apply: store_setup_model, SaveConfig (a failed save is reported
// through `show`), then the restart message or UpdateControls, then
// UpdateLists.
ApplyOutcome apply_setup(SetupModel& model, SetupHost& host, const MessageSink& show);

// The message for copies that could not be written ("" when all were).
std::string save_failure_message(const SaveReport& report);

// The text that tells the parent that the settings copies could not be written
// at start-up; empty when they were.
std::string startup_save_failure_message(const SaveReport& report);

// The text that tells the parent what is wrong with the administrator's
// settings file (`problems` as start-up found them); empty when nothing is.
std::string system_settings_problem_message(const std::string& problems);

}  // namespace tovali
