#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tovali {

// The polynomial hash of the link rule lookups, modulo 2^61 - 1:
// h(s) = sum of (s[i] + 1) * kBase^i. It joins in constant time,
// h(a + b) = h(a) + kBase^|a| * h(b), so an entry made of a link number and
// a value taken from a page is hashed without being copied, and a lookup text
// is hashed prefix by prefix or tail by tail as it is walked.
class RuleHash {
 public:
  static constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;
  static constexpr std::uint64_t kBase = 1000003;

  static constexpr std::uint64_t mul(std::uint64_t a, std::uint64_t b) {
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    std::uint64_t r =
        static_cast<std::uint64_t>(product & kModulus) + static_cast<std::uint64_t>(product >> 61);
    if (r >= kModulus) r -= kModulus;
    return r;
  }
  static constexpr std::uint64_t add(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t r = a + b;
    return r >= kModulus ? r - kModulus : r;
  }
  static constexpr std::uint64_t sub(std::uint64_t a, std::uint64_t b) {
    return a >= b ? a - b : a + kModulus - b;
  }
  // kBase^n, in time logarithmic in n.
  static std::uint64_t power(std::size_t n);
  // h(text), linear in its length.
  static std::uint64_t of(std::string_view text);
  // h(a + b) from h(a), |a| and h(b).
  static std::uint64_t join(std::uint64_t head, std::size_t head_size, std::uint64_t tail) {
    return add(head, mul(power(head_size), tail));
  }
  // h(c + s) from h(s).
  static std::uint64_t extend_front(unsigned char c, std::uint64_t tail) {
    return add(mul(tail, kBase), static_cast<std::uint64_t>(c) + 1);
  }
};

// The hashes of every tail of one text, so that the hash of any stretch of
// it comes in logarithmic time. Takes 8 bytes per character.
class TailHashes {
 public:
  // Linear in the length of `text`, which must outlive this object.
  explicit TailHashes(std::string_view text);
  // h(text.substr(from, to - from)) for from <= to <= text.size().
  std::uint64_t of(std::size_t from, std::size_t to) const;

 private:
  std::vector<std::uint64_t> m_tails;  // m_tails[i] = h(text.substr(i))
};

}  // namespace tovali
