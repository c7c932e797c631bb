#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "settings/Settings.h"

namespace tovali {

// The one line of the local error page, CR LF ended, no markup.
std::string error_page_text();

// The "More Sites" page built from `num_moresites`, `ms_desc-N` and
// `ms_url-N`, every line CR LF ended; values are written as stored.
std::string more_sites_page_text(const Settings& settings);

// The program's own menu page, made from `num_menu_sites` with `mt-N`,
// `mu-N` and `md-N`, every line CR LF ended: per entry in order one big
// button, a link "HTTP" + (N+1 as three digits) + "://" + the address after
// its scheme, captioned with the title (the address when the title is
// empty), and the rule comments "<!--URLnnn:AD:domain-->" for the address's
// own domain (ExtractDomain) and each listed domain. Titles and addresses
// are HTML-escaped. An entry whose address is not http:// or https:// with
// a host, and any entry past link number 999, is left out; a listed domain
// with a character no host name has is left out.
std::string local_menu_page_text(const Settings& settings);

// The file name of that page in the state folder.
inline constexpr const char* kLocalMenuFileName = "menu.html";

// Writes the program's own menu page into the folder `dir` (ending in "/")
// and returns its path; nullopt when the file cannot be written.
std::optional<std::string> write_local_menu_page(const std::string& dir, const Settings& settings);

// The home menu page: `home_button_url` unless `default_home_location` is
// "1", else SiteBaseURL + SitePath + "/teindex.php3?" + kHomeQueryWord.
std::string home_site_url(const Settings& settings, const std::string& site_base_url,
                          const std::string& site_path);

// The query word the program sends to the home menu page.
inline constexpr const char* kHomeQueryWord = "menu";

// Creates or replaces `path` with `text` (bytes as given) in one step: a
// reader sees the old page or the new one, never a part. Returns false,
// with `error` set when given, when the file cannot be written.
bool write_page_file(const std::string& path, const std::string& text,
                     std::string* error = nullptr);

// Writes the error page into the folder `dir` (ending in "/") and returns its
// path, whether or not the write succeeded.
std::string write_error_page(const std::string& dir);

// Writes the "More Sites" page into the folder `dir` (ending in "/") and
// returns its path; nullopt when the file cannot be written (the caller then
// shows nothing).
std::optional<std::string> write_more_sites_page(const std::string& dir, const Settings& settings);

// The page shown in the main frame while the child's time is up, every line
// CR LF ended.
std::string time_up_page_text();

// The message of the time-up page.
inline constexpr const char* kTimeUpMessage = N_("Time is up for today. See you tomorrow!");

// Writes the time-up page into the folder `dir` (ending in "/") and returns
// its path; nullopt when the file cannot be written.
std::optional<std::string> write_time_up_page(const std::string& dir);

// The message shown in place of the menu while the administrator's
// settings.conf exists but cannot be read.
inline constexpr const char* kSettingsUnreadableMessage =
    N_("This computer's settings cannot be read. Please ask the administrator.");

// The page shown in the navigation frame in place of the menu while the
// administrator's settings cannot be read, every line CR LF ended.
std::string settings_unreadable_page_text();

// Writes that page into the folder `dir` (ending in "/") and returns its
// path, whether or not the write succeeded.
std::string write_settings_unreadable_page(const std::string& dir);

// The paths of the program's own pages: the supplied start page, local
// help and setup help in `program_dir` (with their copies in the session's
// language, supplied_page_path), the generated error, "More Sites",
// time-up, settings-unreadable and own menu pages in `state_dir` (both
// folders ending in "/").
std::vector<std::string> program_page_paths(const std::string& program_dir,
                                            const std::string& state_dir);

// The title of a page that reports a missing document: it contains
// "404 NOT FOUND" in any letter case.
bool title_reports_missing_page(const std::string& title);

// A status text that names one of the engine's internal pages ("RES://").
bool status_names_internal_page(const std::string& status_text);

}  // namespace tovali
