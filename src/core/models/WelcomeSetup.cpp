#include "models/WelcomeSetup.h"

#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

std::string first_site_name() {
  return std::string(keys::site_prefix) + "0";
}

}  // namespace

WelcomeParts welcome_parts(const Settings& settings) {
  WelcomeParts parts;
  parts.password = !password_change_locked(settings);
  parts.ask_to_close = !settings.is_locked(keys::req_pw_close);
  parts.ask_for_setup = !settings.is_locked(keys::req_pw_config);
  parts.sites = !settings.is_locked(keys::local_menu) &&
                !settings.is_locked(keys::download_config) &&
                !settings.is_locked(keys::num_sites) && !settings.is_locked(first_site_name());
  parts.daily_time = !settings.is_locked(keys::daily_minutes);
  return parts;
}

bool welcome_needed(const Settings& settings) {
  return settings.has(keys::welcome_done) && settings.value(keys::welcome_done) == "0" &&
         welcome_parts(settings).any();
}

std::string welcome_problem(const WelcomeParts& parts, const WelcomeAnswers& answers) {
  if (parts.password) {
    const std::string password = single_line_value(answers.new_password);
    if (password.size() < kWelcomeMinPasswordLength) return kWelcomePasswordTooShort;
    if (password != single_line_value(answers.new_password_again)) return kNewPasswordsDiffer;
  }
  if (parts.sites && answers.sites == WelcomeSites::HomeSite) {
    const CheckedValue site = check_setting_value(first_site_name(), answers.home_site);
    if (site.check != ValueCheck::Accepted || site.value.empty()) return kWelcomeHomeSiteWrong;
  }
  if (parts.daily_time) {
    const CheckedValue minutes =
        check_setting_value(keys::daily_minutes.name(), answers.daily_minutes);
    if (minutes.check != ValueCheck::Accepted) return minutes.problem;
  }
  return {};
}

WelcomeOutcome finish_welcome(SetupHost& host, const WelcomeAnswers& answers) {
  WelcomeOutcome outcome;
  const WelcomeParts parts = welcome_parts(host.settings());
  outcome.message = welcome_problem(parts, answers);
  if (!outcome.message.empty()) return outcome;

  Settings& settings = host.settings();
  if (parts.password) {
    const std::string current = settings.value(keys::password);
    const PasswordChangeOutcome changed =
        set_password(host, current, answers.new_password, answers.new_password_again);
    if (changed.result != PasswordChangeResult::Changed) {
      outcome.message = changed.message;
      return outcome;
    }
  }
  if (parts.ask_to_close) settings.set_value(keys::req_pw_close, answers.ask_to_close ? "1" : "0");
  if (parts.ask_for_setup)
    settings.set_value(keys::req_pw_config, answers.ask_for_setup ? "1" : "0");
  if (parts.sites) {
    if (answers.sites == WelcomeSites::OwnMenu) {
      settings.set_value(keys::local_menu, "1");
      settings.set_value(keys::download_config, "0");
    } else {
      settings.set_value(keys::local_menu, "0");
      // The home site's configuration is how it becomes the site in use.
      settings.set_value(keys::download_config, "1");
      settings.set_value(keys::num_sites, "1");
      settings.set_value(first_site_name(),
                         check_setting_value(first_site_name(), answers.home_site).value);
    }
  }
  if (parts.daily_time) {
    settings.set_value(
        keys::daily_minutes,
        check_setting_value(keys::daily_minutes.name(), answers.daily_minutes).value);
  }
  settings.set_value(keys::welcome_done, "1");
  outcome.save = host.SaveConfig();
  if (!outcome.save.ok()) outcome.message = save_failure_message(outcome.save);
  host.UpdateControls();
  host.UpdateLists();
  host.update_daily_limits();
  outcome.done = true;
  outcome.result = parts.sites && answers.sites == WelcomeSites::HomeSite
                       ? WelcomeResult::HomeSiteChosen
                       : WelcomeResult::Done;
  return outcome;
}

}  // namespace tovali
