#include "policy/AdmissionRules.h"

#include <string>

#include "base/TextList.h"
#include "policy/UrlText.h"

namespace tovali {

namespace {

void append_upper(std::string& to, std::string_view text) {
  const std::size_t at = to.size();
  to.append(text);
  // Branch-free, so that the compiler can work on many bytes at once.
  for (std::size_t i = at; i < to.size(); ++i) {
    const auto c = static_cast<unsigned char>(to[i]);
    to[i] = static_cast<char>(c ^ (static_cast<unsigned char>(c - 'a') < 26 ? 0x20 : 0));
  }
}

// (URLNumber + text) upper-cased.
std::string numbered_key(const std::string& url_number, std::string_view text) {
  std::string key;
  key.reserve(url_number.size() + text.size());
  append_upper(key, url_number);
  append_upper(key, text);
  return key;
}

// A URL without a web domain never matches a domain entry.
bool holds_numbered_domain(const HashedStringSet& set, const std::string& number,
                           std::string_view upper_domain) {
  return !upper_domain.empty() && !set.empty() && set.contains(numbered_key(number, upper_domain));
}

}  // namespace

bool Allow_B_URL(const LinkMetaData& meta, std::string_view url) {
  if (begins_upper(url, "FILE:") || begins_upper(url, "JAVASCRIPT") ||
      begins_upper(url, "ABOUT:BLANK")) {
    return true;
  }
  const std::string& number = meta.URLNumber();
  const std::string key = numbered_key(number, url);
  const std::string_view upper_url = std::string_view(key).substr(number.size());
  const std::string_view domain = web_domain_of_upper(upper_url);
  if (number.empty() && !domain.empty() && domain == meta.current_site_domain()) return true;

  const LinkRuleSet& rules = meta.rules();
  const bool whole_urls = !rules.ProhibitedURLs().empty() || !rules.AllowedURLs().empty();
  const std::uint64_t key_hash = whole_urls ? HashedStringSet::hash_of(key) : 0;
  if (rules.ProhibitedURLs().contains(key, key_hash)) return false;
  if (rules.ProhibitedURLPrefixes().any_prefix_of(key)) return false;
  const std::string_view host = endings_host_of_upper(upper_url);
  if (rules.ProhibitedHostSuffixes().matches(number, host)) return false;
  if (holds_numbered_domain(rules.AllowedDomains(), number, domain)) return true;
  if (rules.AllowedURLs().contains(key, key_hash)) return true;
  if (rules.AllowedURLPrefixes().any_prefix_of(key)) return true;
  return rules.AllowedHostSuffixes().matches(number, host);
}

bool Cust_Allow_B_URL(const ParentLists& lists, std::string_view url) {
  std::string upper;
  append_upper(upper, url);
  const std::string_view u(upper);
  if (!u.empty() && !lists.ext_set().empty()) {
    const std::size_t dot = u.rfind('.');
    if (dot != std::string_view::npos && lists.ext_set().contains(u.substr(dot + 1))) return false;
  }
  const std::string_view domain = web_domain_of_upper(u);
  if (!domain.empty() && !lists.domain_set().empty() && lists.domain_set().contains(domain)) {
    return false;
  }
  if (!lists.url_set().empty() && lists.url_set().contains(u)) return false;
  if (u.empty() || u.back() != '/') return true;
  // Once more without the final "/". The domain test need not be repeated:
  // the host ends at the first "/" after "://", so the shorter URL has the
  // same domain, or none when the "/" was one of "://".
  const std::string_view shorter = u.substr(0, u.size() - 1);
  return lists.url_set().empty() || !lists.url_set().contains(shorter);
}

bool SuppressProhibitedPanel(const LinkMetaData& meta, std::string_view url) {
  const std::string& number = meta.URLNumber();
  if (number.empty()) return false;
  if (begins_upper(url, "RES://")) return true;
  const LinkRuleSet& rules = meta.rules();
  if (rules.SilentDomains().empty() && rules.SilentURLPrefixes().empty()) return false;
  const std::string key = numbered_key(number, url);
  const std::string_view upper_url = std::string_view(key).substr(number.size());
  if (holds_numbered_domain(rules.SilentDomains(), number, web_domain_of_upper(upper_url))) {
    return true;
  }
  return rules.SilentURLPrefixes().any_prefix_of(key);
}

}  // namespace tovali
