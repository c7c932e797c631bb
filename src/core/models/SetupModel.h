#pragma once

#include <string>
#include <vector>

#include "base/TextList.h"
#include "base/Translate.h"
#include "settings/SettingKey.h"
#include "settings/Settings.h"

namespace tovali {

// One data row of the "More Sites" grid (the heading row is not stored).
struct MoreSitesRow {
  std::string description;
  std::string url;
  bool operator==(const MoreSitesRow& other) const {
    return description == other.description && url == other.url;
  }
};

// One entry of the program's own menu (`mt-N`, `mu-N`, `md-N`): the title
// the child sees, the address it opens and the other domains it may reach,
// separated by spaces.
struct MenuSiteRow {
  std::string title;
  std::string url;
  std::string domains;
  bool operator==(const MenuSiteRow& other) const {
    return title == other.title && url == other.url && domains == other.domains;
  }
};

// The values of the setup dialog's controls, one member per control that
// mirrors a settings key. Check boxes start unchecked, texts empty.
struct SetupModel {
  // General
  bool silent_mode = false;
  bool allow_new_window = false;
  bool prevent_switch = false;
  bool disable_ctrl_alt_del = false;
  bool download_config = false;
  bool use_global_meta_data = false;
  bool hide_navframe = false;
  bool strict_page_loads = false;
  std::string load_main_url;
  bool load_main_default = false;
  // Password
  bool req_pw_close = false;
  bool req_pw_config = false;
  // Buttons
  std::string home_button_url;
  bool default_home_location = false;
  bool enable_email_button = false;
  std::string email_url;
  bool enable_print_button = false;
  bool show_print_settings = false;
  bool show_close_main = false;
  // Site Access and Downloads
  std::vector<MoreSitesRow> moresites_grid;
  TextList prohibited_domains_memo;
  TextList prohibited_urls_memo;
  TextList prohibited_file_exts_memo;
};

// Where the setup dialog shows a check box.
enum class SetupPlace {
  General,
  MainFrame,
  Password,
  HomeSite,
  EmailButton,
  PrintButton,
  CloseButton,
  PageLoads  // below the main frame's address on the General tab
};

// Whether a change of the check box may raise the configuration warning.
enum class CheckWarning { None, Configuration };

// What applying does to a check box whose companion text is empty (unless
// the administrator locked the check box).
enum class WhenTextEmpty { Keep, Uncheck, Check };

// One check box of the setup dialog: the settings key it mirrors ("1"
// checked, "0" unchecked), its caption, its model member and place, and
// optionally the text field stored right after it.
struct SetupCheck {
  SettingKey key;
  const char* caption;
  bool SetupModel::*member;
  SetupPlace place;
  // Position among the check boxes when applying writes them (a missing
  // line is appended, so this order shows in the stored copies).
  int store_rank;
  CheckWarning warning = CheckWarning::None;
  SettingKey text_key{""};  // empty name: no companion text
  std::string SetupModel::*text = nullptr;
  WhenTextEmpty when_text_empty = WhenTextEmpty::Keep;
};

// Every check box of the setup dialog, in the order each place shows them.
const std::vector<SetupCheck>& setup_checks();

// Data rows of the grid as designed: four empty rows below the heading.
inline constexpr int kDesignGridRows = 4;

// The dialog after fill_controls has filled it.
struct SetupLoad {
  SetupModel model;
  // How many times the configuration warning was raised while filling (a
  // check box raises its click action when loading changes its state).
  int configuration_warnings = 0;
};

// Fills every control from `settings` in the dialog's loading order: the
// check boxes and text fields, the "More Sites" grid (n rows for
// `num_moresites` n > 0, else four empty rows) and the three memos (values
// exactly as stored; a missing entry gives an empty line).
SetupLoad load_setup_model(const Settings& settings);

// The "More Sites" grid as stored: n rows for `num_moresites` n > 0, else
// four empty rows.
std::vector<MoreSitesRow> load_more_sites(const Settings& settings);

// The program's own menu as stored: one row per entry of `num_menu_sites`,
// in order, values as stored (a missing one is "").
std::vector<MenuSiteRow> load_menu_sites(const Settings& settings);

// The configuration warning applies after `download_config` or
// `use_global_meta_data` changed state when `download_config` is unchecked.
bool configuration_warning_applies(const SetupModel& model);

// The warning's text.
inline constexpr const char* kConfigurationWarning =
    N_("\"Download Configuration File On Startup\" should normally be enabled for proper "
       "operation");

// True when the data row `row` is the last of `row_count` rows.
bool enters_last_row(int row, int row_count);

// Grid growth: when the current cell enters the last data row, one empty row
// is appended (so there is always a row below the one being edited). `row` is
// a data-row index (0 = first row under the heading). Returns true when a row
// was appended.
bool grow_more_sites_rows(std::vector<MoreSitesRow>& rows, int row);

}  // namespace tovali
