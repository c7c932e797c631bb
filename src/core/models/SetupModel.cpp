#include "models/SetupModel.h"

#include "base/Translate.h"
#include "settings/SettingsKeys.h"

namespace tovali {
namespace {

// Loads one check box; returns true when its state changed (which raises its
// click action as a user's click would).
// Loads one check box; returns true when its state changed (which raises its
// click action as a user's click would). The dialog shows a box checked
// exactly when the value is "1", `download_config` included.
bool load_check(bool& box, const Settings& settings, SettingKey key) {
  const bool checked = settings.value(key) == "1";
  const bool changed = checked != box;
  box = checked;
  return changed;
}

TextList load_memo(const Settings& settings, SettingKey count_key, std::string_view prefix) {
  return settings.list(count_key, prefix, LetterCase::AsStored);
}

}  // namespace

const std::vector<SetupCheck>& setup_checks() {
  using M = SetupModel;
  using P = SetupPlace;
  constexpr auto warn = CheckWarning::Configuration;
  constexpr auto none = CheckWarning::None;
  static const std::vector<SetupCheck> checks = {
      {keys::silent_mode, N_("Prevent Browser From Showing Dialog Popups"), &M::silent_mode,
       P::General, 1},
      {keys::allow_new_window, N_("Allow New Windows To Popup"), &M::allow_new_window, P::General,
       7},
      {keys::prevent_switch, N_("Prevent Switching To Other Programs (Requires Restart)"),
       &M::prevent_switch, P::General, 8},
      {keys::disable_ctrl_alt_del, N_("Disable Ctrl-Alt-Del (N/A for Windows NT)"),
       &M::disable_ctrl_alt_del, P::General, 12},
      {keys::download_config, N_("Download Configuration File On Startup"), &M::download_config,
       P::General, 10, warn},
      {keys::use_global_meta_data, N_("Use Site Include/Exclude Settings From Downloaded Config"),
       &M::use_global_meta_data, P::General, 0, warn},
      {keys::hide_navframe, N_("Hide Navigation Frame"), &M::hide_navframe, P::General, 11},
      {keys::strict_page_loads, N_("Pages may load only from the sites their link allows"),
       &M::strict_page_loads, P::PageLoads, 15},
      {keys::load_main_default, N_("Check here to use default location"), &M::load_main_default,
       P::MainFrame, 13, none, keys::load_main_url, &M::load_main_url, WhenTextEmpty::Check},
      {keys::req_pw_close, N_("Require Password To Close Program"), &M::req_pw_close, P::Password,
       3},
      {keys::req_pw_config, N_("Require Password To Enter Setup"), &M::req_pw_config, P::Password,
       4},
      {keys::default_home_location, N_("Check here to use default location"),
       &M::default_home_location, P::HomeSite, 14, none, keys::home_button_url, &M::home_button_url,
       WhenTextEmpty::Check},
      {keys::enable_email_button, N_("Enable Email Button (For Web-based Email)"),
       &M::enable_email_button, P::EmailButton, 5, none, keys::email_url, &M::email_url,
       WhenTextEmpty::Uncheck},
      {keys::enable_print_button, N_("Enable Print Button"), &M::enable_print_button,
       P::PrintButton, 6},
      {keys::show_print_settings, N_("Show Print Settings"), &M::show_print_settings,
       P::PrintButton, 2},
      {keys::show_close_main, N_("Show Close Button In Main Window"), &M::show_close_main,
       P::CloseButton, 9},
  };
  return checks;
}

bool configuration_warning_applies(const SetupModel& model) {
  return !model.download_config;
}

SetupLoad load_setup_model(const Settings& settings) {
  SetupLoad load;
  SetupModel& m = load.model;
  auto warn_on_change = [&](bool changed) {
    if (changed && configuration_warning_applies(m)) ++load.configuration_warnings;
  };

  for (const SetupCheck& box : setup_checks()) {
    const bool changed = load_check(m.*box.member, settings, box.key);
    if (box.warning == CheckWarning::Configuration) warn_on_change(changed);
    if (box.text) m.*box.text = settings.value(box.text_key);
  }

  m.moresites_grid = load_more_sites(settings);

  m.prohibited_domains_memo =
      load_memo(settings, keys::num_cust_prohibited_domains, keys::cust_pd_prefix);
  m.prohibited_urls_memo =
      load_memo(settings, keys::num_cust_prohibited_urls, keys::cust_pu_prefix);
  m.prohibited_file_exts_memo =
      load_memo(settings, keys::num_prohibited_file_exts, keys::pext_prefix);
  return load;
}

std::vector<MenuSiteRow> load_menu_sites(const Settings& settings) {
  const TextList titles = settings.list(keys::num_menu_sites, keys::mt_prefix);
  const TextList urls = settings.list(keys::num_menu_sites, keys::mu_prefix);
  const TextList domains = settings.list(keys::num_menu_sites, keys::md_prefix);
  std::vector<MenuSiteRow> rows;
  rows.reserve(titles.size());
  for (std::size_t i = 0; i < titles.size(); ++i) rows.push_back({titles[i], urls[i], domains[i]});
  return rows;
}

std::vector<MoreSitesRow> load_more_sites(const Settings& settings) {
  // The settings list bounds the count, so a damaged count cannot stall us.
  const TextList descriptions = settings.list(keys::num_moresites, keys::ms_desc_prefix);
  const TextList urls = settings.list(keys::num_moresites, keys::ms_url_prefix);
  std::vector<MoreSitesRow> rows;
  if (!descriptions.empty()) {
    for (std::size_t i = 0; i < descriptions.size(); ++i)
      rows.push_back({descriptions[i], urls[i]});
  } else {
    rows.assign(kDesignGridRows, MoreSitesRow{});
  }
  return rows;
}

bool enters_last_row(int row, int row_count) {
  return row >= 0 && row == row_count - 1;
}

bool grow_more_sites_rows(std::vector<MoreSitesRow>& rows, int row) {
  if (!enters_last_row(row, static_cast<int>(rows.size()))) return false;
  rows.push_back(MoreSitesRow{});
  return true;
}

}  // namespace tovali
