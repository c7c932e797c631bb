#include "policy/ParentLists.h"

#include "policy/UrlText.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

// A reserved example domain (RFC 2606): the navigation frame never shows it.
const char* const kBlockedNavDomain = "EXAMPLE.ORG";

// An empty entry only comes from a gap in the numbered keys (the setup
// dialog never stores one). It would refuse every URL with an empty host,
// the program's own local pages among them, so it takes no part in the
// tests.
TextList without_empty(const TextList& list) {
  TextList kept;
  for (const std::string& entry : list) {
    if (!entry.empty()) kept.push_back(entry);
  }
  return kept;
}

}  // namespace

// "www.badsite.co.uk", "http://badsite.co.uk/x" and "badsite.co.uk" all
// name the same site.
TextList prohibited_domains_of(const TextList& entries) {
  TextList domains;
  for (std::string_view entry : entries) {
    const std::size_t first = entry.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
      domains.emplace_back();
      continue;
    }
    entry = entry.substr(first, entry.find_last_not_of(" \t") + 1 - first);
    domains.push_back(ExtractDomain(entry));
  }
  return domains;
}

void LoadListValues(const Settings& settings, std::string_view count_key, std::string_view prefix,
                    LetterCase letter_case, TextList& list) {
  list = settings.list(count_key, prefix, letter_case);
}

ParentLists::ParentLists() : m_blocked_nav{kBlockedNavDomain}, m_blocked_nav_set(m_blocked_nav) {}

void ParentLists::UpdateLists(const Settings& settings) {
  LoadListValues(settings, keys::num_cust_prohibited_domains.name(), keys::cust_pd_prefix,
                 LetterCase::Upper, m_domains);
  LoadListValues(settings, keys::num_cust_prohibited_urls.name(), keys::cust_pu_prefix,
                 LetterCase::Upper, m_urls);
  LoadListValues(settings, keys::num_prohibited_file_exts.name(), keys::pext_prefix,
                 LetterCase::Upper, m_exts);
  m_domain_set = HashedStringSet(without_empty(prohibited_domains_of(m_domains)));
  m_url_set = HashedStringSet(without_empty(m_urls));
  m_ext_set = HashedStringSet(without_empty(m_exts));
}

}  // namespace tovali
