#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"
#include "policy/HashedStringSet.h"
#include "policy/HostEndingSet.h"
#include "policy/PrefixSet.h"
#include "policy/RuleEntry.h"

namespace tovali {

// The nine link rule lists, in their fixed order.
enum class RuleCode { AD, AU, PU, AS, PS, AT, PT, SD, SS };

inline constexpr std::size_t kRuleListCount = 9;
inline constexpr std::array<RuleCode, kRuleListCount> kRuleCodes = {
    RuleCode::AD, RuleCode::AU, RuleCode::PU, RuleCode::AS, RuleCode::PS,
    RuleCode::AT, RuleCode::PT, RuleCode::SD, RuleCode::SS};

// The two letters of a code ("AD" ... "SS").
std::string_view code_text(RuleCode code);

// The code written as `text` (exact, upper-case), or nullopt.
std::optional<RuleCode> code_from_text(std::string_view text);

using RuleLists = std::array<TextList, kRuleListCount>;
using RuleEntryLists = std::array<std::vector<RuleEntry>, kRuleListCount>;

// One immutable set of link rules: the nine lists (entries are the link
// number followed by the upper-cased value, held as views into the scanned,
// upper-cased text that the set keeps alive) and the lookup structures built
// from them. Shared by the rules in force and every record saved under them.
// Building it is linear in the number of entries and the length of the text,
// however long and overlapping the values are.
class LinkRuleSet {
 public:
  // An empty set.
  LinkRuleSet() = default;
  // `lists` point into `text`. `round_trips` as returned by round_trips().
  LinkRuleSet(std::shared_ptr<const std::string> text, RuleEntryLists lists, bool round_trips);
  LinkRuleSet(const LinkRuleSet&) = delete;
  LinkRuleSet& operator=(const LinkRuleSet&) = delete;

  // An empty set, shared.
  static std::shared_ptr<const LinkRuleSet> empty();

  const std::vector<RuleEntry>& entries(RuleCode code) const {
    return m_entries[static_cast<std::size_t>(code)];
  }
  // Copies of the entries' texts, which can be as long as the scanned text
  // each: for checks of small pages.
  TextList list(RuleCode code) const;
  RuleLists lists() const;
  std::size_t entry_count() const;

  // "Holds" lookups of the four whole-text lists (entries upper-case, so an
  // upper-cased text is compared exactly).
  const HashedStringSet& AllowedDomains() const { return m_allowed_domains; }
  const HashedStringSet& AllowedURLs() const { return m_allowed_urls; }
  const HashedStringSet& ProhibitedURLs() const { return m_prohibited_urls; }
  const HashedStringSet& SilentDomains() const { return m_silent_domains; }
  // "Begins with an entry" lookups.
  const PrefixSet& AllowedURLPrefixes() const { return m_allowed_prefixes; }
  const PrefixSet& ProhibitedURLPrefixes() const { return m_prohibited_prefixes; }
  const PrefixSet& SilentURLPrefixes() const { return m_silent_prefixes; }
  // Host-ending lookups.
  const HostEndingSet& AllowedHostSuffixes() const { return m_allowed_suffixes; }
  const HostEndingSet& ProhibitedHostSuffixes() const { return m_prohibited_suffixes; }

  // The record text: `number_field` followed by one rebuilt URL comment per
  // entry, lists in the fixed order. Linear in the total length of the
  // entries, which for overlapping values can be far more than the page.
  std::string record_text(std::string_view number_field) const;

  // True when scanning record_text() gives back exactly these lists and no
  // width comment (no entry holds "<!--URL" or "<!--NAVFRAMEWIDTH=").
  bool round_trips() const { return m_round_trips; }

 private:
  std::shared_ptr<const std::string> m_text;
  RuleEntryLists m_entries;
  HashedStringSet m_allowed_domains;
  HashedStringSet m_allowed_urls;
  HashedStringSet m_prohibited_urls;
  HashedStringSet m_silent_domains;
  PrefixSet m_allowed_prefixes;
  PrefixSet m_prohibited_prefixes;
  PrefixSet m_silent_prefixes;
  HostEndingSet m_allowed_suffixes;
  HostEndingSet m_prohibited_suffixes;
  bool m_round_trips = true;
};

}  // namespace tovali
