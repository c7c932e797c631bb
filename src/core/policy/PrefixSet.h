#pragma once

#include <string_view>
#include <vector>

#include "policy/HashedStringSet.h"
#include "policy/RuleEntry.h"

namespace tovali {

// A set of beginnings: tells whether a text begins with any entry (exact
// comparison). The entries are kept in a hashed set with the lengths that
// occur; a lookup rolls the hash of the text's beginning forward and probes
// only the lengths some entry has, in time linear in the text's length
// whatever the number and length of the entries.
class PrefixSet {
 public:
  PrefixSet() = default;
  // The texts `entries` point into must outlive the set. Linear in the
  // number of entries and the longest entry's length.
  explicit PrefixSet(const std::vector<RuleEntry>& entries);

  // True when `text` begins with one of the entries.
  bool any_prefix_of(std::string_view text) const;

  bool empty() const { return m_entries.empty(); }

 private:
  HashedStringSet m_entries;
  std::vector<bool> m_lengths;  // m_lengths[n]: some entry has n characters
};

}  // namespace tovali
