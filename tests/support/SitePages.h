#pragma once

#include <string>
#include <vector>

namespace tovali::testing {

// Small pages for the test sites.

// A whole HTML page with `title` and `body`.
std::string html_page(const std::string& title, const std::string& body);

// One link of a test page: <a id="ID" href="HREF">TEXT</a>.
struct PageLink {
  std::string id;
  std::string href;
  std::string text;
};

// A menu page for the navigation frame: the URL comments (each a whole
// "<!--URL001:AD:...-->" text) and the links inside the body element.
std::string menu_page(const std::vector<std::string>& comments, const std::vector<PageLink>& links,
                      const std::string& extra_body = "");

// A script that clicks the element with `id` `delay_ms` after the page has
// loaded (a real click event, as a child's click would give), for pages
// that follow their own links without help from xdotool.
std::string click_script(const std::string& id, int delay_ms = 300);

// "<!--URL" + number + ":" + code + ":" + value + "-->".
std::string url_comment(const std::string& number, const std::string& code,
                        const std::string& value);

}  // namespace tovali::testing
