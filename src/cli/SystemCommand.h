#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "cli/SettingsTool.h"

namespace tovali {

// Whether the password lines are asked for on the terminal.
enum class PasswordPrompt { Shown, Hidden };

// The shortest password set-password takes, in characters.
inline constexpr std::size_t kMinSystemPasswordLength = 4;

// `tovali-settings --system COMMAND`: edits the administrator's
// `system_dir` + "settings.conf" (`system_dir` ends with "/"):
//  - set-password: reads two lines from `in` (with `prompt` Shown, each is
//    asked for on `err`), which must be equal and at least
//    kMinSystemPasswordLength characters, and locks password_hash to the
//    hash of the first;
//  - lock KEY VALUE: locks KEY to VALUE, checked as `set` checks it;
//  - unlock KEY: removes the lines of KEY (none there is told, exit 0);
//  - show: prints the file as it is, and what is wrong with it on `err`.
// Comments and the lines of other names are kept; the file is replaced
// atomically with mode 644. Exit status: 0 done; 1 the folder may not be
// written or the file cannot be read (nothing changed then), passwords that
// differ or are too short, a failed write; 2 a wrong call (usage on `err`),
// or a name or value `lock` refuses (the form it takes told on `err`).
int run_system_command(const std::vector<std::string>& args, const std::string& system_dir,
                       std::istream& in, PasswordPrompt prompt, std::ostream& out,
                       std::ostream& err);

// The command as the front end registers it for `--system`: reads standard
// input, without echo and with prompts when it is a terminal.
SettingsTool::Command make_system_command(std::string system_dir);

// Its lines in the usage text.
inline constexpr const char* kSystemUsage =
    N_("--system set-password\n"
       "                    ask twice for the parent password and lock its hash in the\n"
       "                    administrator's settings.conf\n"
       "  --system lock KEY VALUE\n"
       "                    lock KEY to VALUE in the administrator's settings.conf\n"
       "  --system unlock KEY\n"
       "                    remove the lock of KEY from the administrator's settings.conf\n"
       "  --system show     print the administrator's settings.conf");

}  // namespace tovali
