#include "policy/HostEndingSet.h"

#include "policy/RuleHash.h"

namespace tovali {

namespace {

template <typename Keep>
std::vector<RuleEntry> entries_where(const std::vector<RuleEntry>& entries, Keep keep) {
  std::vector<RuleEntry> chosen;
  for (const RuleEntry& e : entries) {
    if (keep(e)) chosen.push_back(e);
  }
  return chosen;
}

bool is_long(const RuleEntry& e) {
  return e.size() >= 3;
}

bool is_short(const RuleEntry& e) {
  return e.size() < 3;
}

}  // namespace

HostEndingSet::HostEndingSet(const std::vector<RuleEntry>& entries)
    : m_long(entries_where(entries, is_long)),
      m_short(entries_where(entries, is_short)),
      m_empty(entries.empty()) {
  for (const RuleEntry& e : entries) {
    if (e.size() < 3) continue;
    const std::size_t ending = e.size() - 3;
    if (m_lengths.size() <= ending) m_lengths.resize(ending + 1, false);
    m_lengths[ending] = true;
  }
}

bool HostEndingSet::matches(std::string_view url_number, std::string_view host) const {
  if (m_empty) return false;
  if (url_number.size() != 3) {
    // Only an entry shorter than 3 characters can equal number + tail: its
    // tail length is 0, so it has to equal the number itself.
    return url_number.size() < 3 && m_short.contains(url_number);
  }
  if (m_long.empty()) return false;
  // Every tail t of the host, shortest first, rolling its hash from the
  // right; only tails as long as some entry's ending are looked up.
  static const std::uint64_t kBaseCubed = RuleHash::power(3);
  const std::uint64_t number_hash = RuleHash::of(url_number);
  std::uint64_t tail_hash = 0;
  for (std::size_t length = 0; length < m_lengths.size() && length <= host.size(); ++length) {
    if (length > 0) {
      tail_hash =
          RuleHash::extend_front(static_cast<unsigned char>(host[host.size() - length]), tail_hash);
    }
    if (!m_lengths[length]) continue;
    const std::uint64_t hash = RuleHash::add(number_hash, RuleHash::mul(kBaseCubed, tail_hash));
    if (m_long.contains_joined(url_number, host.substr(host.size() - length), hash)) return true;
  }
  return false;
}

}  // namespace tovali
