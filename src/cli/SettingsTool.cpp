#include "cli/SettingsTool.h"

#include <optional>
#include <ostream>

#include "base/Translate.h"
#include "cli/CommandLine.h"
#include "settings/SettingValues.h"
#include "settings/SystemSettings.h"

namespace tovali {

void SettingsTool::add_command(const std::string& name, const std::string& usage_line,
                               Command command) {
  m_extra[name] = {usage_line, std::move(command)};
}

void SettingsTool::set_system_command(const std::string& usage_lines, Command command) {
  m_system_usage = usage_lines;
  m_system_command = std::move(command);
}

std::string SettingsTool::usage() const {
  std::string text =
      tr("Usage: tovali-settings COMMAND [ARGUMENTS]\n"
         "Reads and writes the settings of Tovali Explorer for the current user.\n"
         "\n"
         "  list              print every settings line in force, in order\n"
         "  get KEY           print the value of KEY in force (exit status 1 when missing)\n"
         "  set KEY VALUE     write VALUE (an empty VALUE deletes KEY) and save; a switch\n"
         "                    takes 1/0, yes/no, true/false or on/off and is stored as 1/0\n"
         "  unset KEY         delete KEY and save\n"
         "  paths             print the three settings copies, '*' marking the one in use\n");
  for (const auto& [name, entry] : m_extra)
    text += "  " + std::string(tr(entry.first.c_str())) + "\n";
  if (m_system_command) text += "  " + std::string(tr(m_system_usage.c_str())) + "\n";
  text += tr("  --help            show this text\n");
  return text;
}

int SettingsTool::run(const std::vector<std::string>& args, std::ostream& out,
                      std::ostream& err) const {
  const auto wrong_call = [&]() {
    err << usage();
    return 2;
  };
  bool help = false;
  bool system = false;
  CommandLine line("tovali-settings");
  line.add_switch("help", 'h', &help);
  if (m_system_command) line.add_switch("system", 0, &system);
  std::string problem;
  const std::optional<std::vector<std::string>> rest = line.parse(args, problem);
  if (!rest) {
    err << "tovali-settings: " << problem << '\n';
    return wrong_call();
  }
  const std::size_t n = rest->size();
  if (help) {
    if (n != 0 || system) return wrong_call();
    out << usage();
    return 0;
  }
  if (n == 0) return wrong_call();
  if (system) return m_system_command(*rest, out, err);
  const std::string& command = (*rest)[0];
  if (command == "help" && n == 1) {
    out << usage();
    return 0;
  }
  if (command == "list" && n == 1) return list(out, err);
  if (command == "get" && n == 2) return get((*rest)[1], out, err);
  if (command == "set" && n == 3) return write((*rest)[1], (*rest)[2], err);
  if (command == "unset" && n == 2) return write((*rest)[1], "", err);
  if (command == "paths" && n == 1) return paths(out);
  const auto extra = m_extra.find(command);
  if (extra != m_extra.end()) {
    return extra->second.second(std::vector<std::string>(rest->begin() + 1, rest->end()), out, err);
  }
  return wrong_call();
}

void report_system_settings_problems(const std::string& problems, std::ostream& err) {
  for (std::size_t from = 0; from < problems.size();) {
    const auto end = problems.find('\n', from);
    err << "tovali-settings: " << problems.substr(from, end - from) << '\n';
    from = end == std::string::npos ? problems.size() : end + 1;
  }
}

Settings SettingsTool::read(std::ostream& err, SystemFileState* system_state) const {
  SystemSettingsLoad system = load_system_settings(m_system_dir);
  report_system_settings_problems(system.problems, err);
  if (system_state) {
    *system_state = system.unreadable ? SystemFileState::Unreadable : SystemFileState::Read;
  }
  Settings settings;
  settings.set_locked(std::move(system.locked));
  m_store.read_config(settings);
  return settings;
}

int SettingsTool::list(std::ostream& out, std::ostream& err) const {
  const Settings settings = read(err);
  for (const auto& line : settings.lines_in_force()) out << line << '\n';
  return 0;
}

int SettingsTool::get(const std::string& key, std::ostream& out, std::ostream& err) const {
  const Settings settings = read(err);
  if (!settings.has(key)) return 1;
  out << settings.value(key) << '\n';
  return 0;
}

int SettingsTool::write(const std::string& key, const std::string& value, std::ostream& err) const {
  if (key.empty() || key.find('=') != std::string::npos) {
    err << "tovali-settings: " << tr("a key is a non-empty name without \"=\"") << '\n';
    return 2;
  }
  const CheckedValue checked = check_setting_value(key, value);
  if (checked.check == ValueCheck::WrongForm) {
    err << "tovali-settings: " << checked.problem << '\n';
    return 2;
  }
  SystemFileState system_state = SystemFileState::Read;
  Settings settings = read(err, &system_state);
  // A line of a name the program does not know (left by an older version or
  // a download) may still be deleted; nothing else is done with such a name.
  const bool deletes_stored_line = value.empty() && Settings(settings.lines()).has(key);
  if (checked.check == ValueCheck::UnknownName && !deletes_stored_line) {
    err << "tovali-settings: " << checked.problem << '\n';
    return 2;
  }
  if (system_state == SystemFileState::Unreadable) {
    err << "tovali-settings: "
        << fill(tr("the administrator's {1} cannot be read, so no setting can be changed until "
                   "it is mended"),
                {m_system_dir + kSystemSettingsFile})
        << '\n';
    return 1;
  }
  if (settings.is_locked(key)) {
    err << "tovali-settings: "
        << fill(tr("{1} is set by the administrator in {2} and cannot be changed here"),
                {key, m_system_dir + kSystemSettingsFile})
        << '\n';
    return 1;
  }
  settings.set_value(key, checked.check == ValueCheck::Accepted ? checked.value : value);
  const auto report = m_store.SaveConfig(settings);
  for (const auto& failure : report.failures) {
    err << "tovali-settings: "
        << fill(tr("could not save {1}: {2}"), {failure.path, failure.reason}) << '\n';
  }
  return report.ok() ? 0 : 1;
}

int SettingsTool::paths(std::ostream& out) const {
  const int used = m_store.first_usable_copy();
  const auto paths = m_store.copy_paths();
  for (int i = 0; i < 3; ++i) {
    out << (i == used ? "* " : "  ") << paths[static_cast<std::size_t>(i)] << '\n';
  }
  return 0;
}

}  // namespace tovali
