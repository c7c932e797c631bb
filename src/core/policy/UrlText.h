#pragma once

#include <string>
#include <string_view>

namespace tovali {

// The upper-case two-label domain of a URL: the host (text after the first
// "://", up to the first "/"; user name and port stay part of it),
// upper-cased; its last two dot-labels when it has more, else the host
// itself. A file URL with an empty host gives "".
std::string ExtractDomain(std::string_view url);

// The domain the guards judge a URL by: ExtractDomain of an "http://" or
// "https://" URL (any letter case), "" for every other URL. A URL of another
// scheme (view-source:, data:, blob:, file:, ...) has no domain, whatever it
// has written inside it.
std::string WebDomain(std::string_view url);

// WebDomain of an already upper-cased URL, as a view into it.
std::string_view web_domain_of_upper(std::string_view upper_url);

// True when `url` is the local page `page_url` (a "file://" URL as the
// browser reports it): the same text, apart from the letter case of the
// "file:" scheme and a "#fragment" after it. Query texts must match.
bool is_local_page(std::string_view url, std::string_view page_url);

// The URL without characters 5 to 7 when characters 8 to 10 are "://"
// ("HTTP001://x" and "HTTPNAV://x" become "HTTP://x"); otherwise unchanged.
std::string ModifyURL(std::string_view url);

// The link number carried by a menu link's scheme: characters 5 to 7 as
// written (fewer when the URL is shorter) when the URL begins "HTTP" but not
// "HTTP://" (any letter case); otherwise "".
std::string url_number_of(std::string_view url);

// True when the first prefix.size() characters of `text`, upper-cased (a-z
// only), equal `upper_prefix` (which must be upper-case).
bool begins_upper(std::string_view text, std::string_view upper_prefix);

// ExtractDomain of an already upper-cased URL, as a view into it.
std::string_view domain_of_upper(std::string_view upper_url);

// host_for_endings of an already upper-cased URL, as a view into it.
std::string_view endings_host_of_upper(std::string_view upper_url);

// The host that the host-ending rules look at: the URL upper-cased, without a
// leading "HTTP://", up to the first "/". Other schemes stay on it.
std::string host_for_endings(std::string_view url);

}  // namespace tovali
