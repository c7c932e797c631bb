#pragma once

#include <string_view>

#include "policy/HashedStringSet.h"
#include "settings/TextList.h"

namespace tovali {

// Host-ending entries (link number + ending of a host name). An entry e
// matches a host when the link number followed by the last (length of e - 3)
// characters of the host (the whole host when it is not that long) equals e
// exactly. The lookup probes each tail of the host once, in time linear in
// the host's length, whatever the number of entries.
class HostEndingSet {
public:
  HostEndingSet() = default;
  explicit HostEndingSet(const TextList& entries);

  // True when an entry matches `host` under `url_number`.
  bool matches(std::string_view url_number, std::string_view host) const;

  bool empty() const { return m_empty; }

private:
  // Entries of at least 3 characters, stored as ending + the 3 leading
  // characters, so that a tail of (host + number) is probed directly.
  HashedStringSet m_rotated;
  // Entries shorter than 3 characters, stored as they are.
  HashedStringSet m_short;
  bool m_empty = true;
};

}  // namespace tovali
