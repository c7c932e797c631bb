#include "policy/PublicSuffixList.h"

#include <atomic>

namespace tovali {

namespace {

// The list's default rule "*" with no other rule.
class LastLabelSuffixes : public PublicSuffixList {
 public:
  std::size_t registrable_domain_start(std::string_view host) const override {
    const std::size_t last_dot = host.rfind('.');
    if (last_dot == std::string_view::npos || last_dot == 0) return std::string_view::npos;
    const std::size_t earlier_dot = host.rfind('.', last_dot - 1);
    return earlier_dot == std::string_view::npos ? 0 : earlier_dot + 1;
  }
};

const LastLabelSuffixes kLastLabelSuffixes;
std::atomic<const PublicSuffixList*> g_installed{&kLastLabelSuffixes};

}  // namespace

const PublicSuffixList& public_suffix_list() {
  return *g_installed.load(std::memory_order_acquire);
}

void install_public_suffix_list(const PublicSuffixList& list) {
  g_installed.store(&list, std::memory_order_release);
}

}  // namespace tovali
