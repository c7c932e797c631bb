#include "policy/PrefixSet.h"

#include "policy/RuleHash.h"

namespace tovali {

PrefixSet::PrefixSet(const std::vector<RuleEntry>& entries) : m_entries(entries) {
  for (const RuleEntry& entry : entries) {
    if (m_lengths.size() <= entry.size()) m_lengths.resize(entry.size() + 1, false);
    m_lengths[entry.size()] = true;
  }
}

bool PrefixSet::any_prefix_of(std::string_view text) const {
  if (m_entries.empty()) return false;
  // h(text[0, length)) for growing lengths: each character adds
  // (c + 1) * kBase^(its position).
  std::uint64_t hash = 0;
  std::uint64_t power = 1;
  for (std::size_t length = 0; length < m_lengths.size() && length <= text.size(); ++length) {
    if (length > 0) {
      const auto c = static_cast<unsigned char>(text[length - 1]);
      hash = RuleHash::add(hash, RuleHash::mul(power, static_cast<std::uint64_t>(c) + 1));
      power = RuleHash::mul(power, RuleHash::kBase);
    }
    if (m_lengths[length] && m_entries.contains(text.substr(0, length), hash)) return true;
  }
  return false;
}

}  // namespace tovali
