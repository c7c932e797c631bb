#pragma once

#include <memory>
#include <string_view>

#include "policy/PageLoadRules.h"

namespace tovali {

// What becomes of one load a page asks for.
enum class LoadVerdict { Admit, Refuse };

// Judges what a page loads that is not a navigation of its own (images,
// style sheets, scripts, fonts, media, fetch and XHR, WebSocket,
// EventSource, beacons), in the web process, by the rules the program sent.
// Without rules it admits only what never leaves the computer (data:,
// blob:, about: and the program's own pages are those; without rules no
// page is the program's): a judge that has not heard from the program lets
// nothing load.
class PageLoadJudge {
 public:
  PageLoadJudge();
  ~PageLoadJudge();
  PageLoadJudge(const PageLoadJudge&) = delete;
  PageLoadJudge& operator=(const PageLoadJudge&) = delete;

  // Replaces the rules. Linear in their size.
  void set_rules(const PageLoadRules& rules);
  bool has_rules() const;

  // The verdict on `request_url`, asked for by the page at `page_url`
  // (its main document's address as the engine reports it):
  //   - data:, blob: and about: URLs are admitted, file: URLs only when they
  //     begin with one of the program's page beginnings;
  //   - without rules everything else is refused;
  //   - the page's own document (`request_url` is `page_url`, the fragment
  //     aside) was judged as a navigation and is admitted;
  //   - the parent's lists refuse as they refuse navigations
  //     (Cust_Allow_B_URL; ws: and wss: are judged as http: and https:);
  //   - with `strict_page_loads` "1" the rest is admitted only from the
  //     page's own domain or when the link rules in force admit it
  //     (Allow_B_URL, global rules included);
  //   - anything else is admitted.
  // Costs about as much as judging a navigation.
  LoadVerdict judge(std::string_view page_url, std::string_view request_url) const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> m_compiled;
};

}  // namespace tovali
