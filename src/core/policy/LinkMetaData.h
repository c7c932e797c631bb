#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/TextList.h"
#include "policy/LinkRuleSet.h"

namespace tovali {

class Settings;

// The link rules in force: the link number of the current site
// (`URLNumber`), the site last opened (`CurrentSiteURL`), the body of the
// menu page (`NavPageHTML`), the nine link rule lists read from URL comments,
// and the rules saved for every admitted URL so that Back and Forward can
// restore them.
class LinkMetaData {
 public:
  // `settings` supplies `use_global_meta_data` and `global-meta-data`; it
  // must outlive this object.
  explicit LinkMetaData(const Settings& settings);

  // Replaces the nine lists with the rules of the URL comments in `text`,
  // after the global rules when `use_global_meta_data` is "1". Leaves
  // `URLNumber` alone. Returns the width (100 to 300) of the first
  // navigation-frame width comment, which the caller applies; nullopt when
  // there is none. Linear in the length of the text.
  std::optional<int> ExtractMetaData(std::string_view text);

  // Sets `URLNumber` from the URL of a clicked menu link: characters 5 to 7
  // as written when the URL begins "HTTP" but not "HTTP://" (any letter
  // case), otherwise empty.
  void set_url_number_from_link(std::string_view url);

  // Records `URLNumber` and the nine lists for an admitted URL (one "/" at
  // its end dropped; letter case ignored). A URL saved again moves to the
  // end. Constant average time; records share the rule sets they were made
  // under.
  void SaveMetaData(std::string_view url);

  // When a record exists for `url` (as in SaveMetaData), restores its
  // `URLNumber` and lists, the global rules prepended again when enabled,
  // and returns the width of a width comment found in the restored rules
  // (see ExtractMetaData); otherwise changes nothing and returns nullopt.
  std::optional<int> LoadMetaData(std::string_view url);

  // True when a record exists for `url` (as in SaveMetaData).
  bool has_saved(std::string_view url) const;
  std::size_t saved_count() const { return m_saved.size(); }
  // The saved URLs (`SavedMetaDataURLs`), oldest first. Linear-logarithmic.
  TextList SavedMetaDataURLs() const;

  const std::string& URLNumber() const { return m_url_number; }
  void set_url_number(std::string number) { m_url_number = std::move(number); }

  const std::string& CurrentSiteURL() const { return m_current_site_url; }
  // Also caches the site's domain for the same-site rule.
  void set_current_site_url(std::string url);
  // `web_domain(CurrentSiteURL)`: "" unless the site is an http(s) URL.
  const std::string& current_site_domain() const { return m_current_site_domain; }

  const std::string& NavPageHTML() const { return m_nav_page_html; }
  void set_nav_page_html(std::string html) { m_nav_page_html = std::move(html); }

  // The nine lists in force. Never null.
  const LinkRuleSet& rules() const { return *m_rules; }
  const std::shared_ptr<const LinkRuleSet>& shared_rules() const { return m_rules; }

 private:
  struct Record {
    std::string url_number;
    std::shared_ptr<const LinkRuleSet> rules;
    std::size_t sequence = 0;
  };
  struct KeyHash {
    std::size_t operator()(const std::string& key) const;
  };
  struct KeyEqual {
    bool operator()(const std::string& a, const std::string& b) const;
  };

  const Settings& m_settings;
  std::string m_url_number;
  std::string m_current_site_url;
  std::string m_current_site_domain;
  std::string m_nav_page_html;
  std::shared_ptr<const LinkRuleSet> m_rules;
  std::unordered_map<std::string, Record, KeyHash, KeyEqual> m_saved;
  std::size_t m_next_sequence = 0;
};

}  // namespace tovali
