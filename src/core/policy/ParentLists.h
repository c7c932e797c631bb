#pragma once

#include "base/TextList.h"
#include "policy/HashedStringSet.h"
#include "settings/Settings.h"

namespace tovali {

// Fills `list` from counted settings keys: `count_key` gives the number n,
// entries are prefix+"0" .. prefix+(n-1) (missing ones read as "", kept),
// upper-cased when asked. A missing, non-numeric or non-positive count gives
// an empty list.
void LoadListValues(const Settings& settings, std::string_view count_key, std::string_view prefix,
                    LetterCase letter_case, TextList& list);

// The domains the parent's prohibited-domain entries name, one per entry in
// order: a host below a site or a whole URL stands for the site's domain
// (ExtractDomain), spaces around an entry aside; "" for a blank entry.
TextList prohibited_domains_of(const TextList& entries);

// The parent's lists (prohibited domains, URLs and file extensions, all
// upper-case) and the built-in list of domains the navigation frame never
// loads.
class ParentLists {
 public:
  ParentLists();

  // Reloads the three parent lists from `settings`.
  void UpdateLists(const Settings& settings);

  const TextList& CustProhibitedDomains() const { return m_domains; }
  const TextList& CustProhibitedURLs() const { return m_urls; }
  const TextList& ProhibitedFileExts() const { return m_exts; }
  const TextList& BlockedNavDomains() const { return m_blocked_nav; }

  // Hash sets of the non-empty upper-case entries, for "holds" lookups of
  // upper-case texts; domain_set() holds the domain (ExtractDomain) of each
  // prohibited domain entry (spaces around it aside), so that an entry
  // written with the host of a page ("www.badsite.co.uk") refuses its whole
  // site. An empty entry (a gap in the numbered keys) refuses nothing.
  const HashedStringSet& domain_set() const { return m_domain_set; }
  const HashedStringSet& url_set() const { return m_url_set; }
  const HashedStringSet& ext_set() const { return m_ext_set; }
  const HashedStringSet& blocked_nav_set() const { return m_blocked_nav_set; }

 private:
  TextList m_domains;
  TextList m_urls;
  TextList m_exts;
  TextList m_blocked_nav;
  HashedStringSet m_domain_set;
  HashedStringSet m_url_set;
  HashedStringSet m_ext_set;
  HashedStringSet m_blocked_nav_set;
};

}  // namespace tovali
