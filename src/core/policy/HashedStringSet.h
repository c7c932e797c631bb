#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"

namespace tovali {

// A set of byte strings with exact lookup in constant average time (open
// addressing, at most half full).
class HashedStringSet {
 public:
  HashedStringSet() = default;
  // Duplicates are stored once.
  explicit HashedStringSet(const TextList& entries);

  // The hash the set uses, for callers that look one text up in several sets.
  static std::uint64_t hash_of(std::string_view text);

  // True when `text` is one of the entries (exact comparison).
  bool contains(std::string_view text) const { return contains(text, hash_of(text)); }
  // The same with `hash` = hash_of(text) computed by the caller.
  bool contains(std::string_view text, std::uint64_t hash) const;

  bool empty() const { return m_entries.empty(); }
  std::size_t size() const { return m_entries.size(); }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t index = kFree;  // into m_entries
  };
  static constexpr std::uint32_t kFree = 0xffffffffu;

  std::size_t slot_of(std::uint64_t hash) const;

  std::vector<std::string> m_entries;
  std::vector<Slot> m_slots;  // size is a power of two, at most half full
  int m_shift = 64;
};

}  // namespace tovali
