#include "policy/UrlText.h"

#include "base/TextList.h"

namespace tovali {

std::string_view domain_of_upper(std::string_view rest) {
  const std::size_t scheme_end = rest.find("://");
  if (scheme_end != std::string_view::npos) rest.remove_prefix(scheme_end + 3);
  const std::size_t slash = rest.find('/');
  if (slash != std::string_view::npos) rest = rest.substr(0, slash);
  const std::size_t last_dot = rest.rfind('.');
  if (last_dot == std::string_view::npos || last_dot == 0) return rest;
  const std::size_t earlier_dot = rest.rfind('.', last_dot - 1);
  if (earlier_dot == std::string_view::npos) return rest;
  return rest.substr(earlier_dot + 1);
}

std::string ExtractDomain(std::string_view url) {
  // Only the host is upper-cased; the rest of the URL does not matter.
  std::string_view rest = url;
  const std::size_t scheme_end = rest.find("://");
  if (scheme_end != std::string_view::npos) rest.remove_prefix(scheme_end + 3);
  const std::size_t slash = rest.find('/');
  if (slash != std::string_view::npos) rest = rest.substr(0, slash);
  return std::string(domain_of_upper(upper_case(rest)));
}

std::string_view web_domain_of_upper(std::string_view upper_url) {
  if (upper_url.substr(0, 7) != "HTTP://" && upper_url.substr(0, 8) != "HTTPS://") return {};
  return domain_of_upper(upper_url);
}

std::string WebDomain(std::string_view url) {
  if (!begins_upper(url, "HTTP://") && !begins_upper(url, "HTTPS://")) return std::string();
  return ExtractDomain(url);
}

bool is_local_page(std::string_view url, std::string_view page_url) {
  constexpr std::string_view kScheme = "FILE:";
  if (!begins_upper(url, kScheme) || !begins_upper(page_url, kScheme)) return false;
  const std::size_t hash = url.find('#');
  if (hash != std::string_view::npos) url = url.substr(0, hash);
  return url.substr(kScheme.size()) == page_url.substr(kScheme.size());
}

std::string ModifyURL(std::string_view url) {
  if (url.size() >= 10 && url.substr(7, 3) == "://") {
    std::string result(url.substr(0, 4));
    result.append(url.substr(7));
    return result;
  }
  return std::string(url);
}

std::string url_number_of(std::string_view url) {
  if (begins_upper(url, "HTTP") && !begins_upper(url, "HTTP://")) {
    return std::string(url.substr(4, 3));
  }
  return std::string();
}

bool begins_upper(std::string_view text, std::string_view upper_prefix) {
  if (text.size() < upper_prefix.size()) return false;
  for (std::size_t i = 0; i < upper_prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper_prefix[i]) return false;
  }
  return true;
}

std::string_view endings_host_of_upper(std::string_view rest) {
  if (rest.substr(0, 7) == "HTTP://") rest.remove_prefix(7);
  const std::size_t slash = rest.find('/');
  if (slash != std::string_view::npos) rest = rest.substr(0, slash);
  return rest;
}

std::string host_for_endings(std::string_view url) {
  return std::string(endings_host_of_upper(upper_case(url)));
}

}  // namespace tovali
