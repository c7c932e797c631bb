#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "cli/SettingsTool.h"

namespace tovali {

// `tovali-settings hash-password`: reads one line from `in` (its line end,
// LF or CR LF, is not part of the password) and prints its yescrypt hash,
// the value for `password_hash` in the administrator's settings.conf. Exit
// status 0 when printed; 1 when nothing could be read or hashed; 2 for a
// wrong call.
int run_hash_password_command(const std::vector<std::string>& args, std::istream& in,
                              std::ostream& out, std::ostream& err);

// The command as the front end registers it: reads standard input, without
// echo when it is a terminal.
SettingsTool::Command make_hash_password_command();

// Its line in the usage text.
inline constexpr const char* kHashPasswordUsage =
    N_("hash-password     read a password line from standard input, print its hash");

}  // namespace tovali
