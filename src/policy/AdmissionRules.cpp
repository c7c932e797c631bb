#include "policy/AdmissionRules.h"

#include <string>

#include "policy/UrlText.h"
#include "settings/TextList.h"

namespace tovali {

namespace {

// (URLNumber + text) upper-cased.
std::string numbered_key(const std::string& url_number, std::string_view text) {
  std::string key;
  key.reserve(url_number.size() + text.size());
  key.append(url_number);
  key.append(text);
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

bool parent_refuses(const ParentLists& lists, std::string_view url) {
  if (!lists.domain_set().empty() && lists.domain_set().contains(ExtractDomain(url))) return true;
  return !lists.url_set().empty() && lists.url_set().contains(upper_case(url));
}

}  // namespace

bool Allow_B_URL(const LinkMetaData& meta, std::string_view url) {
  if (begins_upper(url, "FILE:") || begins_upper(url, "JAVASCRIPT") ||
      begins_upper(url, "ABOUT:BLANK")) {
    return true;
  }
  const std::string& number = meta.URLNumber();
  if (number.empty() && ExtractDomain(url) == meta.CurrentSiteDomain()) return true;

  const LinkRuleSet& rules = meta.rules();
  const std::string key = numbered_key(number, url);
  if (rules.ProhibitedURLs().contains(key)) return false;
  if (rules.ProhibitedURLPrefixes().any_prefix_of(key)) return false;
  const bool endings = !rules.ProhibitedHostSuffixes().empty() ||
                       !rules.AllowedHostSuffixes().empty();
  const std::string host = endings ? host_for_endings(url) : std::string();
  if (rules.ProhibitedHostSuffixes().matches(number, host)) return false;
  if (!rules.AllowedDomains().empty() &&
      rules.AllowedDomains().contains(numbered_key(number, ExtractDomain(url)))) {
    return true;
  }
  if (rules.AllowedURLs().contains(key)) return true;
  if (rules.AllowedURLPrefixes().any_prefix_of(key)) return true;
  return rules.AllowedHostSuffixes().matches(number, host);
}

bool Cust_Allow_B_URL(const ParentLists& lists, std::string_view url) {
  if (!url.empty() && !lists.ext_set().empty()) {
    const std::size_t dot = url.rfind('.');
    if (dot != std::string_view::npos && lists.ext_set().contains(upper_case(url.substr(dot + 1)))) {
      return false;
    }
  }
  if (parent_refuses(lists, url)) return false;
  if (!url.empty() && url.back() == '/' && parent_refuses(lists, url.substr(0, url.size() - 1))) {
    return false;
  }
  return true;
}

bool SuppressProhibitedPanel(const LinkMetaData& meta, std::string_view url) {
  const std::string& number = meta.URLNumber();
  if (number.empty()) return false;
  if (begins_upper(url, "RES://")) return true;
  const LinkRuleSet& rules = meta.rules();
  if (!rules.SilentDomains().empty() &&
      rules.SilentDomains().contains(numbered_key(number, ExtractDomain(url)))) {
    return true;
  }
  return !rules.SilentURLPrefixes().empty() &&
         rules.SilentURLPrefixes().any_prefix_of(numbered_key(number, url));
}

}  // namespace tovali
