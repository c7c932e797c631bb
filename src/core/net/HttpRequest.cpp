#include "net/HttpRequest.h"

#include <cstdio>

#include "base/TextList.h"
#include "net/Base64.h"
#include "net/HttpUrl.h"

namespace tovali {

namespace {

// Day of the week, 0 = Monday, for a date of the Gregorian calendar.
int weekday_from_monday(int year, int month, int day) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  const int sunday_based =
      (year + year / 4 - year / 100 + year / 400 + kOffsets[(month - 1) % 12] + day) % 7;
  // C++ remainders keep the sign: a negative year or day must still name a
  // day of the table.
  return ((sunday_based + 6) % 7 + 7) % 7;
}

HttpTransport transport_for(const std::string& scheme) {
  return equals_ignore_case(scheme, "https") ? HttpTransport::Tls : HttpTransport::Plain;
}

std::string default_port(HttpTransport transport) {
  return transport == HttpTransport::Tls ? "443" : "80";
}

// What follows GET: the path alone when the server itself reads the request
// (directly, or inside a tunnel), the absolute URL when a proxy does.
std::string request_path_for(const HttpTarget& target, const std::string& path) {
  if (target.connection == HttpConnection::Direct || target.transport == HttpTransport::Tls) {
    return path;
  }
  return target.scheme + "://" + target.TargetHost +
         (target.TargetPort.empty() ? "" : ":" + target.TargetPort) + path;
}

bool tunnelled(const HttpTarget& target) {
  return target.connection == HttpConnection::ThroughProxy &&
         target.transport == HttpTransport::Tls;
}

}  // namespace

HttpTarget make_http_target(HttpCliConfig& config) {
  const HttpUrlParts url = split_http_url(config.URL);
  HttpTarget target;
  target.TargetHost = url.host;
  target.scheme = url.scheme.empty() ? std::string("http") : url.scheme;
  target.TargetPort = url.port;
  target.transport = transport_for(target.scheme);
  if (config.Proxy.empty()) {
    target.ConnectHost = url.host;
    target.ConnectPort = url.port.empty() ? default_port(target.transport) : url.port;
  } else {
    target.connection = HttpConnection::ThroughProxy;
    const HttpUrlParts proxy = split_http_url(config.Proxy);
    target.ConnectHost = proxy.host;
    target.ConnectPort = proxy.port.empty() ? config.ProxyPort : proxy.port;
  }
  target.RequestPath = request_path_for(target, url.path);
  if (!url.user.empty()) config.Username = url.user;
  if (!url.password.empty()) config.Password = url.password;
  if (target.RequestPath.empty()) target.RequestPath = "/";
  return target;
}

void apply_relocation(HttpTarget& target, std::string_view location) {
  std::string path;
  if (!location.empty() && location[0] == '/') {
    path = std::string(location);
  } else {
    const HttpUrlParts url = split_http_url(location);
    target.scheme = url.scheme.empty() ? std::string("http") : url.scheme;
    target.transport = transport_for(target.scheme);
    target.TargetHost = url.host;
    target.TargetPort = url.port;
    path = url.path;
    if (target.connection == HttpConnection::Direct) {
      target.ConnectHost = url.host;
      target.ConnectPort = url.port.empty() ? default_port(target.transport) : url.port;
    }
  }
  if (path.empty()) path = "/";
  target.RequestPath = request_path_for(target, path);
}

bool is_tls_downgrade(const HttpTarget& target, std::string_view location) {
  if (target.transport != HttpTransport::Tls) return false;
  if (!location.empty() && location[0] == '/') return false;
  return transport_for(split_http_url(location).scheme) != HttpTransport::Tls;
}

std::string tunnel_authority(const HttpTarget& target) {
  return target.TargetHost + ":" +
         (target.TargetPort.empty() ? default_port(HttpTransport::Tls) : target.TargetPort);
}

std::string build_connect_request(const HttpCliConfig& config, const HttpTarget& target) {
  const std::string authority = tunnel_authority(target);
  std::string request = "CONNECT " + authority + " HTTP/1.0\r\n";
  if (!config.Agent.empty()) request += "User-Agent: " + config.Agent + "\r\n";
  request += "Host: " + authority + "\r\n";
  if (!config.ProxyUsername.empty()) {
    request += "Proxy-Authorization: Basic " +
               base64_encode(config.ProxyUsername + ":" + config.ProxyPassword) + "\r\n";
  }
  return request + "\r\n";
}

std::string format_http_date(const HttpDateTime& when) {
  static constexpr char kDays[] = "MonTueWedThuFriSatSun";
  static constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const int month = (when.month >= 1 && when.month <= 12) ? when.month : 1;
  const int weekday = weekday_from_monday(when.year, month, when.day);
  char text[64];
  std::snprintf(text, sizeof text, "%.3s, %2.2d %.3s %4.4d %2.2d:%2.2d:%2.2d", kDays + 3 * weekday,
                when.day, kMonths + 3 * (month - 1), when.year, when.hour, when.minute,
                when.second);
  return text;
}

std::string build_get_request(HttpCliConfig& config, const HttpTarget& target) {
  std::string request;
  const auto line = [&request](const std::string& text) { request += text + "\r\n"; };
  line("GET " + target.RequestPath + " HTTP/1.0");
  if (!config.Sender.empty()) line("From: " + config.Sender);
  if (!config.Accept.empty()) line("Accept: " + config.Accept);
  if (!config.Reference.empty()) line("Referer: " + config.Reference);
  if (!config.Agent.empty()) line("User-Agent: " + config.Agent);
  line("Host: " + target.TargetHost);
  if (config.NoCache) line("Pragma: no-cache");
  if (config.ModifiedSince)
    line("If-Modified-Since: " + format_http_date(*config.ModifiedSince) + " GMT");
  if (!config.Username.empty()) {
    line("Authorization: Basic " + base64_encode(config.Username + ":" + config.Password));
  }
  if (target.connection == HttpConnection::ThroughProxy && !tunnelled(target) &&
      !config.ProxyUsername.empty()) {
    line("Proxy-Authorization: Basic " +
         base64_encode(config.ProxyUsername + ":" + config.ProxyPassword));
  }
  if (!config.Cookie.empty()) line("Cookie: " + config.Cookie);
  if (!config.ContentRangeBegin.empty() || !config.ContentRangeEnd.empty()) {
    line("Range: bytes=" + config.ContentRangeBegin + "-" + config.ContentRangeEnd);
    config.ContentRangeBegin.clear();
    config.ContentRangeEnd.clear();
  }
  request += "\r\n";
  return request;
}

}  // namespace tovali
