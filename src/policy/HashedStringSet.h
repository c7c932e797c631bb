#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/TextList.h"

namespace tovali {

// A set of byte strings with exact lookup in constant average time. The hash
// is a polynomial one (see hash_of) so that callers can compute the hashes of
// all tails of one text in a single pass and probe with them.
class HashedStringSet {
public:
  HashedStringSet() = default;
  // Duplicates are stored once.
  explicit HashedStringSet(const TextList& entries);

  // Hash of `text`: sum of (byte + 1) * kBase^i modulo 2^61 - 1.
  static std::uint64_t hash_of(std::string_view text);
  // Hash of (byte + tail) given the hash of tail (a one-step extension at the
  // front), so tails can be hashed from the right.
  static std::uint64_t extend_front(unsigned char byte, std::uint64_t tail_hash);

  bool contains(std::string_view text) const { return contains(text, hash_of(text)); }
  // `hash` must be hash_of(text).
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
