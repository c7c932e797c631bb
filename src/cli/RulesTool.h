#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace tovali {

// The `tovali-rules` front end: what the link rules of a menu page admit,
// judged by the program's own code, and a check of the page's comments.
// It writes nothing: no refused-URL log, no settings.
class RulesTool {
 public:
  // Supplies the settings in force (called only by judge).
  using SettingsSource = std::function<Settings()>;

  explicit RulesTool(SettingsSource settings) : m_settings(std::move(settings)) {}

  // args: --help (-h) alone, or the command and its arguments (without the
  // program name); options are read only before the command. Exit status:
  // --help 0; judge 0; lint 1 when it warned, else 0; 2 for a wrong call
  // (what is wrong, an unknown option by name, then the usage on `err`) or
  // an unreadable file (named with the reason).
  int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

  static std::string usage();

 private:
  int judge(const std::string& menu_file, const std::string& link_url,
            const std::vector<std::string>& urls, std::ostream& out, std::ostream& err) const;
  int lint(const std::string& menu_file, std::ostream& out, std::ostream& err) const;

  SettingsSource m_settings;
};

}  // namespace tovali
