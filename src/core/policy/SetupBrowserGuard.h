#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/NavigationRequest.h"

namespace tovali {

// The guard of the setup dialog's browser: it keeps to its local pages (the
// setup help page, the error page) and the feedback site. Every other
// navigation is refused silently.
class SetupBrowserGuard {
 public:
  // `local_pages`: the local pages as the browser reports them ("file://"
  // URLs); `feedback_url`: the feedback page, whose web domain (http or
  // https) admits the feedback site's own pages.
  SetupBrowserGuard(std::vector<std::string> local_pages, const std::string& feedback_url);

  // A navigation of the setup dialog's browser, any sub-frame included:
  // Proceed for the local pages (any "#fragment") and for http(s) pages of
  // the feedback site's domain (ExtractDomain); Cancel for everything else.
  Verdict BeforeNavigate2(std::string_view url) const;

 private:
  std::vector<std::string> m_local_pages;
  std::string m_feedback_domain;
};

}  // namespace tovali
