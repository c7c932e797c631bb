// The real program in the session's language: with LANGUAGE=de its start
// page is welcome.de.html, its toolbar, refusal message and "Ask a grown-up"
// are German (read over AT-SPI), and so is the "More Sites" page it writes; with
// LANGUAGE=en or a language it has no catalogue for, every text is the
// English one, exactly.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "AccessibleBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

// What the program shows in one language.
struct Language {
  const char* language_env;  // LANGUAGE
  const char* start_page;    // the supplied start page it loads
  std::vector<const char*> toolbar;
  const char* refusal;  // the refusal of the menu's scripted click, as the message panel is named
  const char* ask;      // the panel's button
  const char* more_sites_page;
};

const Language kGerman = {
    "de",
    "welcome.de.html",
    {"Start", "Zurück", "Vor", "Stopp", "Drucken", "Hilfe", "Werkzeuge"},
    "Die Seite, die du gerade ansiehst, will eine Seite laden, die nicht freigegeben ist.",
    "Frag einen Erwachsenen",
    "Es gibt keine weiteren Seiten.",
};

void PrintTo(const Language& language, std::ostream* os) {
  *os << "LANGUAGE=" << language.language_env;
}

Language english(const char* language_env) {
  return {language_env,
          "welcome.html",
          {"Home", "Back", "Forward", "Stop", "Print", "Help", "Tools"},
          "The site you are viewing is trying to load or redirect to a site that is not enabled.",
          "Ask a grown-up",
          "There are no additional sites available."};
}

class ExplorerLanguage : public AccessibleBrowserTest,
                         public ::testing::WithParamInterface<Language> {
 protected:
  // The program's messages follow LANGUAGE outside the "C" locale.
  void SetUp() override {
    AccessibleBrowserTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    env().set("LANGUAGE", GetParam().language_env);
    env().set("LC_MESSAGES", "C.UTF-8");
  }

  // Each copy of the start page asks the server for "/start-page/<file>"
  // once it shows, so the request log tells which one was loaded.
  void mark_start_pages() {
    std::string error;
    ASSERT_TRUE(ExplorerProcess::prepare_program_dir(program_dir(), &error)) << error;
    for (const char* page : {"welcome.html", "welcome.de.html"}) {
      const std::string path = program_dir() + page;
      std::ifstream in(path, std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      in.close();
      const std::size_t end = text.rfind("</body>");
      ASSERT_NE(end, std::string::npos) << page;
      text.insert(end, "<img src='" + url(std::string("/start-page/") + page) + "' alt=''>\n");
      std::filesystem::remove(path);  // a copy of its own, not the build tree's
      std::ofstream(path, std::ios::binary) << text;
    }
  }

  bool showing(const std::string& role, const std::string& name,
               std::vector<AccessibleNode>* nodes_out = nullptr) {
    return wait_until(
        [&] {
          const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
          if (nodes_out) *nodes_out = nodes;
          return std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode& n) {
            return n.role == role && n.name == name && n.showing;
          });
        },
        kEventTimeout, milliseconds(300));
  }

  static std::string describe(const std::vector<AccessibleNode>& nodes) {
    std::string text;
    for (const auto& n : nodes) text += n.role + " '" + n.name + "'\n";
    return text;
  }
};

// A script for the menu page: once the test writes "/go-more" into the site,
// it clicks the menu's "More Sites" link.
std::string more_sites_click_script() {
  return "<script>(function wait() { var r = new XMLHttpRequest();"
         " r.open('GET', '/go-more?' + Date.now()); r.onloadend = function () {"
         " if (r.status !== 200) { setTimeout(wait, 200); return; }"
         " document.getElementById('more').dispatchEvent(new MouseEvent('click',"
         " {bubbles: true, cancelable: true, view: window})); }; r.send(); })();</script>\n";
}

TEST_P(ExplorerLanguage, StartPageToolbarRefusalAndPagesAreInTheSessionsLanguage) {
  const Language& language = GetParam();
  mark_start_pages();
  write_page("/kids/shop.html", "Shop", "<p>shop</p>");
  set_setting("prevent_switch", "0");
  start_with_menu(
      menu_page({url_comment("001", "AD", domain("zoo.localhost"))},
                {{"shop", menu_link("001", "/kids/shop.html", "shop.localhost"), "Shop"},
                 {"more", "HTTPNAV://MORESITES", "More Sites"}},
                click_script("shop", 800) + more_sites_click_script()));

  // The start page in the session's language, and not the other copy.
  const std::string shown = std::string("/start-page/") + language.start_page;
  ASSERT_TRUE(server().wait_for_path(shown, kStartTimeout)) << server().log_text();

  // The toolbar's buttons, by their accessible names.
  std::vector<AccessibleNode> nodes;
  for (const char* name : language.toolbar)
    EXPECT_TRUE(showing("push button", name, &nodes)) << name << " in\n" << describe(nodes);

  // The refused click: the message panel and its "Ask a grown-up".
  ASSERT_TRUE(showing("push button", language.refusal, &nodes)) << describe(nodes);
  EXPECT_TRUE(showing("push button", language.ask, &nodes)) << describe(nodes);
  if (std::string(language.language_env) == "de") screenshot("german");

  // The "More Sites" page the program writes for itself when the menu opens it.
  write_site_file("go-more", "");
  EXPECT_TRUE(wait_until(
      [&] {
        return state_file("moresites.html").find(language.more_sites_page) != std::string::npos;
      },
      kEventTimeout))
      << state_file("moresites.html");

  // Both copies of the start page were there to load: only one was.
  const std::string other =
      std::string("/start-page/") +
      (std::string(language.start_page) == "welcome.html" ? "welcome.de.html" : "welcome.html");
  EXPECT_FALSE(server().was_requested(other)) << server().log_text();
  EXPECT_TRUE(terminates_cleanly());
}

INSTANTIATE_TEST_SUITE_P(Languages, ExplorerLanguage,
                         ::testing::Values(kGerman, english("en"), english("xx")),
                         [](const ::testing::TestParamInfo<Language>& info) {
                           return std::string(info.param.language_env);
                         });

}  // namespace
}  // namespace tovali::testing
