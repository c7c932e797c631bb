#include "models/SetupApply.h"

#include <algorithm>
#include <string>

#include "base/Translate.h"
#include "settings/SettingsKeys.h"

namespace tovali {
namespace {

// Writes `key` unless the administrator locked it.
void store(Settings& settings, SettingKey key, std::string_view value) {
  if (!settings.is_locked(key)) settings.set_value(key, value);
}

void store_check(Settings& settings, SettingKey key, bool checked) {
  store(settings, key, checked ? "1" : "0");
}

// Writes one check box, after forcing its state when its companion text is
// empty, then the text.
void store_setup_check(Settings& s, SetupModel& m, const SetupCheck& box) {
  bool& checked = m.*box.member;
  if (box.text && (m.*box.text).empty() && box.when_text_empty != WhenTextEmpty::Keep &&
      !s.is_locked(box.key)) {
    // A forced check is not forced on a control that the administrator keeps.
    checked = box.when_text_empty == WhenTextEmpty::Check;
  }
  store_check(s, box.key, checked);
  if (box.text) store(s, box.text_key, m.*box.text);
}

// Stores the non-empty lines, untrimmed, as prefix+0.., then the count.
void store_lines(Settings& settings, const TextList& lines, SettingKey count_key,
                 std::string_view prefix) {
  if (list_locked(settings, count_key, {prefix})) return;
  int count = 0;
  for (const auto& line : lines) {
    if (line.empty()) continue;
    ++count;
    settings.set_value(std::string(prefix) + std::to_string(count - 1), line);
  }
  settings.set_value(count_key, std::to_string(count));
}

}  // namespace

bool list_locked(const Settings& settings, std::string_view count_key,
                 std::initializer_list<std::string_view> prefixes) {
  if (settings.is_locked(count_key)) return true;
  for (const auto& line : settings.locked_lines()) {
    const std::string_view name = std::string_view(line).substr(0, line.find('='));
    for (const auto prefix : prefixes) {
      if (starts_with_ignore_case(name, prefix)) return true;
    }
  }
  return false;
}

bool more_sites_locked(const Settings& settings) {
  return list_locked(settings, keys::num_moresites, {keys::ms_desc_prefix, keys::ms_url_prefix});
}

void store_more_sites(const std::vector<MoreSitesRow>& rows, Settings& s) {
  if (more_sites_locked(s)) return;
  int sites = 0;
  for (const auto& row : rows) {
    if (row.description.empty() || row.url.empty()) continue;
    ++sites;
    s.set_value(std::string(keys::ms_desc_prefix) + std::to_string(sites - 1), row.description);
    s.set_value(std::string(keys::ms_url_prefix) + std::to_string(sites - 1), row.url);
  }
  s.set_value(keys::num_moresites, std::to_string(sites));
}

bool menu_sites_locked(const Settings& settings) {
  return list_locked(settings, keys::num_menu_sites,
                     {keys::mt_prefix, keys::mu_prefix, keys::md_prefix});
}

void store_menu_sites(const std::vector<MenuSiteRow>& rows, Settings& s) {
  if (menu_sites_locked(s)) return;
  int sites = 0;
  for (const auto& row : rows) {
    const std::string url = single_line_value(row.url);
    if (url.find_first_not_of(" \t") == std::string::npos) continue;
    const std::string n = std::to_string(sites++);
    s.set_value(std::string(keys::mt_prefix) + n, single_line_value(row.title));
    s.set_value(std::string(keys::mu_prefix) + n, url);
    s.set_value(std::string(keys::md_prefix) + n, single_line_value(row.domains));
  }
  s.set_value(keys::num_menu_sites, std::to_string(sites));
}

std::string single_line_value(std::string_view text) {
  std::string value;
  value.reserve(text.size());
  for (const char c : text) {
    if (c != '\r' && c != '\n') value += c;
  }
  return value;
}

Restart store_setup_model(SetupModel& m, Settings& s) {
  m.email_url = single_line_value(m.email_url);
  m.load_main_url = single_line_value(m.load_main_url);
  m.home_button_url = single_line_value(m.home_button_url);
  for (auto& row : m.moresites_grid) {
    row.description = single_line_value(row.description);
    row.url = single_line_value(row.url);
  }

  const bool was_on = s.is_on(keys::prevent_switch);
  const Restart restart = was_on != m.prevent_switch ? Restart::Needed : Restart::NotNeeded;

  if (!s.has(keys::pw)) store(s, keys::pw, kFactoryPassword);

  std::vector<const SetupCheck*> in_store_order;
  for (const SetupCheck& box : setup_checks()) in_store_order.push_back(&box);
  std::sort(in_store_order.begin(), in_store_order.end(),
            [](const SetupCheck* a, const SetupCheck* b) { return a->store_rank < b->store_rank; });
  for (const SetupCheck* box : in_store_order) store_setup_check(s, m, *box);

  store_more_sites(m.moresites_grid, s);

  store_lines(s, m.prohibited_domains_memo, keys::num_cust_prohibited_domains,
              keys::cust_pd_prefix);
  store_lines(s, m.prohibited_urls_memo, keys::num_cust_prohibited_urls, keys::cust_pu_prefix);
  store_lines(s, m.prohibited_file_exts_memo, keys::num_prohibited_file_exts, keys::pext_prefix);
  return restart;
}

std::string save_failure_message(const SaveReport& report) {
  if (report.ok()) return {};
  return tr("The settings could not be saved. They are in force until Tovali Explorer is "
            "closed.") +
         std::string("\r") + report.describe();
}

std::string startup_save_failure_message(const SaveReport& report) {
  if (report.ok()) return {};
  return tr("Tovali Explorer could not write its settings files when it started, so changes "
            "may be lost at the next start. Check that these files and their folders can be "
            "written:") +
         std::string("\r") + report.describe();
}

std::string system_settings_problem_message(const std::string& problems) {
  if (problems.empty()) return {};
  return tr("Tovali Explorer could not use all of the administrator's settings file. Ask the "
            "administrator to mend it:") +
         std::string("\r") + problems;
}

ApplyOutcome apply_setup(SetupModel& model, SetupHost& host, const MessageSink& show) {
  ApplyOutcome outcome;
  outcome.restart = store_setup_model(model, host.settings());
  outcome.save = host.SaveConfig();
  if (!outcome.save.ok() && show) show(save_failure_message(outcome.save));
  if (outcome.restart == Restart::Needed) {
    if (show) show(kRestartMessage);
  } else {
    host.UpdateControls();
  }
  host.UpdateLists();
  return outcome;
}

}  // namespace tovali
