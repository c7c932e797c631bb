#include "policy/UrlText.h"

#include "base/TextList.h"
#include "policy/PublicSuffixList.h"

namespace tovali {

namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Letters, digits, "-", "_" and the bytes of non-ASCII characters: what a
// host name (or its IDN form in UTF-8) is made of, besides its dots.
bool is_name_character(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || is_digit(c) || c == '-' || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Where the port (":" and digits, after any "]" of an IPv6 address) begins in
// `host`; its size when it has none.
std::size_t port_start(std::string_view host) {
  const std::size_t colon = host.rfind(':');
  if (colon == std::string_view::npos || host.find(']', colon) != std::string_view::npos) {
    return host.size();
  }
  for (std::size_t i = colon + 1; i < host.size(); ++i) {
    if (!is_digit(host[i])) return host.size();
  }
  return colon;
}

// True when the Public Suffix List is asked about the host name `name`: two
// or more non-empty labels of host name characters, the last one not all
// digits. IP addresses (a last label of digits, or "[" for IPv6), single
// labels and names with an empty label or another character are not.
bool has_suffix_labels(std::string_view name) {
  const std::size_t last_dot = name.rfind('.');
  if (last_dot == std::string_view::npos || name.front() == '.' || name.back() == '.') return false;
  bool numeric_last_label = true;
  for (std::size_t i = last_dot + 1; i < name.size(); ++i) numeric_last_label &= is_digit(name[i]);
  if (numeric_last_label) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '.' ? name[i - 1] == '.' : !is_name_character(name[i])) return false;
  }
  return true;
}

// The last host name this thread looked up and the answer: one judgement asks
// for the domain of the same URL up to three times.
struct LastLookUp {
  const PublicSuffixList* list = nullptr;
  std::string name;
  std::size_t start = 0;
};

// Where the domain begins in the host name `name`: at its registrable domain
// when it has one, otherwise at 0 (the whole name is its own domain).
std::size_t domain_start(std::string_view name) {
  thread_local LastLookUp last;
  const PublicSuffixList& list = public_suffix_list();
  if (last.list == &list && last.name == name) return last.start;
  std::size_t start = 0;
  if (has_suffix_labels(name)) {
    start = list.registrable_domain_start(name);
    if (start == std::string_view::npos) start = 0;
  }
  last.list = &list;
  last.name.assign(name);
  last.start = start;
  return start;
}

// The authority of a URL: the text after its first "://" (all of it when it
// has none) up to the first "/", "?" or "#".
std::string_view authority_of(std::string_view url) {
  const std::size_t scheme_end = url.find("://");
  if (scheme_end != std::string_view::npos) url.remove_prefix(scheme_end + 3);
  std::size_t end = 0;
  while (end < url.size() && url[end] != '/' && url[end] != '?' && url[end] != '#') ++end;
  return url.substr(0, end);
}

}  // namespace

std::string_view domain_of_upper(std::string_view upper_url) {
  std::string_view host = authority_of(upper_url);
  const std::size_t at = host.rfind('@');
  if (at != std::string_view::npos) host.remove_prefix(at + 1);
  return host.substr(domain_start(host.substr(0, port_start(host))));
}

bool is_public_suffix(std::string_view domain) {
  const std::string_view name = domain.substr(0, port_start(domain));
  return has_suffix_labels(name) &&
         public_suffix_list().registrable_domain_start(name) == std::string_view::npos;
}

std::string ExtractDomain(std::string_view url) {
  // Only the authority is upper-cased; the rest of the URL does not matter.
  return std::string(domain_of_upper(upper_case(authority_of(url))));
}

std::string_view web_domain_of_upper(std::string_view upper_url) {
  if (upper_url.substr(0, 7) != "HTTP://" && upper_url.substr(0, 8) != "HTTPS://") return {};
  return domain_of_upper(upper_url);
}

std::string web_domain(std::string_view url) {
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
