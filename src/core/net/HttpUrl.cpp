#include "net/HttpUrl.h"

#include "base/TextList.h"

namespace tovali {

HttpUrlParts split_http_url(std::string_view url) {
  HttpUrlParts parts;
  std::string_view rest;
  const auto scheme_end = url.find("://");
  if (scheme_end != std::string_view::npos) {
    parts.scheme = std::string(url.substr(0, scheme_end));
    rest = url.substr(scheme_end + 3);
  } else if ((url.size() >= 1 && url[0] == '/' && (url.size() == 1 || url[1] != '/')) ||
             starts_with_ignore_case(url, "http:")) {
    parts.scheme = "http";
    if (starts_with_ignore_case(url, "http:")) url.remove_prefix(5);
    parts.path = std::string(url);
    return parts;
  } else {
    rest = url;
  }

  const auto path_start = rest.find('/');
  std::string_view authority = rest.substr(0, path_start);
  if (path_start != std::string_view::npos) parts.path = std::string(rest.substr(path_start));

  const auto at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view user_info = authority.substr(0, at);
    const auto colon = user_info.find(':');
    parts.user = std::string(user_info.substr(0, colon));
    if (colon != std::string_view::npos) parts.password = std::string(user_info.substr(colon + 1));
    authority = authority.substr(at + 1);
  }
  const auto colon = authority.rfind(':');
  if (colon != std::string_view::npos) {
    parts.port = std::string(authority.substr(colon + 1));
    authority = authority.substr(0, colon);
  }
  parts.host = std::string(authority);
  return parts;
}

bool is_dotted_ipv4(std::string_view host) {
  int fields = 0;
  while (true) {
    const auto dot = host.find('.');
    const std::string_view field = host.substr(0, dot);
    if (!all_digits(field) || field.size() > 3 || std::stoi(std::string(field)) > 255) return false;
    ++fields;
    if (dot == std::string_view::npos) break;
    host.remove_prefix(dot + 1);
  }
  return fields == 4;
}

int parse_port(std::string_view text) {
  if (!all_digits(text) || text.size() > 5) return 0;
  const int port = std::stoi(std::string(text));
  return (port >= 1 && port <= 65535) ? port : 0;
}

}  // namespace tovali
