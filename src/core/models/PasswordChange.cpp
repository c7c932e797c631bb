#include "models/PasswordChange.h"

#include "base/Translate.h"
#include "models/DisplayText.h"
#include "models/SetupApply.h"
#include "settings/SettingsKeys.h"

namespace tovali {

bool password_hash_in_force(const Settings& settings) {
  return settings.is_locked(keys::password_hash) && !settings.value(keys::password_hash).empty();
}

bool password_change_locked(const Settings& settings) {
  return password_hash_in_force(settings) || settings.is_locked(keys::password);
}

bool password_matches(std::string_view typed_text, const Settings& settings,
                      const PasswordHashCheck& check_hash) {
  // A stored password never holds a line break; a pasted one is dropped as
  // it was when the password was set.
  const std::string typed = single_line_value(typed_text);
  if (password_hash_in_force(settings)) {
    return check_hash && check_hash(typed, settings.value(keys::password_hash));
  }
  const std::string password = settings.value(keys::password);
  if (typed == password) return true;
  // A password stored in another encoding can only be typed as its UTF-8
  // reading; accept exactly that reading.
  if (is_valid_utf8(password)) return false;
  DisplayTextMap map;
  return typed == map.show(password);
}

PasswordChangeOutcome set_password(SetupHost& host, std::string_view current,
                                   std::string_view new_password,
                                   std::string_view new_password_again) {
  PasswordChangeOutcome outcome;
  if (password_change_locked(host.settings())) {
    outcome.result = PasswordChangeResult::Locked;
    outcome.message = kSetByAdministrator;
    return outcome;
  }
  if (!password_matches(current, host.settings())) {
    outcome.result = PasswordChangeResult::CurrentIncorrect;
    outcome.message = kCurrentPasswordIncorrect;
    return outcome;
  }
  // Line breaks from a paste are dropped: a value is one line of the files.
  const std::string stored = single_line_value(new_password);
  if (stored != single_line_value(new_password_again)) {
    outcome.result = PasswordChangeResult::NewPasswordsDiffer;
    outcome.message = kNewPasswordsDiffer;
    return outcome;
  }
  host.settings().set_value(keys::password, stored);
  outcome.result = PasswordChangeResult::Changed;
  outcome.save = host.SaveConfig();
  outcome.message = outcome.save.ok() ? std::string(kPasswordChanged)
                                      : tr(kPasswordChanged) + std::string("\r") +
                                            save_failure_message(outcome.save);
  return outcome;
}

}  // namespace tovali
