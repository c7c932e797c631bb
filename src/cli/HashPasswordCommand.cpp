#include "cli/HashPasswordCommand.h"

#include <iostream>

#include "base/Translate.h"
#include "cli/NoEcho.h"
#include "crypto/PasswordHash.h"

namespace tovali {

int run_hash_password_command(const std::vector<std::string>& args, std::istream& in,
                              std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    err << tr("Usage: tovali-settings hash-password < FILE\n");
    return 2;
  }
  std::string password;
  if (!std::getline(in, password) && password.empty()) {
    err << "tovali-settings: " << tr("no password on standard input") << '\n';
    return 1;
  }
  if (!password.empty() && password.back() == '\r') password.pop_back();
  const auto hash = hash_password(password);
  if (!hash) {
    err << "tovali-settings: " << tr("the password cannot be hashed") << '\n';
    return 1;
  }
  out << *hash << '\n';
  return 0;
}

SettingsTool::Command make_hash_password_command() {
  return [](const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return run_hash_password_command(args, std::cin, out, err);
    NoEcho no_echo;
    if (no_echo.active()) err << "Password: " << std::flush;
    const int status = run_hash_password_command(args, std::cin, out, err);
    if (no_echo.active()) err << '\n';
    return status;
  };
}

}  // namespace tovali
