#pragma once

#include <string_view>

#include "policy/LinkMetaData.h"
#include "policy/ParentLists.h"

namespace tovali {

// True when the link rules in force admit `url` (as the browser reports it):
// "FILE:", "JAVASCRIPT" and "ABOUT:BLANK" URLs always (the guard lets only
// the program's own local pages get this far); with an empty `URLNumber` an
// http(s) URL of the same domain (ExtractDomain) as an http(s)
// `CurrentSiteURL`; then prohibitions ("PU", "PS", "PT") before allowances ("AD", "AU", "AS",
// "AT"). Changes nothing. Time independent of the number of entries apart from a logarithmic term
// for the beginnings.
bool Allow_B_URL(const LinkMetaData& meta, std::string_view url);

// True when none of the parent's lists refuses `url`: the extension after
// the last "." of the whole URL, the domain (ExtractDomain, http(s) URLs
// only), the whole URL (and, for a URL ending in "/", the same two tests once
// more without that "/").
bool Cust_Allow_B_URL(const ParentLists& lists, std::string_view url);

// True when a refusal of `url` is to be silent (no message, no log). Always
// false while `URLNumber` is empty; otherwise "RES://" pages and the "SD"
// (http(s) URLs only) and "SS" entries of the current number.
bool SuppressProhibitedPanel(const LinkMetaData& meta, std::string_view url);

}  // namespace tovali
