#include "windows/SetupApply.h"

#include <string>

namespace tovali {
namespace {

// Writes `key` unless the administrator locked it.
void store(Settings& settings, std::string_view key, std::string_view value) {
  if (!settings.is_locked(key)) settings.set_value(key, value);
}

void store_check(Settings& settings, const char* key, bool checked) {
  store(settings, key, checked ? "1" : "0");
}

// Stores the non-empty lines, untrimmed, as prefix+0.., then the count.
void store_lines(Settings& settings, const TextList& lines, const char* count_key,
                 const char* prefix) {
  if (ListLocked(settings, count_key, {prefix})) return;
  int count = 0;
  for (const auto& line : lines) {
    if (line.empty()) continue;
    ++count;
    settings.set_value(std::string(prefix) + std::to_string(count - 1), line);
  }
  settings.set_value(count_key, std::to_string(count));
}

}  // namespace

bool ListLocked(const Settings& settings, std::string_view count_key,
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

bool MoreSitesLocked(const Settings& settings) {
  return ListLocked(settings, "num_moresites", {"ms_desc-", "ms_url-"});
}

void StoreMoreSites(const std::vector<MoreSitesRow>& rows, Settings& s) {
  if (MoreSitesLocked(s)) return;
  int sites = 0;
  for (const auto& row : rows) {
    if (row.description.empty() || row.url.empty()) continue;
    ++sites;
    s.set_value("ms_desc-" + std::to_string(sites - 1), row.description);
    s.set_value("ms_url-" + std::to_string(sites - 1), row.url);
  }
  s.set_value("num_moresites", std::to_string(sites));
}

std::string SingleLineValue(std::string_view text) {
  std::string value;
  value.reserve(text.size());
  for (const char c : text) {
    if (c != '\r' && c != '\n') value += c;
  }
  return value;
}

Restart StoreSetupModel(SetupModel& m, Settings& s) {
  m.email_url = SingleLineValue(m.email_url);
  m.load_main_url = SingleLineValue(m.load_main_url);
  m.home_button_url = SingleLineValue(m.home_button_url);
  for (auto& row : m.moresites_grid) {
    row.description = SingleLineValue(row.description);
    row.url = SingleLineValue(row.url);
  }

  const bool was_on = s.value("prevent_switch") == "1";
  const Restart restart = was_on != m.prevent_switch ? Restart::Needed : Restart::NotNeeded;

  if (!s.has("pw")) store(s, "pw", kFactoryPassword);

  store_check(s, "use_global_meta_data", m.use_global_meta_data);
  store_check(s, "silent_mode", m.silent_mode);
  store_check(s, "show_print_settings", m.show_print_settings);
  store_check(s, "req_pw_close", m.req_pw_close);
  store_check(s, "req_pw_config", m.req_pw_config);

  // A forced check is not forced on a control that the administrator keeps.
  if (m.email_url.empty() && !s.is_locked("enable_email_button")) m.enable_email_button = false;
  store_check(s, "enable_email_button", m.enable_email_button);
  store(s, "email_url", m.email_url);

  store_check(s, "enable_print_button", m.enable_print_button);
  store_check(s, "allow_new_window", m.allow_new_window);
  store_check(s, "prevent_switch", m.prevent_switch);
  store_check(s, "show_close_main", m.show_close_main);
  store_check(s, "download_config", m.download_config);
  store_check(s, "hide_navframe", m.hide_navframe);
  store_check(s, "disable_ctrl_alt_del", m.disable_ctrl_alt_del);

  if (m.load_main_url.empty() && !s.is_locked("load_main_default")) m.load_main_default = true;
  store_check(s, "load_main_default", m.load_main_default);
  store(s, "load_main_url", m.load_main_url);

  if (m.home_button_url.empty() && !s.is_locked("default_home_location")) {
    m.default_home_location = true;
  }
  store_check(s, "default_home_location", m.default_home_location);
  store(s, "home_button_url", m.home_button_url);

  StoreMoreSites(m.moresites_grid, s);

  store_lines(s, m.prohibited_domains_memo, "num_cust_prohibited_domains", "cust_pd-");
  store_lines(s, m.prohibited_urls_memo, "num_cust_prohibited_urls", "cust_pu-");
  store_lines(s, m.prohibited_file_exts_memo, "num_prohibited_file_exts", "pext-");
  return restart;
}

std::string SaveFailureMessage(const SaveReport& report) {
  if (report.ok()) return {};
  return "The settings could not be saved. They are in force until Tovali Explorer is "
         "closed.\r" +
         report.describe();
}

std::string StartupSaveFailureMessage(const SaveReport& report) {
  if (report.ok()) return {};
  return "Tovali Explorer could not write its settings files when it started, so changes "
         "may be lost at the next start. Check that these files and their folders can be "
         "written:\r" +
         report.describe();
}

std::string SystemSettingsProblemMessage(const std::string& problems) {
  if (problems.empty()) return {};
  return "Tovali Explorer could not use all of the administrator's settings file. Ask the "
         "administrator to mend it:\r" +
         problems;
}

ApplyOutcome ApplySetup(SetupModel& model, SetupHost& host, const MessageSink& show) {
  ApplyOutcome outcome;
  outcome.restart = StoreSetupModel(model, host.settings());
  outcome.save = host.SaveConfig();
  if (!outcome.save.ok() && show) show(SaveFailureMessage(outcome.save));
  if (outcome.restart == Restart::Needed) {
    if (show) show(kRestartMessage);
  } else {
    host.UpdateControls();
  }
  host.UpdateCtrlAltDel();
  host.UpdateLists();
  return outcome;
}

}  // namespace tovali
