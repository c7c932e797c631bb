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

// The file of the test site whose presence says that the program has read
// the menu page (GuardedBrowserTest::start_with_menu writes it once the
// status line's dot is green).
inline constexpr const char* kMenuReadMarker = "menu-read";

// A script that clicks the element with `id` `delay_ms` after the page has
// loaded and the site serves kMenuReadMarker (a real click event, as a
// child's click would give), for pages that follow their own links without
// help from xdotool. The program judges a menu link by the rules of the menu
// page it has read, so a click before that would race it.
std::string click_script(const std::string& id, int delay_ms = 300);

// A script that clicks elements when the test says so: it asks the page's
// site for `step_path` every 100 ms (once the page has loaded) and, each
// time the text served there changes, clicks the element whose id that
// text is. The test writes the id into the site's file once the program has
// done what the previous step asked, so that no click depends on how fast
// the machine is. Write the file with a text that is no id ("none") before
// the page loads.
std::string step_script(const std::string& step_path);

// "<!--URL" + number + ":" + code + ":" + value + "-->".
std::string url_comment(const std::string& number, const std::string& code,
                        const std::string& value);

}  // namespace tovali::testing
