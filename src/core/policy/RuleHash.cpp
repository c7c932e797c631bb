#include "policy/RuleHash.h"

namespace tovali {

std::uint64_t RuleHash::power(std::size_t n) {
  std::uint64_t result = 1;
  std::uint64_t base = kBase;
  while (n > 0) {
    if (n & 1) result = mul(result, base);
    base = mul(base, base);
    n >>= 1;
  }
  return result;
}

std::uint64_t RuleHash::of(std::string_view text) {
  std::uint64_t h = 0;
  for (std::size_t i = text.size(); i-- > 0;) {
    h = extend_front(static_cast<unsigned char>(text[i]), h);
  }
  return h;
}

TailHashes::TailHashes(std::string_view text) : m_tails(text.size() + 1, 0) {
  for (std::size_t i = text.size(); i-- > 0;) {
    m_tails[i] = RuleHash::extend_front(static_cast<unsigned char>(text[i]), m_tails[i + 1]);
  }
}

std::uint64_t TailHashes::of(std::size_t from, std::size_t to) const {
  // h(t[from..]) = h(t[from..to)) + kBase^(to - from) * h(t[to..]).
  return RuleHash::sub(m_tails[from], RuleHash::mul(RuleHash::power(to - from), m_tails[to]));
}

}  // namespace tovali
