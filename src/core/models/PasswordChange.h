#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/Translate.h"
#include "models/SetupHost.h"
#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace tovali {

// Checks a password against a crypt(3) hash (the crypto library's
// password_matches_hash in the program).
using PasswordHashCheck = std::function<bool(std::string_view password, std::string_view hash)>;

// True when the administrator has set `password_hash` (only a locked,
// non-empty one counts; the user's settings cannot set it).
bool password_hash_in_force(const Settings& settings);

// True when the parent password cannot be changed in setup: the
// administrator set `password_hash` or locked `password`.
bool password_change_locked(const Settings& settings);

// True when `typed` is the parent password: the whole text, exact and
// case-sensitive. A missing `password` key is the empty password. A stored
// password that is not UTF-8 also matches its Latin-1 reading, the only form
// in which it can be typed. Line breaks in `typed` (a paste) are ignored, as
// they are when the password is set. When password_hash_in_force, `password`
// is ignored and `typed` is right exactly when `check_hash` accepts it for
// the hash (without a check, nothing is right).
bool password_matches(std::string_view typed, const Settings& settings,
                      const PasswordHashCheck& check_hash = nullptr);

inline constexpr const char* kCurrentPasswordIncorrect = N_("Current password is incorrect");
inline constexpr const char* kNewPasswordsDiffer =
    N_("New passwords are not the same. Please re-enter the new password");
inline constexpr const char* kPasswordChanged =
    N_("Password changed. Please record your password in a safe place.");

// Told when the administrator keeps a setting (the tooltip of a locked
// control in setup, and the answer of a change that is refused).
inline constexpr const char* kSetByAdministrator = N_("Set by the administrator");

// The Password tab's note: how to change the password, or, when
// password_change_locked, that the administrator sets it.
inline constexpr const char* kFactoryPasswordNote =
    N_("The initial password set upon installation is \"marigold\".  Please enter it for "
       "\"Current Password\" in order to change it. If you enable passwords, it is recommended "
       "that you change the password.");
inline constexpr const char* kAdministratorPasswordNote =
    N_("The password is set by the administrator and cannot be changed here.");

// Told on the Password tab when password_kept_in_own_files: the child's
// account may read and change its own files, the administrator's are beyond
// its reach.
inline constexpr const char* kOwnFilesPasswordNote =
    N_("This password is kept in this account's own files. To keep it from the child, an "
       "administrator can run: sudo tovali-settings --system set-password");

// True when the parent password lives in the user's own settings copies:
// the administrator neither set `password_hash` nor locked `password`.
inline bool password_kept_in_own_files(const Settings& settings) {
  return !password_change_locked(settings);
}

// The note for the settings in force.
inline const char* password_note(const Settings& settings) {
  return password_change_locked(settings) ? kAdministratorPasswordNote : kFactoryPasswordNote;
}

enum class PasswordChangeResult { CurrentIncorrect, NewPasswordsDiffer, Changed, Locked };

struct PasswordChangeOutcome {
  PasswordChangeResult result = PasswordChangeResult::CurrentIncorrect;
  std::string message;  // the message box to show
  SaveReport save;      // filled when the password was stored
};

// "Set Password": refused (Locked, nothing stored) when
// password_change_locked; otherwise checks the current password, then that both new entries
// are equal; stores the new password (the empty one removes the key; line
// breaks from a paste are dropped) and saves at once. A save that fails is
// told in the message, not hidden.
PasswordChangeOutcome set_password(SetupHost& host, std::string_view current,
                                   std::string_view new_password,
                                   std::string_view new_password_again);

}  // namespace tovali
