#include "policy/HostEndingSet.h"

namespace tovali {

namespace {

// Polynomial hash modulo 2^61 - 1: h(s) = sum of (s[i] + 1) * kBase^i, so
// h(c + s) = (c + 1) + kBase * h(s) and h(s + t) = h(s) + kBase^|s| * h(t).
// Entries are hashed as they stand (number + ending).
constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kBase = 1000003;

constexpr std::uint64_t mul_mod(std::uint64_t a, std::uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  std::uint64_t r =
      static_cast<std::uint64_t>(product & kModulus) + static_cast<std::uint64_t>(product >> 61);
  if (r >= kModulus) r -= kModulus;
  return r;
}

std::uint64_t add_mod(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t r = a + b;
  return r >= kModulus ? r - kModulus : r;
}

std::uint64_t extend_front(unsigned char byte, std::uint64_t tail_hash) {
  return add_mod(mul_mod(tail_hash, kBase), static_cast<std::uint64_t>(byte) + 1);
}

std::uint64_t hash_of(std::string_view text) {
  std::uint64_t h = 0;
  for (std::size_t i = text.size(); i-- > 0;) {
    h = extend_front(static_cast<unsigned char>(text[i]), h);
  }
  return h;
}

// kBase^3: h(number + tail) = h(number) + kBase^3 * h(tail) for a number of
// three characters.
constexpr std::uint64_t kBaseCubed = mul_mod(mul_mod(kBase, kBase), kBase);

}  // namespace

HostEndingSet::HostEndingSet(const TextList& entries) {
  m_empty = entries.empty();
  TextList short_ones;
  std::size_t long_count = 0;
  for (const std::string& e : entries) long_count += e.size() >= 3 ? 1 : 0;
  std::size_t capacity = 4;
  int bits = 2;
  while (capacity < long_count * 2) {
    capacity *= 2;
    ++bits;
  }
  if (long_count > 0) {
    m_slots.assign(capacity, Slot{});
    m_shift = 64 - bits;
  }
  for (const std::string& e : entries) {
    if (e.size() < 3) {
      short_ones.push_back(e);
      continue;
    }
    const std::string_view view(e);
    if (m_lengths.size() <= e.size() - 3) m_lengths.resize(e.size() - 2, false);
    m_lengths[e.size() - 3] = true;
    const std::uint64_t hash = hash_of(view);
    if (probe(hash, view.substr(0, 3), view.substr(3))) continue;
    std::size_t i = slot_of(hash);
    while (m_slots[i].index != kFree) i = (i + 1) & (m_slots.size() - 1);
    m_slots[i] = Slot{hash, static_cast<std::uint32_t>(m_entries.size())};
    m_entries.push_back(e);
  }
  m_short = HashedStringSet(short_ones);
}

std::size_t HostEndingSet::slot_of(std::uint64_t hash) const {
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> m_shift);
}

bool HostEndingSet::probe(std::uint64_t hash, std::string_view number,
                          std::string_view tail) const {
  if (m_slots.empty()) return false;
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = slot_of(hash); m_slots[i].index != kFree; i = (i + 1) & mask) {
    if (m_slots[i].hash != hash) continue;
    const std::string& e = m_entries[m_slots[i].index];
    if (e.size() == tail.size() + 3 && e.compare(0, 3, number) == 0 &&
        e.compare(3, std::string::npos, tail) == 0) {
      return true;
    }
  }
  return false;
}

bool HostEndingSet::matches(std::string_view url_number, std::string_view host) const {
  if (m_empty) return false;
  if (url_number.size() != 3) {
    // Only an entry shorter than 3 characters can equal number + tail: its
    // tail length is 0, so it has to equal the number itself.
    return url_number.size() < 3 && m_short.contains(url_number);
  }
  if (m_slots.empty()) return false;
  // Every tail t of the host, shortest first, rolling its hash from the
  // right; only tails as long as some entry's ending are looked up.
  const std::uint64_t number_hash = hash_of(url_number);
  std::uint64_t tail_hash = 0;
  for (std::size_t length = 0; length < m_lengths.size() && length <= host.size(); ++length) {
    if (length > 0) {
      tail_hash = extend_front(static_cast<unsigned char>(host[host.size() - length]), tail_hash);
    }
    if (m_lengths[length] && probe(add_mod(number_hash, mul_mod(kBaseCubed, tail_hash)), url_number,
                                   host.substr(host.size() - length))) {
      return true;
    }
  }
  return false;
}

}  // namespace tovali
