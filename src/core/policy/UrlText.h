#pragma once

#include <string>
#include <string_view>

namespace tovali {

// The upper-case domain of a URL, the site it belongs to. The host is the
// text after the first "://" (all of the URL when it has none) up to the
// first "/", "?" or "#", without a user name ("...@"); the domain is its
// registrable domain under the installed Public Suffix List
// (public_suffix_list): "BBC.CO.UK" for www.bbc.co.uk, "EXAMPLE.COM" for
// a.b.example.com, "SOMEONE.GITHUB.IO" for x.someone.github.io. A written
// port stays attached ("EXAMPLE.COM:8080"). A host without a registrable
// domain is its own domain, whole: an IP address ("127.0.0.1", "[::1]"), a
// single label ("LOCALHOST"), a public suffix itself ("CO.UK"), a name with
// an empty label or a character no host name has. A file URL with an empty
// host gives "". Costs one look-up in the list.
std::string ExtractDomain(std::string_view url);

// True when `domain` (a host name in any letter case, a port may follow) is
// itself a public suffix of two or more labels ("co.uk", "github.io",
// "b.ck"): the domain of no site, only of the bare suffix. Single labels
// ("localhost", "com") and IP addresses are not.
bool is_public_suffix(std::string_view domain);

// The domain the guards judge a URL by: ExtractDomain of an "http://" or
// "https://" URL (any letter case), "" for every other URL. A URL of another
// scheme (view-source:, data:, blob:, file:, ...) has no domain, whatever it
// has written inside it.
std::string web_domain(std::string_view url);

// web_domain of an already upper-cased URL, as a view into it.
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
