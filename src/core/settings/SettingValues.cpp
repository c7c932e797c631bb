#include "settings/SettingValues.h"

#include <string>

#include "base/TextList.h"
#include "base/Translate.h"
#include "settings/SettingsKeys.h"

namespace tovali {

int clock_minutes(std::string_view text) {
  if (text.size() != 5 || text[2] != ':') return -1;
  for (const std::size_t i : {0, 1, 3, 4}) {
    if (text[i] < '0' || text[i] > '9') return -1;
  }
  const int hours = (text[0] - '0') * 10 + (text[1] - '0');
  const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
  if (hours > 23 || minutes > 59) return -1;
  return hours * 60 + minutes;
}

namespace {

// The kind of value `name` holds, with its spec when it is a key of the
// table; nullopt for an unknown name.
struct NameRule {
  SettingKind kind;
  const SettingSpec* spec;  // nullptr for a numbered-list entry
};

std::optional<NameRule> rule_of(std::string_view name) {
  if (const SettingSpec* spec = find_setting(name)) return NameRule{spec->kind, spec};
  if (const ListEntrySpec* entry = find_list_entry(name)) return NameRule{entry->kind, nullptr};
  return std::nullopt;
}

// Decimal digits (blanks around ignored) within [min, max], without sign.
std::optional<long long> whole_number(std::string_view text, const NumberRange& range) {
  text = trim_blanks(text);
  if (!all_digits(text)) return std::nullopt;
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  if (text.size() > 18) return std::nullopt;
  const long long value = std::stoll(std::string(text));
  if (value < range.min || value > range.max) return std::nullopt;
  return value;
}

bool is_bedtime(std::string_view text) {
  if (text.size() != 11 || text[5] != '-') return false;
  const int start = clock_minutes(text.substr(0, 5));
  const int end = clock_minutes(text.substr(6));
  return start >= 0 && end >= 0 && start != end;
}

bool has_control_byte(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

bool is_web_address(std::string_view text) {
  if (has_control_byte(text)) return false;
  std::string_view rest;
  if (starts_with_ignore_case(text, "http://")) {
    rest = text.substr(7);
  } else if (starts_with_ignore_case(text, "https://")) {
    rest = text.substr(8);
  } else {
    return false;
  }
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  const std::string_view host = authority.substr(authority.rfind('@') + 1);
  return !host.empty() && host.front() != ':' && host.find(' ') == std::string_view::npos;
}

bool is_one_line(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string form_of(std::string_view name, const NameRule& rule) {
  const std::string key(name);
  switch (rule.kind) {
    case SettingKind::Switch:
      return fill(tr("{1} takes 1 or 0 (or yes/no, true/false, on/off)"), {key});
    case SettingKind::Number:
    case SettingKind::NumberedList: {
      const NumberRange& range = rule.spec->range;
      const std::string min = std::to_string(range.min);
      const std::string max = std::to_string(range.max);
      if (range.unit.empty())
        return fill(tr("{1} takes a whole number from {2} to {3}"), {key, min, max});
      return fill(tr("{1} takes a whole number of {2} from {3} to {4}"),
                  {key, tr(std::string(range.unit).c_str()), min, max});
    }
    case SettingKind::Bedtime:
      return fill(tr("{1} takes two different times HH:MM-HH:MM (24-hour), such as 20:30-07:00"),
                  {key});
    case SettingKind::Url:
      return fill(tr("{1} takes a web address beginning with http:// or https://"), {key});
    case SettingKind::Text:
      break;
  }
  return fill(tr("{1} takes text on one line"), {key});
}

}  // namespace

std::optional<std::string> switch_word_value(std::string_view word) {
  word = trim_blanks(word);
  for (const std::string_view on : {"1", "yes", "true", "on"}) {
    if (equals_ignore_case(word, on)) return std::string("1");
  }
  for (const std::string_view off : {"0", "no", "false", "off"}) {
    if (equals_ignore_case(word, off)) return std::string("0");
  }
  return std::nullopt;
}

bool is_known_setting_name(std::string_view name) {
  return rule_of(name).has_value();
}

std::string value_form_text(std::string_view name) {
  const auto rule = rule_of(name);
  return rule ? form_of(name, *rule) : std::string();
}

CheckedValue check_setting_value(std::string_view name, std::string_view value) {
  CheckedValue checked;
  const auto rule = rule_of(name);
  if (!rule) {
    checked.check = ValueCheck::UnknownName;
    checked.problem = fill(tr("{1} is not a setting of Tovali Explorer"), {name});
    return checked;
  }
  if (value.empty()) return checked;
  std::optional<std::string> stored;
  switch (rule->kind) {
    case SettingKind::Switch:
      stored = switch_word_value(value);
      break;
    case SettingKind::Number:
    case SettingKind::NumberedList:
      if (const auto number = whole_number(value, rule->spec->range)) {
        stored = std::to_string(*number);
      }
      break;
    case SettingKind::Bedtime:
      if (is_bedtime(trim_blanks(value))) stored = std::string(trim_blanks(value));
      break;
    case SettingKind::Url:
      if (is_web_address(value)) stored = std::string(value);
      break;
    case SettingKind::Text:
      if (is_one_line(value)) stored = std::string(value);
      break;
  }
  if (!stored) {
    checked.check = ValueCheck::WrongForm;
    checked.problem = form_of(name, *rule);
    return checked;
  }
  checked.value = std::move(*stored);
  return checked;
}

}  // namespace tovali
