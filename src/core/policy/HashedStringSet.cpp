#include "policy/HashedStringSet.h"

#include "policy/RuleHash.h"

namespace tovali {

std::uint64_t HashedStringSet::hash_of(std::string_view text) {
  return RuleHash::of(text);
}

std::size_t HashedStringSet::slot_of(std::uint64_t hash) const {
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> m_shift);
}

HashedStringSet::HashedStringSet(const TextList& entries) : m_owned(entries) {
  std::vector<RuleEntry> views;
  views.reserve(m_owned.size());
  for (const std::string& entry : m_owned) views.push_back(RuleEntry::whole(entry));
  build(views);
}

HashedStringSet::HashedStringSet(const std::vector<RuleEntry>& entries) {
  build(entries);
}

void HashedStringSet::build(const std::vector<RuleEntry>& entries) {
  if (entries.empty()) return;
  std::size_t capacity = 4;
  int bits = 2;
  while (capacity < entries.size() * 2) {
    capacity *= 2;
    ++bits;
  }
  m_slots.assign(capacity, Slot{});
  m_shift = 64 - bits;
  m_entries.reserve(entries.size());
  const std::size_t mask = capacity - 1;
  for (const RuleEntry& entry : entries) {
    std::size_t i = slot_of(entry.hash);
    bool present = false;
    while (m_slots[i].index != kFree) {
      if (m_slots[i].hash == entry.hash &&
          m_entries[m_slots[i].index].equals(entry.number, entry.value)) {
        present = true;
        break;
      }
      i = (i + 1) & mask;
    }
    if (present) continue;
    m_slots[i] = Slot{entry.hash, static_cast<std::uint32_t>(m_entries.size())};
    m_entries.push_back(entry);
  }
  m_entries.shrink_to_fit();
}

bool HashedStringSet::contains_joined(std::string_view head, std::string_view tail,
                                      std::uint64_t hash) const {
  if (m_entries.empty()) return false;
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = slot_of(hash); m_slots[i].index != kFree; i = (i + 1) & mask) {
    if (m_slots[i].hash == hash && m_entries[m_slots[i].index].equals(head, tail)) return true;
  }
  return false;
}

}  // namespace tovali
