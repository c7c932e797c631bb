#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovali {

// One entry of a link rule list, the text `number` + `value`, held as two
// views (into the scanned page, or into a set's own copy) with its RuleHash,
// so that the many long, overlapping values a page can give are never copied.
struct RuleEntry {
  std::string_view number;
  std::string_view value;
  std::uint64_t hash = 0;  // RuleHash::of(number + value)

  std::size_t size() const { return number.size() + value.size(); }
  std::string text() const { return std::string(number).append(value); }
  // True when number + value equals `head` + `tail`. Linear in the length.
  bool equals(std::string_view head, std::string_view tail) const;
  // An entry of `text` alone, hashed here (linear in its length).
  static RuleEntry whole(std::string_view text);
};

}  // namespace tovali
