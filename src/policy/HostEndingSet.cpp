#include "policy/HostEndingSet.h"

#include <string>

namespace tovali {

HostEndingSet::HostEndingSet(const TextList& entries) {
  TextList rotated;
  TextList short_ones;
  for (const std::string& e : entries) {
    if (e.size() >= 3) {
      rotated.push_back(e.substr(3) + e.substr(0, 3));
    } else {
      short_ones.push_back(e);
    }
  }
  m_rotated = HashedStringSet(rotated);
  m_short = HashedStringSet(short_ones);
  m_empty = entries.empty();
}

bool HostEndingSet::matches(std::string_view url_number, std::string_view host) const {
  if (m_empty) return false;
  if (url_number.size() != 3) {
    // Only an entry shorter than 3 characters can equal number + tail: its
    // tail length is 0, so it has to equal the number itself.
    return url_number.size() < 3 && m_short.contains(url_number);
  }
  if (m_rotated.empty()) return false;
  // Tails of host + number are the candidates (tail of host, then number).
  std::string buffer;
  buffer.reserve(host.size() + 3);
  buffer.append(host);
  buffer.append(url_number);
  const std::string_view whole(buffer);
  std::uint64_t hash = HashedStringSet::hash_of(url_number);
  if (m_rotated.contains(whole.substr(host.size()), hash)) return true;
  for (std::size_t i = host.size(); i-- > 0;) {
    hash = HashedStringSet::extend_front(static_cast<unsigned char>(whole[i]), hash);
    if (m_rotated.contains(whole.substr(i), hash)) return true;
  }
  return false;
}

}  // namespace tovali
