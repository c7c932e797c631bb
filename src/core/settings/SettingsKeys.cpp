#include "settings/SettingsKeys.h"

#include <climits>
#include <string>

#include "BuildConfig.h"
#include "base/Translate.h"

namespace tovali {

namespace {

// Longest daily time a parent can give: the whole day.
constexpr long long kMaxMinutesADay = 24 * 60;

// Highest index a numbered list is read up to (Settings::kMaxListEntries - 1).
constexpr std::size_t kMaxListIndex = 65534;

SettingSpec switch_with_default(SettingKey key, std::string_view value,
                                SwitchRule rule = SwitchRule::OnWhenOne) {
  return {key, SettingKind::Switch, true, value, rule, {}, {}, {}};
}

SettingSpec plain(SettingKey key, SettingKind kind) {
  return {key, kind, false, {}, SwitchRule::OnWhenOne, {}, {}, {}};
}

SettingSpec number(SettingKey key, long long max, std::string_view unit) {
  SettingSpec spec = plain(key, SettingKind::Number);
  spec.range = {0, max, unit};
  return spec;
}

SettingSpec numbered(SettingKey count_key, std::string_view prefix) {
  SettingSpec spec{
      count_key, SettingKind::NumberedList, false, {}, SwitchRule::OnWhenOne, prefix, {}, {}};
  spec.range = {0, kMaxListIndex + 1, "entries"};
  return spec;
}

std::vector<SettingSpec> make_table() {
  using K = SettingKind;
  SettingSpec file_exts = numbered(keys::num_prohibited_file_exts, keys::pext_prefix);
  file_exts.has_default = true;
  file_exts.default_entries = {"exe", "zip"};
  return {
      // The factory lines, in the order they are written.
      {keys::password, K::Text, true, "marigold", SwitchRule::OnWhenOne, {}, {}, {}},
      switch_with_default(keys::req_pw_close, "0"),
      switch_with_default(keys::req_pw_config, "0"),
      switch_with_default(keys::enable_email_button, "0"),
      {keys::email_url, K::Url, true, build::kEmailUrl, SwitchRule::OnWhenOne, {}, {}, {}},
      switch_with_default(keys::allow_new_window, "1"),
      switch_with_default(keys::prevent_switch, "1"),
      switch_with_default(keys::disable_ctrl_alt_del, "1"),
      switch_with_default(keys::show_close_main, "0"),
      switch_with_default(keys::download_config, "1", SwitchRule::OffWhenZero),
      switch_with_default(keys::hide_navframe, "0"),
      switch_with_default(keys::load_main_default, "1"),
      switch_with_default(keys::silent_mode, "0"),
      switch_with_default(keys::use_global_meta_data, "1"),
      switch_with_default(keys::enable_print_button, "1"),
      switch_with_default(keys::default_home_location, "1"),
      file_exts,
      // Keys without a factory line.
      plain(keys::password_hash, K::Text),
      plain(keys::nopassword, K::Switch),
      plain(keys::pw, K::Text),
      plain(keys::show_print_settings, K::Switch),
      plain(keys::load_main_url, K::Url),
      plain(keys::home_button_url, K::Url),
      plain(keys::local_menu, K::Switch),
      plain(keys::welcome_done, K::Switch),
      plain(keys::strict_page_loads, K::Switch),
      plain(keys::email_meta_data, K::Text),
      plain(keys::global_meta_data, K::Text),
      number(keys::program_version, INT_MAX, ""),
      number(keys::daily_minutes, kMaxMinutesADay, N_("minutes")),
      plain(keys::bedtime, K::Bedtime),
      numbered(keys::num_sites, keys::site_prefix),
      numbered(keys::num_moresites, keys::ms_desc_prefix),
      numbered(keys::num_menu_sites, keys::mt_prefix),
      numbered(keys::num_cust_prohibited_domains, keys::cust_pd_prefix),
      numbered(keys::num_cust_prohibited_urls, keys::cust_pu_prefix),
  };
}

}  // namespace

const std::vector<SettingSpec>& known_settings() {
  static const std::vector<SettingSpec> table = make_table();
  return table;
}

const SettingSpec* find_setting(std::string_view name) {
  for (const SettingSpec& spec : known_settings()) {
    if (equals_ignore_case(spec.key.name(), name)) return &spec;
  }
  return nullptr;
}

const std::vector<ListEntrySpec>& list_entries() {
  static const std::vector<ListEntrySpec> table = {
      {keys::site_prefix, SettingKind::Url},     {keys::ms_desc_prefix, SettingKind::Text},
      {keys::ms_url_prefix, SettingKind::Url},   {keys::mt_prefix, SettingKind::Text},
      {keys::mu_prefix, SettingKind::Url},       {keys::md_prefix, SettingKind::Text},
      {keys::cust_pd_prefix, SettingKind::Text}, {keys::cust_pu_prefix, SettingKind::Text},
      {keys::pext_prefix, SettingKind::Text},
  };
  return table;
}

const ListEntrySpec* find_list_entry(std::string_view name) {
  for (const ListEntrySpec& entry : list_entries()) {
    if (!starts_with_ignore_case(name, entry.prefix)) continue;
    const std::string_view index = name.substr(entry.prefix.size());
    if (!all_digits(index) || index.size() > 5 || (index.size() > 1 && index[0] == '0')) {
      return nullptr;
    }
    return std::stoul(std::string(index)) <= kMaxListIndex ? &entry : nullptr;
  }
  return nullptr;
}

SwitchRule switch_rule(std::string_view name) {
  const SettingSpec* spec = find_setting(name);
  return spec ? spec->rule : SwitchRule::OnWhenOne;
}

std::string_view factory_default(SettingKey key) {
  const SettingSpec* spec = find_setting(key.name());
  return spec && spec->has_default ? spec->factory_default : std::string_view();
}

TextList factory_default_lines() {
  TextList lines;
  for (const SettingSpec& spec : known_settings()) {
    if (!spec.has_default) continue;
    const std::string name(spec.key.name());
    if (spec.kind != SettingKind::NumberedList) {
      lines.push_back(name + "=" + std::string(spec.factory_default));
      continue;
    }
    lines.push_back(name + "=" + std::to_string(spec.default_entries.size()));
    for (std::size_t i = 0; i < spec.default_entries.size(); ++i) {
      lines.push_back(std::string(spec.list_prefix) + std::to_string(i) + "=" +
                      std::string(spec.default_entries[i]));
    }
  }
  return lines;
}

}  // namespace tovali
