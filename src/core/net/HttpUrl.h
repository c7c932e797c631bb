#pragma once

#include <string>
#include <string_view>

namespace tovali {

// The pieces of a URL as the HTTP client reads them.
struct HttpUrlParts {
  std::string scheme;
  std::string user;
  std::string password;
  std::string host;
  std::string port;  // "" when the URL names none
  std::string path;  // "" when the URL has none
};

// Splits a URL: the scheme is the text before the first "://". A URL without
// "://" that begins with a single "/" or with "http:" (any case) is a path
// only (scheme "http", no host); any other starts with its authority. The
// path begins at the first "/" after the scheme. In the authority the last
// "@" ends the user information (split at its first ":" into user and
// password) and the last ":" after it starts the port.
HttpUrlParts split_http_url(std::string_view url);

// True for a dotted IPv4 address ("127.0.0.1"): four decimal numbers of at
// most 255. Such a host needs no lookup.
bool is_dotted_ipv4(std::string_view host);

// Parses a port text: decimal digits only, 1..65535. Returns 0 otherwise.
int parse_port(std::string_view text);

}  // namespace tovali
