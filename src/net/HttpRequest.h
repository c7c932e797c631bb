#pragma once

#include <string>
#include <string_view>

#include "net/HttpCliConfig.h"

namespace tovali {

enum class HttpConnection { Direct, ThroughProxy };

// The target of one request as worked out from URL and Proxy.
struct HttpTarget {
  std::string TargetHost;   // sent in the Host line
  std::string ConnectHost;  // what the socket connects to
  std::string ConnectPort;
  std::string RequestPath;  // what follows the method in the request line
  HttpConnection connection = HttpConnection::Direct;
  std::string scheme = "http";  // of the document's URL
  std::string TargetPort;       // port named in the document's URL, or ""
};

// Works out the target of a GET of `config.URL`. A user or password in the
// URL replaces `config.Username` / `config.Password`. An empty path is "/".
HttpTarget make_http_target(HttpCliConfig& config);

// Follows a Location value. A value beginning with "/" is a new path on the
// same host and port; any other is split by the URL rules and names a new
// host (and port: "80" when it names none). Through a proxy the request line
// carries the full new URL and the proxy stays the connection target.
void apply_relocation(HttpTarget& target, std::string_view location);

// The complete GET request: request line, the optional lines in their fixed
// order, each ended by CR LF, then an empty line. The Host line carries the
// host alone. Clears ContentRangeBegin/End when a Range line was sent.
std::string build_get_request(HttpCliConfig& config, const HttpTarget& target);

// "Wed, 09 Dec 2026 08:05:03" style date of the If-Modified-Since line.
std::string format_http_date(const HttpDateTime& when);

}  // namespace tovali
