#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"
#include "policy/HashedStringSet.h"

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
  explicit HostEndingSet(const TextList& entries);

  // True when an entry matches `host` under `url_number`.
  bool matches(std::string_view url_number, std::string_view host) const;

  bool empty() const { return m_empty; }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t index = kFree;
  };
  static constexpr std::uint32_t kFree = 0xffffffffu;

  std::size_t slot_of(std::uint64_t hash) const;
  bool probe(std::uint64_t hash, std::string_view number, std::string_view tail) const;

  // Entries of at least 3 characters.
  std::vector<std::string> m_entries;
  std::vector<Slot> m_slots;  // power of two, at most half full
  int m_shift = 64;
  // m_lengths[n] is true when an entry has n characters after its number;
  // other tails need no probe.
  std::vector<bool> m_lengths;
  // Entries shorter than 3 characters, stored as they are.
  HashedStringSet m_short;
  bool m_empty = true;
};

}  // namespace tovali
