#pragma once

#include <string>
#include <string_view>

#include "base/Translate.h"
#include "models/SetupHost.h"
#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace tovali {

// Captions of the grown-up's welcome window.
inline constexpr const char* kWelcomeTitle = N_("Welcome, grown-up");
inline constexpr const char* kWelcomePasswordHeading = N_("Choose a password for grown-ups");
inline constexpr const char* kWelcomeNewPassword = N_("New password");
inline constexpr const char* kWelcomePasswordAgain = N_("Type it again");
inline constexpr const char* kWelcomeAskToClose =
    N_("Ask for the password to close Tovali Explorer");
inline constexpr const char* kWelcomeAskForSetup = N_("Ask for the password to open setup");
inline constexpr const char* kWelcomeSitesHeading = N_("Which sites may your child use?");
inline constexpr const char* kWelcomeOwnSites = N_("Sites I choose here");
inline constexpr const char* kWelcomeHomeSite = N_("The menu of a home site");
inline constexpr const char* kWelcomeDailyTime = N_("Daily time");
inline constexpr const char* kWelcomeDone = N_("Done");
inline constexpr const char* kWelcomeLater = N_("Later");

// The fewest characters a password chosen in the welcome may have.
inline constexpr std::size_t kWelcomeMinPasswordLength = 4;

inline constexpr const char* kWelcomePasswordTooShort =
    N_("The password needs at least 4 characters.");
inline constexpr const char* kWelcomeHomeSiteWrong =
    N_("Please type the address of the home site, beginning with http:// or https://");

// How the welcome was left: "Done" with answers written (HomeSiteChosen
// when they chose "The menu of a home site", whose configuration is then
// fetched once), or "Later".
enum class WelcomeResult { Done, HomeSiteChosen, Later };

// Which sites the child may use.
enum class WelcomeSites { OwnMenu, HomeSite };

// The parts of the welcome the parent may answer: a part the administrator
// keeps is shown greyed (false here).
struct WelcomeParts {
  bool password = true;       // false also when the administrator set `password_hash`
  bool ask_to_close = true;   // `req_pw_close`
  bool ask_for_setup = true;  // `req_pw_config`
  bool sites = true;          // `local_menu`, `download_config`, `num-sites`, `site-0`
  bool daily_time = true;     // `daily_minutes`
  bool any() const { return password || ask_to_close || ask_for_setup || sites || daily_time; }
};

// What the parent answered.
struct WelcomeAnswers {
  std::string new_password;
  std::string new_password_again;
  bool ask_to_close = true;
  bool ask_for_setup = true;
  WelcomeSites sites = WelcomeSites::OwnMenu;
  std::string home_site;      // with WelcomeSites::HomeSite
  std::string daily_minutes;  // "" for no limit
};

// Which parts of the welcome the settings leave to the parent.
WelcomeParts welcome_parts(const Settings& settings);

// True when the settings were made from the factory defaults and the welcome
// has not been completed (`welcome_done` is "0") and some part is open to the
// parent.
bool welcome_needed(const Settings& settings);

// The message that refuses `answers` for the open `parts` ("" when they may
// be written): a password shorter than kWelcomeMinPasswordLength or not the
// same twice, a home site that is not a web address, daily minutes outside
// the rules of `daily_minutes`.
std::string welcome_problem(const WelcomeParts& parts, const WelcomeAnswers& answers);

struct WelcomeOutcome {
  bool done = false;    // false: refused, nothing written
  std::string message;  // the refusal, or the save failure to tell ("" when none)
  SaveReport save;
  // How the dialog reports "Done": HomeSiteChosen when the sites part was
  // open and answered with the home site.
  WelcomeResult result = WelcomeResult::Later;
};

// "Done": when welcome_problem finds nothing, writes the open parts (the
// password through set_password, `req_pw_close`, `req_pw_config`, the sites:
// `local_menu` "1" and `download_config` "0", or `local_menu` "0",
// `download_config` "1", `num-sites` "1" and `site-0`; `daily_minutes`), sets `welcome_done` "1",
// saves and re-applies the controls, lists and daily limits.
WelcomeOutcome finish_welcome(SetupHost& host, const WelcomeAnswers& answers);

}  // namespace tovali
