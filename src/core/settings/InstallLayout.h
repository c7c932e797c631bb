#pragma once

#include <functional>
#include <string>

#include "settings/StartupSettings.h"

namespace tovali {

// The name of the folder the program owns below the shared data folder and
// below the user's state folder.
inline constexpr const char* kProgramFolderName = "tovali-explorer";

// The folder of the supplied pages ("welcome.html", "help.html",
// "setuphelp/setuphelp.html"), ending in "/": `executable_dir` +
// "../share/tovali-explorer/" (written without the "..") when
// `folder_exists` says that folder exists, as in an installed tree
// (/usr/bin next to /usr/share); otherwise `executable_dir` itself, as in the
// build folder. `executable_dir` is absolute and ends in "/".
std::string supplied_pages_dir(const std::string& executable_dir,
                               const std::function<bool(const std::string&)>& folder_exists);

// The folder of the page guard module ("tovali-page-guard.so"), ending in
// "/": `override_dir` when it is not empty (TOVALI_WEB_EXTENSIONS_DIR, for
// tests); else `executable_dir` + "../lib/tovali-explorer/web-extensions/"
// (written without the "..") when `folder_exists` says that folder exists, as
// in an installed tree; otherwise `executable_dir` + "web-extensions/", as in
// the build folder.
std::string page_guard_dir_for(const std::string& executable_dir, const std::string& override_dir,
                               const std::function<bool(const std::string&)>& folder_exists);

// The folder for the files the program writes ("prohurl.log", "error.html",
// "moresites.html"), ending in "/": `xdg_state_home` + "/tovali-explorer/"
// when that value is absolute, otherwise `home` + "/.local/state/tovali-explorer/"
// ("/tmp" stands in for an empty `home`). Pass the environment's values, ""
// for an unset variable.
std::string state_dir_for(const std::string& xdg_state_home, const std::string& home);

// The locations of the running program: supplied pages and the page guard
// from its executable's folder, the state folder from XDG_STATE_HOME and HOME, the settings folder
// from XDG_CONFIG_HOME and HOME, the administrator's folder from
// TOVALI_SYSTEM_DIR. Reads the environment and the file system;
// creates nothing.
Locations current_locations();

}  // namespace tovali
