#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "base/TextList.h"
#include "settings/SettingKey.h"

namespace tovali {

// Every settings key the program reads or writes by name.
namespace keys {
// Passwords.
inline constexpr SettingKey password{"password"};
inline constexpr SettingKey password_hash{"password_hash"};
inline constexpr SettingKey nopassword{"nopassword"};
inline constexpr SettingKey pw{"pw"};
inline constexpr SettingKey req_pw_close{"req_pw_close"};
inline constexpr SettingKey req_pw_config{"req_pw_config"};
// Buttons and windows.
inline constexpr SettingKey enable_email_button{"enable_email_button"};
inline constexpr SettingKey email_url{"email_url"};
inline constexpr SettingKey email_meta_data{"email-meta-data"};
inline constexpr SettingKey allow_new_window{"allow_new_window"};
inline constexpr SettingKey prevent_switch{"prevent_switch"};
// Shown and stored by the setup dialog; a Linux desktop has no flag for it
// to set, so nothing else reads it.
inline constexpr SettingKey disable_ctrl_alt_del{"disable_ctrl_alt_del"};
inline constexpr SettingKey show_close_main{"show_close_main"};
inline constexpr SettingKey hide_navframe{"hide_navframe"};
inline constexpr SettingKey load_main_default{"load_main_default"};
inline constexpr SettingKey load_main_url{"load_main_url"};
inline constexpr SettingKey silent_mode{"silent_mode"};
inline constexpr SettingKey enable_print_button{"enable_print_button"};
inline constexpr SettingKey show_print_settings{"show_print_settings"};
inline constexpr SettingKey default_home_location{"default_home_location"};
inline constexpr SettingKey home_button_url{"home_button_url"};
// "1": the navigation frame shows the program's own menu page, made from the
// `num_menu_sites` list, in place of the home site's.
inline constexpr SettingKey local_menu{"local_menu"};
// "0": the settings were made from the factory defaults and the grown-up's
// welcome has not been completed; "1": it has.
inline constexpr SettingKey welcome_done{"welcome_done"};
// "1": what a page loads (images, scripts, fetch...) must come from the
// page's own domain or from what its link's rules admit; "0" (the default):
// only the parent's lists judge a page's loads.
inline constexpr SettingKey strict_page_loads{"strict_page_loads"};
// The downloaded configuration.
inline constexpr SettingKey download_config{"download_config"};
inline constexpr SettingKey use_global_meta_data{"use_global_meta_data"};
inline constexpr SettingKey global_meta_data{"global-meta-data"};
inline constexpr SettingKey program_version{"program-version"};
// Daily time: minutes a day (empty or "0": no limit), bedtime "HH:MM-HH:MM".
inline constexpr SettingKey daily_minutes{"daily_minutes"};
inline constexpr SettingKey bedtime{"bedtime"};
// Counts of the numbered lists; each list's entries are named prefix+"0"..
inline constexpr SettingKey num_sites{"num-sites"};
inline constexpr std::string_view site_prefix = "site-";
inline constexpr SettingKey num_moresites{"num_moresites"};
inline constexpr std::string_view ms_desc_prefix = "ms_desc-";
inline constexpr std::string_view ms_url_prefix = "ms_url-";
// The program's own menu: the title the child sees, the address it opens
// and the other domains it may reach (separated by spaces) of each entry.
inline constexpr SettingKey num_menu_sites{"num_menu_sites"};
inline constexpr std::string_view mt_prefix = "mt-";
inline constexpr std::string_view mu_prefix = "mu-";
inline constexpr std::string_view md_prefix = "md-";
inline constexpr SettingKey num_cust_prohibited_domains{"num_cust_prohibited_domains"};
inline constexpr std::string_view cust_pd_prefix = "cust_pd-";
inline constexpr SettingKey num_cust_prohibited_urls{"num_cust_prohibited_urls"};
inline constexpr std::string_view cust_pu_prefix = "cust_pu-";
inline constexpr SettingKey num_prohibited_file_exts{"num_prohibited_file_exts"};
inline constexpr std::string_view pext_prefix = "pext-";
}  // namespace keys

// The form of a key's value: a switch ("1" or "0"), free text on one line,
// an http(s) address, a whole number within the key's range, the count of a
// numbered list, or a bedtime "HH:MM-HH:MM".
enum class SettingKind { Switch, Text, Url, Number, NumberedList, Bedtime };

// The range of a whole-number key and what it counts ("minutes"; "" for a
// plain number).
struct NumberRange {
  long long min = 0;
  long long max = 0;
  std::string_view unit;
};

// How a switch reads: most are on only when "1"; a switch that must stay on
// unless turned off on purpose is off only when "0" (a missing line is on).
enum class SwitchRule { OnWhenOne, OffWhenZero };

// One known key. `factory_default` is written when no stored copy can be
// read (`has_default`); for a numbered list the default is its entries,
// and the count is their number.
struct SettingSpec {
  SettingKey key;
  SettingKind kind;
  bool has_default = false;
  std::string_view factory_default;
  SwitchRule rule = SwitchRule::OnWhenOne;
  std::string_view list_prefix;
  std::vector<std::string_view> default_entries;
  NumberRange range;  // for SettingKind::Number
};

// The entries of one numbered list: names `prefix` + index, each holding a
// value of `kind` (Text or Url).
struct ListEntrySpec {
  std::string_view prefix;
  SettingKind kind;
};

// The table of every known key; the keys with a default come first, in
// the order of the factory lines.
const std::vector<SettingSpec>& known_settings();

// The entry of the key named `name` (compared without letter case), or
// nullptr for a name the program does not know (numbered list entries too).
const SettingSpec* find_setting(std::string_view name);

// The entries of every numbered list, by prefix (`site-`, `ms_desc-`,
// `ms_url-`, `mt-`, `mu-`, `md-`, `cust_pd-`, `cust_pu-`, `pext-`).
const std::vector<ListEntrySpec>& list_entries();

// The entry spec whose prefix begins `name` (without letter case) and is
// followed by an index in the form the lists are read with: decimal digits
// without a leading zero ("0", "12"; not "01", "+1"), below
// Settings::kMaxListEntries. nullptr for any other name.
const ListEntrySpec* find_list_entry(std::string_view name);

// The rule of the switch named `name`; OnWhenOne for any other name.
SwitchRule switch_rule(std::string_view name);

// The factory default of `key`; "" when it has none.
std::string_view factory_default(SettingKey key);

// The factory lines, name=value, in table order: each key with a default,
// a numbered list as its count followed by its entries.
TextList factory_default_lines();

}  // namespace tovali
