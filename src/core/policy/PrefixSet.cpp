#include "policy/PrefixSet.h"

#include <algorithm>

namespace tovali {

namespace {

bool begins_with(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

PrefixSet::PrefixSet(const TextList& entries) {
  std::vector<std::string> sorted(entries);
  std::sort(sorted.begin(), sorted.end());
  // In sorted order every entry that begins with an earlier kept one follows
  // it directly (possibly after others that begin with it too).
  for (std::string& entry : sorted) {
    if (!m_entries.empty() && begins_with(entry, m_entries.back())) continue;
    m_entries.push_back(std::move(entry));
  }
  m_entries.shrink_to_fit();
}

bool PrefixSet::any_prefix_of(std::string_view text) const {
  if (m_entries.empty()) return false;
  // First entry greater than text; the one before it is the candidate.
  auto it = std::upper_bound(m_entries.begin(), m_entries.end(), text,
                             [](std::string_view t, const std::string& e) { return t < e; });
  if (it == m_entries.begin()) return false;
  return begins_with(text, *std::prev(it));
}

}  // namespace tovali
