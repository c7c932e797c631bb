#include "windows/SetupModel.h"

namespace tovali {
namespace {

// Loads one check box; returns true when its state changed (which raises its
// click action as a user's click would).
bool load_check(bool& box, const Settings& settings, const char* key) {
  const bool checked = settings.value(key) == "1";
  const bool changed = checked != box;
  box = checked;
  return changed;
}

TextList load_memo(const Settings& settings, const char* count_key, const char* prefix) {
  return settings.list(count_key, prefix, LetterCase::AsStored);
}

}  // namespace

bool ConfigurationWarningApplies(const SetupModel& model) {
  return !model.download_config;
}

SetupLoad LoadSetupModel(const Settings& settings) {
  SetupLoad load;
  SetupModel& m = load.model;
  auto warn_on_change = [&](bool changed) {
    if (changed && ConfigurationWarningApplies(m)) ++load.configuration_warnings;
  };

  load_check(m.req_pw_close, settings, "req_pw_close");
  load_check(m.req_pw_config, settings, "req_pw_config");
  load_check(m.enable_email_button, settings, "enable_email_button");
  load_check(m.enable_print_button, settings, "enable_print_button");
  m.email_url = settings.value("email_url");
  load_check(m.allow_new_window, settings, "allow_new_window");
  load_check(m.prevent_switch, settings, "prevent_switch");
  load_check(m.show_close_main, settings, "show_close_main");
  warn_on_change(load_check(m.download_config, settings, "download_config"));
  load_check(m.hide_navframe, settings, "hide_navframe");
  load_check(m.load_main_default, settings, "load_main_default");
  m.load_main_url = settings.value("load_main_url");
  load_check(m.silent_mode, settings, "silent_mode");
  load_check(m.show_print_settings, settings, "show_print_settings");
  warn_on_change(load_check(m.use_global_meta_data, settings, "use_global_meta_data"));
  m.home_button_url = settings.value("home_button_url");
  load_check(m.default_home_location, settings, "default_home_location");
  load_check(m.disable_ctrl_alt_del, settings, "disable_ctrl_alt_del");

  m.moresites_grid = LoadMoreSites(settings);

  m.prohibited_domains_memo = load_memo(settings, "num_cust_prohibited_domains", "cust_pd-");
  m.prohibited_urls_memo = load_memo(settings, "num_cust_prohibited_urls", "cust_pu-");
  m.prohibited_file_exts_memo = load_memo(settings, "num_prohibited_file_exts", "pext-");
  return load;
}

std::vector<MoreSitesRow> LoadMoreSites(const Settings& settings) {
  // The settings list bounds the count, so a damaged count cannot stall us.
  const TextList descriptions = settings.list("num_moresites", "ms_desc-");
  const TextList urls = settings.list("num_moresites", "ms_url-");
  std::vector<MoreSitesRow> rows;
  if (!descriptions.empty()) {
    for (std::size_t i = 0; i < descriptions.size(); ++i)
      rows.push_back({descriptions[i], urls[i]});
  } else {
    rows.assign(kDesignGridRows, MoreSitesRow{});
  }
  return rows;
}

bool EntersLastRow(int row, int row_count) {
  return row >= 0 && row == row_count - 1;
}

bool moresites_gridEnterRow(std::vector<MoreSitesRow>& rows, int row) {
  if (!EntersLastRow(row, static_cast<int>(rows.size()))) return false;
  rows.push_back(MoreSitesRow{});
  return true;
}

}  // namespace tovali
