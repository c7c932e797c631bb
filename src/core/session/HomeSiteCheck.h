#pragma once

#include <string>

#include "base/Translate.h"
#include "config/RemoteConfig.h"

namespace tovali {

inline constexpr const char* kHomeSiteAnswered =
    N_("The home site answered: its settings are in use and its menu opens now.");
inline constexpr const char* kHomeSiteSilent =
    N_("The home site did not answer. Until it does, the menu frame shows an error page. Its "
       "address can be changed in setup.");

// What the grown-up is told after the welcome fetched the chosen home site's
// configuration once: kHomeSiteAnswered when a document was applied, else
// kHomeSiteSilent followed by one line per refusal (why a secure site or a
// signature was not trusted).
std::string home_site_check_message(const RemoteConfigResult& result);

}  // namespace tovali
