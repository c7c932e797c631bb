#pragma once

#include <string>
#include <string_view>

#include "net/HttpCliConfig.h"

namespace tovali {

enum class HttpConnection { Direct, ThroughProxy };

// Whether the document's server is spoken to in the clear or over TLS.
enum class HttpTransport { Plain, Tls };

// The target of one request as worked out from URL and Proxy.
struct HttpTarget {
  std::string TargetHost;   // sent in the Host line
  std::string ConnectHost;  // what the socket connects to
  std::string ConnectPort;
  std::string RequestPath;  // what follows the method in the request line
  HttpConnection connection = HttpConnection::Direct;
  std::string scheme = "http";  // of the document's URL
  std::string TargetPort;       // port named in the document's URL, or ""
  // Tls for an "https" URL (any case). Through a proxy, a Tls target is
  // reached through a CONNECT tunnel, and its RequestPath is the path alone.
  HttpTransport transport = HttpTransport::Plain;
};

// "host:port" of a CONNECT request for `target` (port 443 when the URL names
// none).
std::string tunnel_authority(const HttpTarget& target);

// The CONNECT request that opens a tunnel through the proxy to the target,
// with the proxy credentials when ProxyUsername is set.
std::string build_connect_request(const HttpCliConfig& config, const HttpTarget& target);

// True when following `location` from `target` would leave TLS: the target
// is https and the location names a host without the "https" scheme. A
// location beginning with "/" stays on the same secure server.
bool is_tls_downgrade(const HttpTarget& target, std::string_view location);

// Works out the target of a GET of `config.URL`. A user or password in the
// URL replaces `config.Username` / `config.Password`. An empty path is "/".
// An "https" URL without a port connects to port 443.
HttpTarget make_http_target(HttpCliConfig& config);

// Follows a Location value. A value beginning with "/" is a new path on the
// same host and port; any other is split by the URL rules and names a new
// host (and port: "80" when it names none). Through a proxy the request line
// carries the full new URL and the proxy stays the connection target.
void apply_relocation(HttpTarget& target, std::string_view location);

// The complete GET request: request line, the optional lines in their fixed
// order, each ended by CR LF, then an empty line. The Host line carries the
// host alone. Clears ContentRangeBegin/End when a Range line was sent. Inside
// a tunnel the proxy's credentials are not sent (CONNECT carried them).
std::string build_get_request(HttpCliConfig& config, const HttpTarget& target);

// "Wed, 09 Dec 2026 08:05:03" style date of the If-Modified-Since line.
std::string format_http_date(const HttpDateTime& when);

}  // namespace tovali
