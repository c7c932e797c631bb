#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"
#include "policy/RuleEntry.h"

namespace tovali {

// A set of byte strings with exact lookup in constant average time (open
// addressing, at most half full). Hashes are RuleHash values.
class HashedStringSet {
 public:
  HashedStringSet() = default;
  // A set that holds its own copies of `entries`. Duplicates are stored once.
  explicit HashedStringSet(const TextList& entries);
  // A set of views: the texts `entries` point into must outlive the set.
  // Duplicates are stored once. Linear in the number of entries, plus the
  // comparison of entries whose hashes are equal.
  explicit HashedStringSet(const std::vector<RuleEntry>& entries);
  HashedStringSet(const HashedStringSet&) = delete;
  HashedStringSet& operator=(const HashedStringSet&) = delete;
  HashedStringSet(HashedStringSet&&) = default;
  HashedStringSet& operator=(HashedStringSet&&) = default;

  // The hash the set uses (RuleHash::of), for callers that look one text up
  // in several sets.
  static std::uint64_t hash_of(std::string_view text);

  // True when `text` is one of the entries (exact comparison).
  bool contains(std::string_view text) const { return contains(text, hash_of(text)); }
  // The same with `hash` = hash_of(text) computed by the caller.
  bool contains(std::string_view text, std::uint64_t hash) const {
    return contains_joined(text, std::string_view(), hash);
  }
  // True when `head` + `tail` is one of the entries; `hash` is its hash.
  bool contains_joined(std::string_view head, std::string_view tail, std::uint64_t hash) const;

  bool empty() const { return m_entries.empty(); }
  std::size_t size() const { return m_entries.size(); }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t index = kFree;  // into m_entries
  };
  static constexpr std::uint32_t kFree = 0xffffffffu;

  void build(const std::vector<RuleEntry>& entries);
  std::size_t slot_of(std::uint64_t hash) const;

  std::vector<std::string> m_owned;  // the texts of a set built from a TextList
  std::vector<RuleEntry> m_entries;
  std::vector<Slot> m_slots;  // size is a power of two, at most half full
  int m_shift = 64;
};

}  // namespace tovali
