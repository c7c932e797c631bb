#include "cli/SystemCommand.h"

#include <iostream>

#include "base/Translate.h"
#include "cli/NoEcho.h"
#include "crypto/PasswordHash.h"
#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"
#include "settings/SystemSettings.h"
#include "settings/SystemSettingsEditor.h"

namespace tovali {

namespace {

constexpr const char* kSystemCallUsage =
    N_("Usage: tovali-settings --system set-password\n"
       "       tovali-settings --system lock KEY VALUE\n"
       "       tovali-settings --system unlock KEY\n"
       "       tovali-settings --system show\n");

// The characters of UTF-8 text: every byte that does not continue a
// sequence. Other bytes count one each.
std::size_t character_count(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

// One line of `in` without its line end (LF or CR LF); false at the end of
// the input.
bool read_line(std::istream& in, std::string& line) {
  line.clear();
  if (!std::getline(in, line) && line.empty()) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// Reads the file to edit; false (told on `err`) when it exists but cannot be
// read, as an edit would lose what it holds.
bool read_for_edit(const std::string& system_dir, std::string& text, std::ostream& err) {
  const SystemSettingsFile file = read_system_settings_file(system_dir);
  if (file.state == SystemFileRead::Unreadable) {
    err << "tovali-settings: "
        << fill(tr("{1} cannot be read ({2}); nothing was changed"),
                {system_dir + kSystemSettingsFile, file.error})
        << '\n';
    return false;
  }
  text = file.text;
  return true;
}

// Refuses (told on `err`) when `system_dir` may not be written.
bool may_write(const std::string& system_dir, std::ostream& err) {
  if (may_write_folder(system_dir)) return true;
  err << "tovali-settings: "
      << fill(tr("no permission to write in {1} (run as the administrator, e.g. with sudo); "
                 "nothing was changed"),
              {system_dir})
      << '\n';
  return false;
}

int save(const std::string& system_dir, const SystemSettingsEditor& editor, std::ostream& err) {
  std::string error;
  if (!save_system_settings_file(system_dir, editor.text(), error)) {
    err << "tovali-settings: cannot write " << system_dir << kSystemSettingsFile << ": " << error
        << "; nothing was changed\n";
    return 1;
  }
  return 0;
}

int set_password(const std::string& system_dir, std::istream& in, PasswordPrompt prompt,
                 std::ostream& out, std::ostream& err) {
  std::string text;
  if (!may_write(system_dir, err) || !read_for_edit(system_dir, text, err)) return 1;
  std::string password;
  std::string again;
  if (prompt == PasswordPrompt::Shown) err << tr("New password: ") << std::flush;
  const bool first_read = read_line(in, password);
  if (prompt == PasswordPrompt::Shown) err << "\n" << tr("Repeat the new password: ") << std::flush;
  const bool second_read = first_read && read_line(in, again);
  if (prompt == PasswordPrompt::Shown) err << '\n';
  if (!second_read) {
    err << "tovali-settings: "
        << tr("the password is read twice, and two lines were not given; nothing was changed")
        << '\n';
    return 1;
  }
  if (password != again) {
    err << "tovali-settings: " << tr("the two passwords are not the same; nothing was changed")
        << '\n';
    return 1;
  }
  if (character_count(password) < kMinSystemPasswordLength) {
    err << "tovali-settings: "
        << fill(tr("the password needs at least {1} characters; nothing was changed"),
                {std::to_string(kMinSystemPasswordLength)})
        << '\n';
    return 1;
  }
  const auto hash = hash_password(password);
  if (!hash) {
    err << "tovali-settings: " << tr("the password cannot be hashed; nothing was changed") << '\n';
    return 1;
  }
  SystemSettingsEditor editor(text);
  editor.lock(keys::password_hash.name(), *hash);
  const int status = save(system_dir, editor, err);
  if (status == 0)
    out << fill(tr("The password is set in {1}"), {system_dir + kSystemSettingsFile}) << '\n';
  return status;
}

int lock(const std::string& system_dir, const std::string& key, const std::string& value,
         std::ostream& err) {
  // A refused name or value is a wrong call, told before anything is read.
  const CheckedValue checked = check_setting_value(key, value);
  if (checked.check != ValueCheck::Accepted) {
    err << "tovali-settings: " << checked.problem << '\n';
    return 2;
  }
  std::string text;
  if (!may_write(system_dir, err) || !read_for_edit(system_dir, text, err)) return 1;
  SystemSettingsEditor editor(text);
  editor.lock(key, value);
  return save(system_dir, editor, err);
}

int unlock(const std::string& system_dir, const std::string& key, std::ostream& err) {
  std::string text;
  if (!may_write(system_dir, err) || !read_for_edit(system_dir, text, err)) return 1;
  SystemSettingsEditor editor(text);
  if (editor.unlock(key) == 0) {
    err << "tovali-settings: "
        << fill(tr("{1} is not locked in {2}"), {key, system_dir + kSystemSettingsFile}) << '\n';
    return 0;
  }
  return save(system_dir, editor, err);
}

int show(const std::string& system_dir, std::ostream& out, std::ostream& err) {
  const SystemSettingsFile file = read_system_settings_file(system_dir);
  if (file.state == SystemFileRead::Unreadable) {
    err << "tovali-settings: "
        << fill(tr("{1} cannot be read ({2})"), {system_dir + kSystemSettingsFile, file.error})
        << '\n';
    return 1;
  }
  if (file.state == SystemFileRead::Missing) {
    err << "tovali-settings: "
        << fill(tr("{1} does not exist; nothing is locked"), {system_dir + kSystemSettingsFile})
        << '\n';
    return 0;
  }
  out << file.text;
  if (!file.text.empty() && file.text.back() != '\n' && file.text.back() != '\r') out << '\n';
  report_system_settings_problems(load_system_settings(system_dir).problems, err);
  return 0;
}

}  // namespace

int run_system_command(const std::vector<std::string>& args, const std::string& system_dir,
                       std::istream& in, PasswordPrompt prompt, std::ostream& out,
                       std::ostream& err) {
  const std::size_t n = args.size();
  const std::string command = n == 0 ? "" : args[0];
  if (command == "set-password" && n == 1) return set_password(system_dir, in, prompt, out, err);
  if (command == "lock" && n == 3) return lock(system_dir, args[1], args[2], err);
  if (command == "unlock" && n == 2) return unlock(system_dir, args[1], err);
  if (command == "show" && n == 1) return show(system_dir, out, err);
  err << tr(kSystemCallUsage);
  return 2;
}

SettingsTool::Command make_system_command(std::string system_dir) {
  return [system_dir = std::move(system_dir)](const std::vector<std::string>& args,
                                              std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0] != "set-password") {
      return run_system_command(args, system_dir, std::cin, PasswordPrompt::Hidden, out, err);
    }
    NoEcho no_echo;
    const PasswordPrompt prompt = no_echo.active() ? PasswordPrompt::Shown : PasswordPrompt::Hidden;
    return run_system_command(args, system_dir, std::cin, prompt, out, err);
  };
}

}  // namespace tovali
