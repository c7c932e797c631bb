#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "activity/ActivityRecord.h"
#include "base/Translate.h"
#include "settings/Settings.h"

namespace tovali {

// The button that the message panel shows beside a refusal the child can ask
// a grown-up about, and the dialog that follows the right password.
inline constexpr const char* kAskGrownUpCaption = N_("Ask a grown-up");
inline constexpr const char* kAllowSiteCaption = N_("Allow this site?");
inline constexpr const char* kJustThisTimeCaption = N_("Just this time");
inline constexpr const char* kAlwaysCaption = N_("Always");
inline constexpr const char* kNotNowCaption = N_("Not now");

// What the grown-up chose in "Allow this site?".
enum class AllowSiteChoice { JustThisTime, Always, NotNow };

// True when `message` is one of the two refusals the child can ask a grown-up
// about: a clicked link or a redirect that is not enabled. Every other
// message (a refused new window, printing, ...) offers nothing.
bool message_offers_grown_up_request(std::string_view message);

// The host a refused URL is shown and described under: the text after "://"
// up to the first "/", "?" or "#", without a user name and port, in lower
// case. "" when the URL has no "://" or no host.
std::string request_host(std::string_view url);

// The heading of "Allow this site?" for `url`: its host (request_host), which
// the dialog shows first and large, or "an address without a site name"
// when it has none.
std::string allow_site_heading(std::string_view url);

// The line above the address in "Allow this site?".
inline constexpr const char* kAllowSiteIntro = N_("The child asks to open this address:");

// What the activity record keeps of a request: the grown-up's choice, or
// NoAnswer when the password prompt was cancelled.
RequestAnswer answer_for(std::optional<AllowSiteChoice> choice);

// Whether "Always" could write the "More Sites" list.
enum class MoreSitesWrite { Added, AlreadyListed, Locked };

// "Always": adds `url` to the "More Sites" list in `settings` with its host
// as the description (the URL itself when it has none), in the grid's first
// empty row or after the last one, as the setup dialog stores it. A URL the
// list already holds (exactly) is not added twice. The list is left alone
// when the administrator locked any of its keys. The caller saves.
MoreSitesWrite add_allowed_site(Settings& settings, std::string_view url);

}  // namespace tovali
