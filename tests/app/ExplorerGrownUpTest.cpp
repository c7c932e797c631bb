// The real program: a refused page's message offers "Ask a grown-up"; the
// password and "Allow this site?" decide whether the page opens once, is
// added to "More Sites", or nothing changes. Driven over AT-SPI; the
// server's request log and the files the program writes are the oracles.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "AccessibleBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using std::chrono::milliseconds;

class ExplorerGrownUp : public AccessibleBrowserTest {
 protected:
  // A site that the menu's rules do not admit.
  std::string asked_url() { return url("/kids/asked.html", "other.localhost"); }

  // The main frame's page sends it to the asked page once loaded: refused.
  // The menu also links to the "More Sites" page.
  void start_with_refusal() {
    write_page("/kids/asked.html", "Asked", "<p>asked</p>");
    set_setting("prevent_switch", "0");
    open_in_main_frame("/kids/start.html", redirect_to(asked_url()),
                       "<a href='HTTPNAV://MORESITES'>More Sites</a>");
  }

  // A page body that sends its frame to `target` once loaded.
  static std::string redirect_to(const std::string& target) {
    return "<script>window.addEventListener('load', function () {"
           " setTimeout(function () { location.href = '" +
           target + "'; }, 300); });</script>";
  }

  bool showing(const std::string& role, const std::string& name) {
    return wait_until(
        [&] {
          const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
          return std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode& n) {
            return n.role == role && n.name == name && n.showing;
          });
        },
        kEventTimeout, milliseconds(200));
  }

  // Where the main window's "Ask a grown-up" buttons stand in the tree: the
  // message panel's is the panel's sibling in the window's overlay, at the
  // panel's depth; the toolbar's is further down, among the toolbar's
  // buttons.
  struct AskButtons {
    bool panel_read = false;  // the message panel, with the refusal, is in the tree
    bool panel_showing = false;
    bool panel_button_showing = false;
    bool toolbar_button_read = false;
    bool toolbar_button_showing = false;
  };
  AskButtons ask_buttons() {
    AskButtons found;
    const auto nodes = m_probe->tree().value_or(std::vector<AccessibleNode>{});
    int panel_depth = -1;
    for (const AccessibleNode& n : nodes) {
      if (n.role == "push button" && n.name == kRefusalMessage) {
        found.panel_read = true;
        found.panel_showing = n.showing;
        panel_depth = n.depth;
      }
    }
    if (!found.panel_read) return found;
    for (const AccessibleNode& n : nodes) {
      if (n.role != "push button" || n.name != "Ask a grown-up") continue;
      if (n.depth == panel_depth) {
        found.panel_button_showing = found.panel_button_showing || n.showing;
      } else {
        found.toolbar_button_read = true;
        found.toolbar_button_showing = n.showing;
      }
    }
    return found;
  }

  // The message of start_with_refusal's refusal, as the panel is named.
  static constexpr const char* kRefusalMessage =
      "The site you are viewing is trying to load or redirect to a site that is not enabled.";

  ::testing::AssertionResult press(const std::string& name) {
    if (!showing("push button", name)) return ::testing::AssertionFailure() << name << " not shown";
    std::string error;
    if (!m_probe->press(name, &error)) return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
  }

  // Presses "Ask a grown-up" and types `password` into the prompt.
  void ask_with_password(const std::string& password) {
    ASSERT_TRUE(showing("push button", "Ask a grown-up"));
    screenshot("ask-a-grown-up");
    ASSERT_TRUE(press("Ask a grown-up"));
    const auto prompt = x().wait_for_window("^Enter Password$", kEventTimeout);
    ASSERT_TRUE(prompt.has_value()) << "no password prompt";
    ASSERT_TRUE(showing("push button", "OK"));
    const auto where = x().geometry(*prompt);
    ASSERT_TRUE(where.has_value());
    // Drawn: from then on it takes the keys (typed where the pointer is).
    ASSERT_TRUE(x().wait_for_screen(where->x, where->y, where->width, where->height,
                                    [](const Image& image) {
                                      return image.count([](Rgb p) {
                                        return p.r == 255 && p.g == 255 && p.b == 255;
                                      }) > 500;
                                    }))
        << "the password prompt was not drawn";
    x().move_mouse(where->x + where->width / 2, where->y + 50);
    x().type_text(password);
    x().key("Return");
  }

  // The text of today's activity file ("" while there is none).
  std::string activity_text() {
    const std::filesystem::path folder = state_dir() + "activity";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".txt") return read_file(entry.path().string());
    }
    return {};
  }

  // Waits until today's activity file gives the asked site the request
  // counts `expected`, "ASKED ONCE ALWAYS DECLINED". The file may be written
  // before the request is (the refusal alone gives "0 0 0 0"), so the wait
  // is for the counts, not for the site's line.
  ::testing::AssertionResult records_requests(const std::string& expected) {
    std::string counts = "(no line for other.localhost)";
    const bool recorded = wait_until(
        [&] {
          const std::string text = activity_text();
          const auto at = text.find("host\tother.localhost");
          if (at == std::string::npos) return false;
          std::string line = text.substr(at, text.find('\n', at) - at);
          // host, name, opened, refused, then the four request counts (the
          // blocked items after them are left out)
          for (int tab = 0; tab < 4; ++tab) line.erase(0, line.find('\t') + 1);
          std::size_t end = 0;
          for (int field = 0; field < 4 && end != std::string::npos; ++field)
            end = line.find('\t', field == 0 ? 0 : end + 1);
          if (end != std::string::npos) line.erase(end);
          std::replace(line.begin(), line.end(), '\t', ' ');
          counts = line;
          return counts == expected;
        },
        kEventTimeout);
    if (recorded) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "recorded requests: " << counts << ", expected " << expected;
  }

  static std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  std::size_t asked_requests() {
    std::size_t count = 0;
    for (const auto& r : server().requests()) count += r.path() == "/kids/asked.html" ? 1 : 0;
    return count;
  }

  // What the asked page does next after "Just this time".
  enum class NextStep {
    Script,    // its script goes to another page of its domain
    Redirect,  // its server answers with a 302 to www. of its domain
  };

  // "Just this time" after an un-numbered menu link opens the asked address
  // once; what comes next from it (`step`) is judged by the rules of that
  // link, which admit only the start page's domain, and is refused. The page
  // in the main frame reports "/kids/alive" every 400 ms: three reports after
  // the asked page's request are the marker that the program has decided.
  void expect_next_step_refused(NextStep step, const std::string& refused_path) {
    const std::string alive =
        "<script>var n = 0; setInterval(function () {"
        " new Image().src = '/kids/alive?' + (++n); }, 400);</script>";
    if (step == NextStep::Redirect) {
      write_site_file("kids/asked.html", "moved");
      write_site_file(
          "kids/asked.html.headers",
          "Status: 302\r\nLocation: " + url(refused_path, "www.other.localhost") + "\r\n");
    } else {
      write_page("/kids/asked.html", "Asked",
                 redirect_to(url(refused_path, "other.localhost")) + alive);
    }
    write_page(refused_path, "Refused", "<p>refused</p>");
    write_page("/kids/start.html", "Start", redirect_to(asked_url()) + alive);
    set_setting("prevent_switch", "0");
    start_with_menu(menu_page({url_comment("001", "AD", domain("leak.localhost"))},
                              {{"open", url("/kids/start.html", "start.localhost"), "Open"}},
                              click_script("open", 600)));
    ASSERT_TRUE(server().wait_for_path("/kids/start.html")) << server().log_text();
    ask_with_password("marigold");
    ASSERT_TRUE(press("Just this time"));
    ASSERT_TRUE(server().wait_for_path("/kids/asked.html")) << server().log_text();
    ASSERT_TRUE(wait_until(
        [&] {
          std::size_t reports = 0;
          bool asked = false;
          for (const auto& r : server().requests()) {
            asked = asked || r.path() == "/kids/asked.html";
            reports += asked && r.path() == "/kids/alive" ? 1 : 0;
          }
          return reports >= 3;
        },
        kEventTimeout))
        << server().log_text();
    EXPECT_FALSE(server().was_requested(refused_path)) << server().log_text();
    EXPECT_EQ(asked_requests(), 1u) << server().log_text();
  }

  ::testing::AssertionResult follow(const std::string& link) {
    std::string error;
    const bool followed =
        wait_until([&] { return m_probe->follow(link, &error); }, kEventTimeout, milliseconds(200));
    if (!followed) return ::testing::AssertionFailure() << "no link " << link << ": " << error;
    return ::testing::AssertionSuccess();
  }
};

TEST_F(ExplorerGrownUp, AlwaysAddsTheSiteToMoreSitesAndOpensIt) {
  start_with_refusal();
  ask_with_password("marigold");
  ASSERT_TRUE(showing("push button", "Always"));
  screenshot("allow-this-site");
  ASSERT_TRUE(press("Always"));
  EXPECT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.path() == "/kids/asked.html" && r.host.rfind("other.localhost", 0) == 0;
  })) << server().log_text();
  EXPECT_TRUE(records_requests("1 0 1 0"));
  EXPECT_EQ(settings().get("num_moresites"), "1");
  EXPECT_EQ(settings().get("ms_desc-0"), "other.localhost");
  EXPECT_EQ(settings().get("ms_url-0"), asked_url());

  // The child finds it on the "More Sites" page, whose link opens it again.
  ASSERT_TRUE(follow("More Sites"));
  ASSERT_TRUE(wait_until(
      [&] {
        return state_file("moresites.html")
                   .find("<A HREF=\"" + asked_url() + "\">other.localhost</A>") !=
               std::string::npos;
      },
      kEventTimeout))
      << state_file("moresites.html");
  ASSERT_TRUE(follow("other.localhost"));
  EXPECT_TRUE(wait_until([&] { return asked_requests() == 2; }, kEventTimeout))
      << server().log_text();
  screenshot("opened-from-more-sites");
}

TEST_F(ExplorerGrownUp, JustThisTimeOpensItOnce) {
  start_with_refusal();
  ask_with_password("marigold");
  ASSERT_TRUE(press("Just this time"));
  ASSERT_TRUE(server().wait_for_path("/kids/asked.html")) << server().log_text();
  EXPECT_TRUE(records_requests("1 1 0 0"));
  // Home opens the menu, whose link opens the start page again: its next
  // try is refused and offers the button once more.
  ASSERT_TRUE(home_round_trip());
  EXPECT_TRUE(showing("push button", "Ask a grown-up"));
  EXPECT_EQ(asked_requests(), 1u) << server().log_text();
  EXPECT_NE(settings().get("num_moresites"), "1");
}

// In the pop-up the refusal shows in the pop-up's own panel, with the
// button; "Just this time" opens the page there, not in the main frame.
TEST_F(ExplorerGrownUp, ThePopupsRefusalAsksAndOpensInThePopup) {
  set_setting("allow_new_window", "1");
  set_setting("prevent_switch", "0");
  // The page tells where it opened: a pop-up has the page that opened it.
  write_page("/kids/asked.html", "Asked",
             "<p>asked</p><script>new Image().src ="
             " '/kids/where?' + (window.opener ? 'popup' : 'main');</script>");
  write_page("/kids/where", "Where", "");
  write_page("/kids/popped.html", "Popped", redirect_to(asked_url()));
  open_in_main_frame("/kids/opener.html",
                     "<script>window.addEventListener('load', function () {"
                     " setTimeout(function () { window.open('/kids/popped.html'); }, 300);"
                     " });</script>");
  ASSERT_TRUE(x().wait_for_window(kPopupWindow, kEventTimeout).has_value());
  ASSERT_TRUE(server().wait_for_path("/kids/popped.html")) << server().log_text();
  ask_with_password("marigold");
  ASSERT_TRUE(press("Just this time"));
  EXPECT_TRUE(server().wait_for_request([](const ServedRequest& r) {
    return r.target == "/kids/where?popup";
  })) << server().log_text();
  EXPECT_EQ(asked_requests(), 1u) << server().log_text();
  EXPECT_TRUE(records_requests("1 1 0 0"));
  EXPECT_EQ(x().search(kPopupWindow).size(), 1u);
  screenshot("opened-in-popup");
}

// The panel goes after its time; the toolbar keeps offering the request,
// with the same password prompt, until the grown-up has answered.
TEST_F(ExplorerGrownUp, TheToolbarAsksOnceThePanelHasGone) {
  start_with_refusal();
  AskButtons buttons;
  ASSERT_TRUE(wait_until(
      [&] {
        buttons = ask_buttons();
        return buttons.panel_read && !buttons.panel_showing && !buttons.panel_button_showing &&
               buttons.toolbar_button_showing;
      },
      kEventTimeout, milliseconds(200)))
      << "panel read " << buttons.panel_read << ", panel showing " << buttons.panel_showing
      << ", its button showing " << buttons.panel_button_showing << ", the toolbar's showing "
      << buttons.toolbar_button_showing;
  screenshot("ask-from-the-toolbar");
  ask_with_password("marigold");
  ASSERT_TRUE(press("Not now"));
  // Recorded after the answer was applied.
  EXPECT_TRUE(records_requests("1 0 0 1"));
  buttons = ask_buttons();
  EXPECT_TRUE(buttons.toolbar_button_read);
  EXPECT_FALSE(buttons.toolbar_button_showing);
  EXPECT_EQ(asked_requests(), 0u) << server().log_text();
}

// The child's next admitted page in the main frame ends the offer.
TEST_F(ExplorerGrownUp, TheToolbarsButtonGoesWithTheNextAdmittedPage) {
  write_page("/kids/asked.html", "Asked", "<p>asked</p>");
  write_page("/kids/next.html", "Next", "<p>next</p>");
  set_setting("prevent_switch", "0");
  open_in_main_frame("/kids/start.html",
                     "<a href='/kids/next.html'>Next page</a>" + redirect_to(asked_url()));
  ASSERT_TRUE(wait_until([&] { return ask_buttons().toolbar_button_showing; }, kEventTimeout,
                         milliseconds(200)))
      << "the refusal offered no request in the toolbar";
  ASSERT_TRUE(follow("Next page"));
  ASSERT_TRUE(server().wait_for_path("/kids/next.html")) << server().log_text();
  // Admitted before it was asked for: the toolbar has been told.
  AskButtons buttons;
  ASSERT_TRUE(wait_until(
      [&] {
        buttons = ask_buttons();
        return buttons.toolbar_button_read;
      },
      kEventTimeout, milliseconds(200)));
  EXPECT_FALSE(buttons.toolbar_button_showing);
  screenshot("next-page-admitted");
}

TEST_F(ExplorerGrownUp, JustThisTimeRefusesTheAskedPagesScriptToItsDomain) {
  expect_next_step_refused(NextStep::Script, "/kids/next.html");
  screenshot("script-refused");
}

TEST_F(ExplorerGrownUp, JustThisTimeRefusesARedirectToWwwOfItsDomain) {
  expect_next_step_refused(NextStep::Redirect, "/kids/www.html");
  screenshot("redirect-refused");
}

// The child can open the password prompt herself: left open, it does not
// stop the daily time, which runs out behind it.
TEST_F(ExplorerGrownUp, ThePasswordPromptLeftOpenRunsTheDailyTimeOut) {
  set_setting("daily_minutes", "1");
  start_with_refusal();
  ASSERT_TRUE(press("Ask a grown-up"));
  ASSERT_TRUE(x().wait_for_window("^Enter Password$", kEventTimeout).has_value())
      << "no password prompt";
  ASSERT_TRUE(wait_for_file(state_dir() + "timeup.html", std::chrono::seconds(120)))
      << "the daily time stood still behind the password prompt";
  EXPECT_FALSE(x().search("^Enter Password$").empty());  // open all along
  screenshot("time-up-behind-the-prompt");
}

TEST_F(ExplorerGrownUp, AWrongPasswordChangesNothing) {
  start_with_refusal();
  ask_with_password("Marigold");
  ASSERT_TRUE(showing("label", "Wrong Password"));
  ASSERT_TRUE(press("Cancel"));
  // The request is recorded after the prompt closed, unanswered.
  EXPECT_TRUE(records_requests("1 0 0 0"));
  EXPECT_EQ(asked_requests(), 0u) << server().log_text();
  EXPECT_NE(settings().get("num_moresites"), "1");
  EXPECT_TRUE(x().search("^Allow this site\\?$").empty());
}

}  // namespace
}  // namespace tovali::testing
