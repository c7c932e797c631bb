#include "policy/RuleEntry.h"

#include <algorithm>

#include "policy/RuleHash.h"

namespace tovali {

bool RuleEntry::equals(std::string_view head, std::string_view tail) const {
  if (size() != head.size() + tail.size()) return false;
  std::string_view x = number;
  std::string_view x_next = value;
  std::string_view y = head;
  std::string_view y_next = tail;
  while (true) {
    if (x.empty()) std::swap(x, x_next);
    if (y.empty()) std::swap(y, y_next);
    if (x.empty() || y.empty()) return x.empty() && y.empty();
    const std::size_t n = std::min(x.size(), y.size());
    if (x.substr(0, n) != y.substr(0, n)) return false;
    x.remove_prefix(n);
    y.remove_prefix(n);
  }
}

RuleEntry RuleEntry::whole(std::string_view text) {
  return RuleEntry{std::string_view(), text, RuleHash::of(text)};
}

}  // namespace tovali
