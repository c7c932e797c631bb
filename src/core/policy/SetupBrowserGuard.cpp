#include "policy/SetupBrowserGuard.h"

#include "policy/UrlText.h"

namespace tovali {

SetupBrowserGuard::SetupBrowserGuard(std::vector<std::string> local_pages,
                                     const std::string& feedback_url)
    : m_local_pages(std::move(local_pages)), m_feedback_domain(web_domain(feedback_url)) {}

Verdict SetupBrowserGuard::BeforeNavigate2(std::string_view url) const {
  for (const std::string& page : m_local_pages) {
    if (is_local_page(url, page)) return Verdict::Proceed;
  }
  if (!m_feedback_domain.empty() && web_domain(url) == m_feedback_domain) return Verdict::Proceed;
  return Verdict::Cancel;
}

}  // namespace tovali
