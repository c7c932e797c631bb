#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"

namespace tovali {

// A set of beginnings: tells whether a text begins with any entry (exact
// comparison) in logarithmic time. Entries that begin with another entry are
// left out, as they can never decide anything the shorter one does not; in
// the remaining sorted, prefix-free set the only candidate is the greatest
// entry not after the text.
class PrefixSet {
 public:
  PrefixSet() = default;
  explicit PrefixSet(const TextList& entries);

  // True when `text` begins with one of the entries.
  bool any_prefix_of(std::string_view text) const;

  bool empty() const { return m_entries.empty(); }

 private:
  std::vector<std::string> m_entries;  // sorted, prefix-free
};

}  // namespace tovali
