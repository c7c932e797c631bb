#pragma once

#include <string>

#include "settings/ConfigStore.h"
#include "settings/ProhibitedLog.h"
#include "settings/Settings.h"

namespace tovali {

// Where the program keeps and finds things.
struct Locations {
  std::string ProgramDir;    // folder of the supplied pages, ending with "/"
  std::string settings_dir;  // folder of the settings copies, ending with "/"
  std::string system_dir;    // the administrator's folder, ending with "/"; "" for none
  std::string state_dir;  // folder of the refused-URL log and the generated pages, ending with "/"
  // folder of the page guard the engine loads into its web processes,
  // ending with "/"
  std::string page_guard_dir;
};

// What the start-up settings steps produce.
struct StartupState {
  Settings settings;
  // The store that read `settings`: later saves through it write only what
  // the program changed (ConfigStore::SaveConfig).
  ConfigStore store{std::string()};
  ProhibitedLog prohibited_log;
  std::string DefaultSiteBaseURL;
  std::string SiteBaseURL;
  std::string SitePath;
  // Copies that could not be written while starting; start-up goes on
  // regardless, and the window tells the parent.
  SaveReport save_failures;
  bool prohibited_log_unreadable = false;
  // What is wrong with the administrator's settings.conf ("" when nothing);
  // the program tells it on standard error and at setup.
  std::string system_settings_problems;
  // settings.conf exists but could not be read: the administrator's locks
  // are unknown, so the program keeps the kiosk closed (it opens no site)
  // and the settings hold the locks of kUnreadableSystemSettingsLocks.
  bool system_settings_unreadable = false;
};

// The locks in force while settings.conf cannot be read: closing the program
// and entering setup ask for the password, and no configuration is fetched.
inline constexpr const char* kUnreadableSystemSettingsLocks[] = {
    "req_pw_close=1", "req_pw_config=1", "download_config=0"};

// The fixed path below every site base.
inline constexpr const char* kSitePath = "/tovali/v200/group1";

// Runs the start-up settings steps in order: site defaults, the refused-URL
// log from state_dir + "prohurl.log", the administrator's locks from
// system_dir + "settings.conf" (kUnreadableSystemSettingsLocks when it
// exists but cannot be read), LoadConfig, the site list (only the
// lines whose names are missing), `welcome_done` "0" when the settings were
// made from the factory defaults and lack it, the default password unless `nopassword`
// is "1" (and the password is not locked). Saves where a step changed the settings. Never throws.
StartupState run_startup_settings_steps(const Locations& locations);

// The shutdown step: writes the refused-URL log into the state folder
// (created when missing), replacing the file. Returns false when that fails (the caller drops it).
bool save_prohibited_log(const Locations& locations, const ProhibitedLog& log);

// Creates the state folder (and its parents; a new one readable by the user
// alone). Returns false, with `error` set when given, when that fails.
bool create_state_dir(const Locations& locations, std::string* error = nullptr);

// The folder of the running executable (from /proc/self/exe), ending "/".
std::string executable_dir();

}  // namespace tovali
