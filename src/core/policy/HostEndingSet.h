#pragma once

#include <string_view>
#include <vector>

#include "policy/HashedStringSet.h"
#include "policy/RuleEntry.h"

namespace tovali {

// Host-ending entries (link number + ending of a host name). An entry e
// matches a host when the link number followed by the last (length of e - 3)
// characters of the host (the whole host when it is not that long) equals e
// exactly. The lookup probes each tail of the host once, with hashes rolled
// from the right, in time linear in the host's length whatever the number of
// entries.
class HostEndingSet {
 public:
  HostEndingSet() = default;
  // The texts `entries` point into must outlive the set.
  explicit HostEndingSet(const std::vector<RuleEntry>& entries);

  // True when an entry matches `host` under `url_number`.
  bool matches(std::string_view url_number, std::string_view host) const;

  bool empty() const { return m_empty; }

 private:
  // Entries of at least 3 characters.
  HashedStringSet m_long;
  // m_lengths[n] is true when an entry has n characters after its number;
  // other tails need no probe.
  std::vector<bool> m_lengths;
  // Entries shorter than 3 characters.
  HashedStringSet m_short;
  bool m_empty = true;
};

}  // namespace tovali
