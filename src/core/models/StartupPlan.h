#pragma once

#include <optional>
#include <string>

#include "base/Translate.h"
#include "settings/Settings.h"

namespace tovali {

// The program's own version number for the `program-version` comparison.
inline constexpr int kOwnProgramVersion = 200;

// The maker's web address named in the update notice.
inline constexpr const char* kMakerWebAddress = "http://www.tovali.example.org";

inline constexpr const char* kLoadingMessage =
    N_("Welcome To Tovali Explorer!") " \r\r\r" N_("Loading configuration...");

// What the first page of the main frame is.
enum class FirstPageKind {
  StartPage,  // the program's start page (a local file path)
  Site,       // a site, opened under link number 001 admitting its domain
};

// The first page of the main frame once the connection check has ended.
struct FirstMainPage {
  std::string url;
  FirstPageKind kind = FirstPageKind::StartPage;
};

// `load_main_default` "1": the start page; otherwise the site
// `load_main_url`.
FirstMainPage choose_first_main_page(const Settings& settings, const std::string& program_dir);

// The start page in the folder of the supplied pages.
std::string start_page_path(const std::string& program_dir);

// "Please update ..." when `program-version` (0 when missing or malformed)
// is above kOwnProgramVersion; nullopt otherwise.
std::optional<std::string> update_notice(const Settings& settings);

// "Version " + the program's version ("2.0.0.7").
std::string version_label_text();

}  // namespace tovali
