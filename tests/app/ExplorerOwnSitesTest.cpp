// The real program: sites that the program opens by itself (the configured
// main page at start-up, the E-mail button, help from the web) come with
// their own rules: the site's domain under link number 001, for e-mail also
// the rules of `email-meta-data`. Each site's page first tries a site
// outside those rules, then one inside them.
#include <string>

#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

// The sixth toolbar button, 69 pixels each.
constexpr int kEmailX = 5 * 69 + 34;

// The help button's drop-down arrow, right of the six buttons and Help.
constexpr int kHelpArrowX = 440;

// Who opens the site.
enum class Opener { StartUp, EmailButton, HelpFromTheWeb };

struct OwnSite {
  const char* name;
  const char* first_host;  // the site the program opens
  const char* first_path;
  const char* admitted_host;  // a later page that its rules admit
  Opener opener;
};

class ExplorerOwnSites : public GuardedBrowserTest,
                         public ::testing::WithParamInterface<OwnSite> {};

TEST_P(ExplorerOwnSites, OpenUnderTheirOwnRules) {
  const OwnSite& c = GetParam();
  const std::string refused = url("/kids/refused.html", "other.localhost");
  const std::string admitted = url("/kids/admitted.html", c.admitted_host);
  write_page("/kids/refused.html", "Refused", "<p>refused</p>");
  write_page("/kids/admitted.html", "Admitted", "<p>admitted</p>");
  write_page(c.first_path, "First",
             "<script>window.addEventListener('load', function () {"
             " setTimeout(function () { location.href = '" +
                 refused +
                 "'; }, 300);"
                 " setTimeout(function () { location.href = '" +
                 admitted + "'; }, 1500); });</script>");
  const std::string first = url(c.first_path, c.first_host);
  set_setting("prevent_switch", "0");
  if (c.opener == Opener::EmailButton) {
    set_setting("enable_email_button", "1");
    set_setting("email_url", first);
    set_setting("email-meta-data", url_comment("001", "AD", domain("extra.localhost")));
  } else if (c.opener == Opener::StartUp) {
    set_setting("load_main_default", "0");
    set_setting("load_main_url", first);
  }
  start_with_menu(menu_page({}, {}));
  const auto first_requested = [&] { return server().was_requested(c.first_path); };
  if (c.opener == Opener::HelpFromTheWeb) {
    // The drop-down's second entry.
    ASSERT_TRUE(wait_until(
        [&] {
          return x().click_at(kHelpArrowX, kButtonY) && x().key("Down") && x().key("Down") &&
                 x().key("Return") && wait_until(first_requested, milliseconds(700));
        },
        kEventTimeout, milliseconds(300)))
        << server().log_text();
  } else if (c.opener == Opener::EmailButton) {
    // The button is enabled once the configuration has been downloaded.
    ASSERT_TRUE(wait_until([&] { return x().click_at(kEmailX, kButtonY) && first_requested(); },
                           kEventTimeout, milliseconds(700)))
        << server().log_text();
  } else {
    ASSERT_TRUE(wait_until(first_requested, kEventTimeout)) << server().log_text();
  }
  EXPECT_TRUE(server().wait_for_request([&](const ServedRequest& r) {
    return r.path() == "/kids/admitted.html" && r.host.rfind(c.admitted_host, 0) == 0;
  })) << server().log_text();
  EXPECT_FALSE(server().was_requested("/kids/refused.html")) << server().log_text();
}

INSTANTIATE_TEST_SUITE_P(
    Sites, ExplorerOwnSites,
    ::testing::Values(OwnSite{"ConfiguredMainPage", "main.localhost", "/kids/main.html",
                              "www.main.localhost", Opener::StartUp},
                      OwnSite{"EmailWithItsMetaData", "mail.localhost", "/mail/inbox.html",
                              "extra.localhost", Opener::EmailButton},
                      OwnSite{"HelpFromTheWeb", "127.0.0.1", "/tovali/v200/group1/help.php3",
                              "127.0.0.1", Opener::HelpFromTheWeb}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tovali::testing
