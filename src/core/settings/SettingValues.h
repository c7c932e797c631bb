#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovali {

// Reads a switch as a person may write it: "1" or "0", or, without regard
// to letter case, "yes"/"no", "true"/"false", "on"/"off"; spaces and tabs
// around the word are ignored. Returns "1" or "0"; nullopt for anything else
// (the empty text too).
std::optional<std::string> switch_word_value(std::string_view word);

// "HH:MM" (two digits each, 00:00 to 23:59) as minutes of the day; -1 for
// any other text.
int clock_minutes(std::string_view text);

// What a check of one name=value made of it.
enum class ValueCheck {
  Accepted,     // the value fits its key; CheckedValue::value is what to store
  UnknownName,  // no key or numbered-list entry of that name
  WrongForm     // a known key that cannot hold the value
};

struct CheckedValue {
  ValueCheck check = ValueCheck::Accepted;
  // When accepted: the value as it is to be stored (a switch as "1"/"0", a
  // number without blanks or leading zeros, anything else as written).
  std::string value;
  // When not accepted: one sentence naming the key, without a full stop,
  // e.g. "daily_minutes takes a whole number of minutes from 0 to 1440".
  std::string problem;
};

// True when `name` is a key of the table (settings/SettingsKeys.h) or an
// entry of one of its numbered lists ("pext-0", "site-1", "ms_url-3"),
// compared without letter case.
bool is_known_setting_name(std::string_view name);

// The sentence telling the form the value of `name` takes, e.g.
// "daily_minutes takes a whole number of minutes from 0 to 1440", naming the
// key as `name` spells it; "" for an unknown name.
std::string value_form_text(std::string_view name);

// Checks a value a person wrote for `name` against the key's rule:
//  - switch: switch_word_value;
//  - whole number (and the count of a numbered list): decimal digits within
//    the key's range, blanks around them ignored;
//  - bedtime: "HH:MM-HH:MM" in 24-hour time with two different times,
//    blanks around it ignored;
//  - web address: begins with "http://" or "https://" (any letter case)
//    and names a host; no control characters;
//  - free text: anything on one line (no CR, LF or NUL byte).
// The empty value is accepted for every known key (it deletes the key).
// An unknown name is refused whatever the value. Never throws.
CheckedValue check_setting_value(std::string_view name, std::string_view value);

}  // namespace tovali
