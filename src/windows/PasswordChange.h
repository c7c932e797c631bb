#pragma once

#include <string>
#include <string_view>

#include "settings/ConfigStore.h"
#include "settings/Settings.h"
#include "windows/SetupHost.h"

namespace tovali {

// True when `typed` is the parent password: the whole text, exact and
// case-sensitive. A missing `password` key is the empty password. A stored
// password that is not UTF-8 also matches its Latin-1 reading, the only form
// in which it can be typed. Line breaks in `typed` (a paste) are ignored, as
// they are when the password is set.
bool PasswordMatches(std::string_view typed, const Settings& settings);

inline constexpr const char* kCurrentPasswordIncorrect = "Current password is incorrect";
inline constexpr const char* kNewPasswordsDiffer =
    "New passwords are not the same. Please re-enter the new password";
inline constexpr const char* kPasswordChanged =
    "Password changed. Please record your password in a safe place.";

enum class PasswordChangeResult { CurrentIncorrect, NewPasswordsDiffer, Changed };

struct PasswordChangeOutcome {
  PasswordChangeResult result = PasswordChangeResult::CurrentIncorrect;
  std::string message;  // the message box to show
  SaveReport save;      // filled when the password was stored
};

// "Set Password": checks the current password, then that both new entries
// are equal; stores the new password (the empty one removes the key; line
// breaks from a paste are dropped) and saves at once. A save that fails is
// told in the message, not hidden.
PasswordChangeOutcome SetPassword(SetupHost& host, std::string_view current,
                                  std::string_view new_password,
                                  std::string_view new_password_again);

}  // namespace tovali
