#include "psl/LibpslSuffixList.h"

#include <libpsl.h>

namespace tovali {

namespace {

// The longest host name DNS allows.
constexpr std::size_t kMaxHostLength = 253;

// Answers remembered before the memory is cleared and starts again: far more
// hosts than a session visits.
constexpr std::size_t kMaxAnswers = 4096;

}  // namespace

LibpslSuffixList::LibpslSuffixList() : m_context(psl_latest(nullptr)), m_own_context(true) {
  // psl_latest gives nothing only when neither the data file nor a built-in
  // list is there; psl_builtin is then asked once more for its list.
  if (m_context == nullptr) {
    m_context = psl_builtin();
    m_own_context = false;
  }
}

LibpslSuffixList::~LibpslSuffixList() {
  if (m_own_context) psl_free(const_cast<psl_ctx_t*>(m_context));
}

std::size_t LibpslSuffixList::registrable_domain_start(std::string_view host) const {
  if (host.size() > kMaxHostLength) return std::string_view::npos;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_key.assign(host);
  for (char& c : m_key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  const auto known = m_answers.find(m_key);
  if (known != m_answers.end()) return known->second;
  const std::size_t start = look_up(m_key);
  if (m_answers.size() >= kMaxAnswers) m_answers.clear();
  m_answers.emplace(m_key, start);
  return start;
}

std::size_t LibpslSuffixList::look_up(const std::string& lower_host) const {
  if (m_context == nullptr) {
    // No list at all: its default rule, the last label is the suffix.
    const std::size_t last_dot = lower_host.rfind('.');
    if (last_dot == std::string::npos || last_dot == 0) return std::string::npos;
    const std::size_t earlier_dot = lower_host.rfind('.', last_dot - 1);
    return earlier_dot == std::string::npos ? 0 : earlier_dot + 1;
  }
  const char* domain = psl_registrable_domain(m_context, lower_host.c_str());
  if (domain == nullptr) return std::string::npos;
  return static_cast<std::size_t>(domain - lower_host.c_str());
}

const LibpslSuffixList& LibpslSuffixList::install() {
  static const LibpslSuffixList list;
  install_public_suffix_list(list);
  return list;
}

}  // namespace tovali
