#include "policy/NavigationGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "settings/ProhibitedLog.h"
#include "settings/Settings.h"

namespace tovali {

// The states the tests start from that no intent of the guard sets alone.
struct NavigationGuardTestAccess {
  static void set_url_number(NavigationGuard& guard, std::string number) {
    guard.set_url_number(std::move(number));
  }
  static void empty_main_mailbox(NavigationGuard& guard) { guard.m_pending_main_url.clear(); }
};

namespace {

using namespace std::chrono_literals;
using Access = NavigationGuardTestAccess;
using Sent = std::vector<std::pair<BrowserTarget, std::string>>;

class FakeClock : public Clock {
 public:
  TimePoint now() const override { return m_now; }
  void advance(std::chrono::milliseconds by) { m_now += by; }

 private:
  TimePoint m_now{std::chrono::hours(1)};
};

class FakeEffects : public GuardEffects {
 public:
  void navigate(BrowserTarget target, const std::string& url) override {
    if (fail_navigate) throw std::runtime_error("navigate failed");
    navigations.emplace_back(target, url);
  }
  void ShowMsgPanel(const std::string& text) override { messages.push_back(text); }
  bool popup_exists() const override { return popup_created; }
  bool popup_visible() const override { return popup_shown; }
  void set_nav_frame_width(int pixels) override { widths.push_back(pixels); }
  std::string ErrorPagePath() override { return "file:///opt/tovali/error.html"; }
  std::string MoreSitesPath() override { return "file:///opt/tovali/moresites.html"; }

  std::vector<std::pair<BrowserTarget, std::string>> navigations;
  std::vector<std::string> messages;
  std::vector<int> widths;
  bool popup_created = false;
  bool popup_shown = false;
  bool fail_navigate = false;
};

const char* const kMenuPage =
    "<body><a href=\"http001://www.example.com/\">Example</a>"
    "<!--URL001:AD:example.com--><!--URL001:SD:ads.example-->"
    "<!--URL002:AD:other.example--></body>";

class NavigationGuardTest : public ::testing::Test {
 protected:
  NavigationGuardTest() { guard.UpdateLists(); }

  // The child clicks a menu link: the navigation frame's guard cancels it and
  // queues its target.
  void click_menu_link(const std::string& link) {
    guard.mouse_down();
    ASSERT_EQ(guard.NavFrameBeforeNavigate2(link, RequestOrigin::LinkClick), Verdict::Cancel);
  }

  // Sites 001 and 002 of the menu page opened one after the other, so a
  // history step has rules saved under each URL.
  void open_two_sites() {
    guard.NavFrameNavigateComplete2(std::string(kMenuPage));
    click_menu_link("http001://www.example.com/");
    ASSERT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Proceed);
    click_menu_link("http002://www.other.example/");
    ASSERT_EQ(guard.WebBrowserBeforeNavigate2("http://www.other.example/"), Verdict::Proceed);
  }

  Settings settings;
  ProhibitedLog log;
  FakeEffects effects;
  FakeClock clock;
  NavigationGuard guard{settings, log, effects, clock};
};

TEST_F(NavigationGuardTest, MenuLinkOpensInTheMainFrameUnderItsRules) {
  EXPECT_TRUE(guard.NavFrameNavigateComplete2(std::string(kMenuPage)));
  click_menu_link("http001://www.example.com/");
  EXPECT_EQ(guard.URLNumber(), "001");
  EXPECT_EQ(guard.PendingMainURL(), "http://www.example.com/");
  EXPECT_EQ(guard.CurrentSiteURL(), "http://www.example.com/");

  guard.QueueTimerTimer();
  ASSERT_EQ(effects.navigations.size(), 1u);
  EXPECT_EQ(effects.navigations[0],
            std::make_pair(BrowserTarget::MainFrame, std::string("http://www.example.com/")));
  EXPECT_EQ(guard.PendingMainURL(), "http://www.example.com/");  // the tick does not empty it

  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Proceed);
  EXPECT_EQ(guard.PendingMainURL(), "");
  EXPECT_TRUE(guard.link_meta_data().has_saved("http://www.example.com"));
  EXPECT_TRUE(effects.messages.empty());
}

// One request, judged by the view that asks: the navigation frame opens a
// clicked menu link in the main frame; the main frame and the pop-up judge
// the same URL by the link rules.
TEST_F(NavigationGuardTest, EachRequestIsJudgedForTheViewThatAsks) {
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  const NavigationRequest clicked{"http001://www.example.com/", RequestOrigin::LinkClick,
                                  NavigationKind::Request, BrowserTarget::NavFrame};
  EXPECT_EQ(guard.BeforeNavigate2(clicked), Verdict::Cancel);
  EXPECT_EQ(guard.PendingMainURL(), "http://www.example.com/");
  EXPECT_EQ(guard.URLNumber(), "001");

  struct Case {
    BrowserTarget target;
    const char* url;
    Verdict verdict;
  };
  const Case cases[] = {
      {BrowserTarget::MainFrame, "http://www.example.com/", Verdict::Proceed},
      {BrowserTarget::PopupBrowser, "http://www.example.com/games", Verdict::Proceed},
      {BrowserTarget::MainFrame, "http://refused.example.net/", Verdict::Cancel},
      {BrowserTarget::PopupBrowser, "http://refused.example.net/b", Verdict::Cancel},
  };
  for (const Case& c : cases) {
    const NavigationRequest request{c.url, RequestOrigin::Page, NavigationKind::Request, c.target};
    EXPECT_EQ(guard.BeforeNavigate2(request), c.verdict) << c.url;
  }
  EXPECT_EQ(guard.PendingMainURL(), "");
  EXPECT_EQ(log.entries(),
            (TextList{"http://refused.example.net/", "http://refused.example.net/b"}));
  // The navigation frame lets a redirect of its loading page through.
  const NavigationRequest redirect{"http://elsewhere.example.net/", RequestOrigin::Page,
                                   NavigationKind::Redirect, BrowserTarget::NavFrame};
  EXPECT_EQ(guard.BeforeNavigate2(redirect), Verdict::Proceed);
}

TEST_F(NavigationGuardTest, RefusalMessageDependsOnTheLastClick) {
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  // Before any click: the redirect message.
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://refused.example.net/"), Verdict::Cancel);
  click_menu_link("http002://www.example.com/");  // 002 does not admit example.com
  clock.advance(999ms);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Cancel);
  clock.advance(1001ms);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://redirect.example.net/"), Verdict::Cancel);
  EXPECT_EQ(effects.messages,
            (TextList{NavigationGuard::kRedirectMessage, NavigationGuard::kClickedLinkMessage,
                      NavigationGuard::kRedirectMessage}));
  EXPECT_EQ(log.entries(), (TextList{"http://refused.example.net/", "http://www.example.com/",
                                     "http://redirect.example.net/"}));
}

TEST_F(NavigationGuardTest, SilentRefusalsAndErrorPages) {
  struct Case {
    const char* link;  // the menu link opened before
    const char* url;
    bool message;
    bool logged;
  };
  const Case cases[] = {
      {"http://www.example.com/", "res://ieframe.dll/dnserror.htm", true, false},
      {"http001://www.example.com/", "RES://ieframe.dll/dnserror.htm", false, false},
      {"http001://www.example.com/", "http://banner.ads.example/x", false, false},
      {"http002://www.other.example/", "http://banner.ads.example/x", true, true},
  };
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  for (const Case& c : cases) {
    effects.messages.clear();
    const std::size_t logged_before = log.size();
    guard.follow_menu_link(c.link);
    EXPECT_EQ(guard.WebBrowserBeforeNavigate2(c.url), Verdict::Cancel) << c.url;
    EXPECT_EQ(effects.messages.size(), c.message ? 1u : 0u) << c.link << " " << c.url;
    EXPECT_EQ(log.size() - logged_before, c.logged ? 1u : 0u) << c.link << " " << c.url;
  }
}

TEST_F(NavigationGuardTest, TheLogKeepsTheLast500Refusals) {
  for (int i = 0; i < 501; ++i)
    guard.WebBrowserBeforeNavigate2("http://x.example/" + std::to_string(i));
  ASSERT_EQ(log.size(), 500u);
  EXPECT_EQ(log.entries().front(), "http://x.example/1");
  EXPECT_EQ(log.entries().back(), "http://x.example/500");
}

TEST_F(NavigationGuardTest, AboutPagesAreCancelledQuietlyAndDropTrust) {
  for (const char* url : {"about:config", "ABOUT:plugins", "About:"}) {
    guard.open_program_page("file:///opt/tovali/help.html");
    EXPECT_EQ(guard.WebBrowserBeforeNavigate2(url), Verdict::Cancel) << url;
    EXPECT_FALSE(guard.TrustedNavigation()) << url;
    guard.prepare_history_step();
    EXPECT_EQ(guard.WebBrowserBeforeNavigate2(url, RequestOrigin::History), Verdict::Cancel) << url;
    EXPECT_FALSE(guard.HistoryStep()) << url;
  }
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_EQ(log.size(), 0u);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("about:blank"), Verdict::Proceed);
}

TEST_F(NavigationGuardTest, TrustedNavigationSkipsTheLinkRulesButNotTheParentLists) {
  settings.set_value("num_cust_prohibited_domains", "1");
  settings.set_value("cust_pd-0", "bad.example");
  guard.UpdateLists();
  guard.open_site("http://www.example.com/");
  guard.open_program_page("http://any.example.net/help");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("HTTP://ANY.example.net/help/", RequestOrigin::Program),
            Verdict::Proceed);
  EXPECT_EQ(guard.CurrentSiteURL(), "HTTP://ANY.example.net/help/");
  EXPECT_FALSE(guard.TrustedNavigation());
  guard.open_program_page("http://www.bad.example/");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.bad.example/", RequestOrigin::Program),
            Verdict::Cancel);
  EXPECT_FALSE(guard.TrustedNavigation());
  EXPECT_EQ(effects.messages.size(), 1u);
}

// "Just this time" admits the allowed address once. What its page does next
// (another page, www. of its domain, a redirect, which the browser asks
// about as the page's own navigations) is judged by the rules in force
// before: those of an un-numbered link (the same-domain rule of the current
// site) or of a numbered one. The page can still go back to the site it
// came from.
TEST_F(NavigationGuardTest, JustThisTimeAdmitsOneAddressUnderTheRulesBefore) {
  const struct {
    const char* link;
    const char* site;  // the link's target, as the browser reports it
    const char* number;
  } cases[] = {
      {"http://help.zoo.test/", "http://help.zoo.test/", ""},
      {"http001://www.example.com/", "http://www.example.com/", "001"},
  };
  for (const auto& c : cases) {
    Settings settings;
    ProhibitedLog log;
    FakeEffects effects;
    FakeClock clock;
    NavigationGuard guard{settings, log, effects, clock};
    guard.UpdateLists();
    guard.NavFrameNavigateComplete2(std::string(kMenuPage));
    guard.mouse_down();
    ASSERT_EQ(guard.NavFrameBeforeNavigate2(c.link, RequestOrigin::LinkClick), Verdict::Cancel);
    ASSERT_EQ(guard.WebBrowserBeforeNavigate2(c.site, RequestOrigin::Program), Verdict::Proceed);
    ASSERT_EQ(guard.URLNumber(), c.number) << c.link;
    const char* const allowed = "http://kids.example.net/games/1";
    ASSERT_EQ(guard.WebBrowserBeforeNavigate2(allowed), Verdict::Cancel) << c.link;

    guard.open_once(allowed);
    EXPECT_EQ(guard.PendingMainURL(), allowed);
    EXPECT_EQ(guard.WebBrowserBeforeNavigate2(allowed, RequestOrigin::Program), Verdict::Proceed)
        << c.link;
    EXPECT_EQ(guard.CurrentSiteURL(), c.site) << c.link;
    EXPECT_EQ(guard.URLNumber(), c.number) << c.link;
    EXPECT_FALSE(guard.TrustedNavigation()) << c.link;
    for (const char* next : {"http://kids.example.net/games/2", "http://www.kids.example.net/",
                             "http://kids.example.net/games/1"}) {
      EXPECT_EQ(guard.WebBrowserBeforeNavigate2(next), Verdict::Cancel) << c.link << " " << next;
    }
    EXPECT_EQ(guard.WebBrowserBeforeNavigate2(c.site), Verdict::Proceed) << c.link;
  }
}

// "Always" (the address is now a "More Sites" row) opens it as the current
// site: after an un-numbered link its domain is admitted from then on.
TEST_F(NavigationGuardTest, AnAlwaysAllowedPageBecomesTheCurrentSite) {
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  click_menu_link("http://help.zoo.test/");
  ASSERT_EQ(guard.WebBrowserBeforeNavigate2("http://help.zoo.test/", RequestOrigin::Program),
            Verdict::Proceed);
  guard.open_program_page("http://kids.example.net/games/1");
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("http://kids.example.net/games/1", RequestOrigin::Program),
      Verdict::Proceed);
  EXPECT_EQ(guard.CurrentSiteURL(), "http://kids.example.net/games/1");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.kids.example.net/"), Verdict::Proceed);
}

// Trust belongs to one navigation of the program's own. Each sequence runs
// on a fresh guard whose rules admit only example.com (link 001); every
// navigation asked about is checked.
TEST(NavigationGuardTrust, OnlyTheProgramsOwnNavigationIsTrusted) {
  enum class Step {
    ProgramRequest,  // a trusted page queued by the program (local help)
    FailedLoad,      // the window queues the error page, trusted
    HoverResText,    // a status text naming "res://": the same
    HistoryStep,     // Back or Forward pressed
    Asked,           // the browser asks about a main-frame navigation
  };
  struct Event {
    Step step;
    const char* url = "";
    RequestOrigin origin = RequestOrigin::Page;
    Verdict verdict = Verdict::Cancel;
  };
  constexpr auto Page = RequestOrigin::Page;
  constexpr auto Queue = RequestOrigin::Program;
  constexpr auto History = RequestOrigin::History;
  constexpr auto Click = RequestOrigin::LinkClick;
  constexpr auto Go = Verdict::Proceed;
  constexpr auto Stop = Verdict::Cancel;
  const char* const refused = "http://refused.example.net/";
  const char* const error_page = "file:///opt/tovali/error.html";
  const struct {
    const char* name;
    std::vector<Event> events;
  } cases[] = {
      {"the program's request, asked as its own",
       {{Step::ProgramRequest, refused}, {Step::Asked, refused, Queue, Go}}},
      {"the same URL started by the page",
       {{Step::ProgramRequest, refused}, {Step::Asked, refused, Page, Stop}}},
      {"another URL asked as the queue's",
       {{Step::ProgramRequest, refused}, {Step::Asked, "http://other.example.net/", Queue, Stop}}},
      {"used up by its navigation",
       {{Step::ProgramRequest, "http://refused.example.net/a"},
        {Step::Asked, "http://refused.example.net/a", Queue, Go},
        {Step::Asked, refused, Click, Stop}}},
      {"dropped by a page navigation asked first",
       {{Step::ProgramRequest, refused},
        {Step::Asked, "http://www.example.com/frame", Page, Go},
        {Step::Asked, refused, Queue, Stop}}},
      {"a failed load, then the page navigates",
       {{Step::FailedLoad}, {Step::Asked, refused, Page, Stop}}},
      {"a failed load, then its error page",
       {{Step::FailedLoad}, {Step::Asked, error_page, Queue, Go}}},
      {"a res:// hover, then the page navigates",
       {{Step::HoverResText}, {Step::Asked, refused, Page, Stop}}},
      {"a history step reported as back/forward",
       {{Step::HistoryStep}, {Step::Asked, refused, History, Go}}},
      {"Back onto a same-document entry, then a link",
       {{Step::HistoryStep}, {Step::Asked, refused, Click, Stop}}},
      {"a history step, then the queue's request",
       {{Step::HistoryStep}, {Step::Asked, refused, Queue, Stop}}},
      {"a page's own history step without the button", {{Step::Asked, refused, History, Stop}}},
      {"a history step used up",
       {{Step::HistoryStep},
        {Step::Asked, "http://www.example.com/", History, Go},
        {Step::Asked, refused, History, Stop}}},
      {"a newer trust replaces an older one",
       {{Step::HistoryStep},
        {Step::ProgramRequest, "http://refused.example.net/help"},
        {Step::Asked, refused, History, Stop}}},
  };
  for (const auto& c : cases) {
    Settings settings;
    ProhibitedLog log;
    FakeEffects effects;
    FakeClock clock;
    NavigationGuard guard{settings, log, effects, clock};
    guard.UpdateLists();
    guard.set_program_pages({error_page});
    guard.open_site("http://www.example.com/");
    int asked = 0;
    for (const Event& e : c.events) {
      switch (e.step) {
        case Step::ProgramRequest:
          guard.open_program_page(e.url);
          break;
        case Step::FailedLoad:
          guard.load_failed(GuardedFrame::Main, "http://gone.example.net/");
          break;
        case Step::HoverResText:
          guard.internal_page_named(GuardedFrame::Main);
          break;
        case Step::HistoryStep:
          guard.prepare_history_step();
          break;
        case Step::Asked:
          EXPECT_EQ(guard.WebBrowserBeforeNavigate2(e.url, e.origin), e.verdict)
              << c.name << ", navigation " << asked << ": " << e.url;
          ++asked;
          break;
      }
    }
    EXPECT_FALSE(guard.TrustedNavigation()) << c.name;
  }
}

// A history step restores the rules saved for its URL only when the browser
// reports the navigation as the step.
TEST_F(NavigationGuardTest, OnlyAReportedHistoryStepRestoresSavedRules) {
  open_two_sites();
  guard.prepare_history_step();
  // A same-document step raises no navigation; the page's link comes next.
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/", RequestOrigin::LinkClick),
            Verdict::Cancel);
  EXPECT_EQ(guard.URLNumber(), "002");
  EXPECT_FALSE(guard.HistoryStep());
}

// The main frame shows no local file but the program's own pages; every
// other one is refused silently, trusted or not.
TEST_F(NavigationGuardTest, LocalFilesOnlyTheProgramsOwnPages) {
  guard.set_program_pages({"file:///opt/tovali/welcome.html", "file:///opt/tovali/help.html",
                           "file:///opt/tovali/error.html"});
  const struct {
    const char* url;
    Verdict verdict;
  } cases[] = {
      {"file:///opt/tovali/welcome.html", Verdict::Proceed},
      {"FILE:///opt/tovali/help.html#buttons", Verdict::Proceed},
      {"file:///opt/tovali/error.html", Verdict::Proceed},
      {"file:///etc/passwd", Verdict::Cancel},
      {"file:///etc/", Verdict::Cancel},
      {"file:///opt/tovali/", Verdict::Cancel},
      {"file:///opt/tovali/welcome.html?x", Verdict::Cancel},
      {"file:///opt/tovali/../tovali/welcome.html", Verdict::Cancel},
      {"file:///opt/tovali/WELCOME.HTML", Verdict::Cancel},
      {"file://host/opt/tovali/welcome.html", Verdict::Cancel},
  };
  for (const auto& c : cases) {
    for (const RequestOrigin origin : {RequestOrigin::Page, RequestOrigin::Program}) {
      guard.open_program_page(c.url);
      EXPECT_EQ(guard.WebBrowserBeforeNavigate2(c.url, origin), c.verdict) << c.url;
    }
  }
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_EQ(log.size(), 0u);
}

// Only the child's click in the menu page opens a link: a script's
// navigation, a frame, a history step or a dropped URL opens nothing.
TEST_F(NavigationGuardTest, NavigationFrameOpensOnlyClickedLinks) {
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  for (const char* url : {"http001://www.example.com/", "http://refused.example.net/",
                          "httpnav://menu.example.com/more.html", "file:///etc/passwd"}) {
    for (const RequestOrigin origin :
         {RequestOrigin::Page, RequestOrigin::History, RequestOrigin::Program}) {
      guard.open_menu_page("http://home.example.com/menu.html");
      Access::set_url_number(guard, "-");
      EXPECT_EQ(guard.NavFrameBeforeNavigate2(url, origin), Verdict::Cancel) << url;
      EXPECT_EQ(guard.PendingMainURL(), "") << url;
      EXPECT_EQ(guard.PendingNavURL(), "") << url;
      EXPECT_EQ(guard.URLNumber(), "-") << url;
    }
  }
  // The frame's own queued page still loads, whoever the engine says asked.
  guard.open_menu_page("http://home.example.com/menu.html");
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("http://home.example.com/menu.html", RequestOrigin::Page),
            Verdict::Proceed);
}

TEST_F(NavigationGuardTest, BackAndForwardRestoreTheSavedRules) {
  open_two_sites();

  // Back: the button prepares the step; the browser reports it as one.
  guard.prepare_history_step();
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/", RequestOrigin::History),
            Verdict::Proceed);
  EXPECT_FALSE(guard.HistoryStep());
  EXPECT_FALSE(guard.TrustedNavigation());
  EXPECT_EQ(guard.URLNumber(), "001");
  EXPECT_EQ(guard.CurrentSiteURL(), "http://www.example.com/");
  // The restored rules judge the next navigation.
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://images.example.com/a.png"), Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.other.example/"), Verdict::Cancel);
}

TEST_F(NavigationGuardTest, NavigationFrameLetsItsQueuedURLThrough) {
  struct Case {
    const char* queued;
    const char* reported;
    Verdict verdict;
  };
  const Case cases[] = {
      {"http://127.0.0.1:8470/tovali/menu.html", "http://127.0.0.1:8470/tovali/menu.html",
       Verdict::Proceed},
      {"HTTP://Home.Example.com", "http://home.example.com/", Verdict::Proceed},
      {"http://home.example.com/", "http://home.example.com/", Verdict::Proceed},
      {"http://home.example.com/", "http://home.example.com", Verdict::Cancel},
      {"http://home.example.com", "http://home.example.com//", Verdict::Cancel},
      {"http://home.example.com/a", "http://home.example.com/b", Verdict::Cancel},
      // The browser reports spaces and non-ASCII letters percent-encoded.
      {"http://home.example.com/my menu.html", "http://home.example.com/my%20menu.html",
       Verdict::Proceed},
      {"http://home.example.com/m\xC3\xA9.html?k=\xC3\xA9 t",
       "http://home.example.com/m%C3%A9.html?k=%C3%A9%20t", Verdict::Proceed},
      {"http://Home.Example.com:80/my%20menu.html", "http://home.example.com/my%20menu.html",
       Verdict::Proceed},
      {"http://home.example.com/my menu.html", "http://home.example.com/my+menu.html",
       Verdict::Cancel},
  };
  for (const Case& c : cases) {
    guard.open_menu_page(c.queued);
    Access::empty_main_mailbox(guard);
    EXPECT_EQ(guard.NavFrameBeforeNavigate2(c.reported, RequestOrigin::LinkClick), c.verdict)
        << c.queued << " " << c.reported;
    if (c.verdict == Verdict::Cancel) {
      // Any other difference makes it a link for the main frame.
      EXPECT_EQ(guard.PendingMainURL(), c.reported);
      EXPECT_EQ(guard.PendingNavURL(), "");
    }
  }
}

TEST_F(NavigationGuardTest, NavigationFrameLinks) {
  struct Case {
    const char* url;
    const char* pending_nav;
    const char* pending_main;
    const char* number;
  };
  const Case cases[] = {
      {"httpnav://menu.example.com/more.html", "http://menu.example.com/more.html", "", "-"},
      {"HTTPNAV://MoreSites", "file:///opt/tovali/moresites.html", "", "-"},
      {"httpnav://moresites/", "file:///opt/tovali/moresites.html", "", "-"},
      {"res://ieframe.dll/dnserror.htm", "file:///opt/tovali/error.html", "", "-"},
      {"http://www.example.org/ads", "", "", "-"},  // the blocked domain
      {"http001://www.example.com/", "", "http://www.example.com/", "001"},
      {"http://www.example.com/plain", "", "http://www.example.com/plain", ""},
      {"javascript:window.close()", "", "javascript:window.close()", ""},
  };
  for (const Case& c : cases) {
    guard.open_menu_page("http://home.example.com/menu.html");
    Access::empty_main_mailbox(guard);
    Access::set_url_number(guard, "-");
    EXPECT_EQ(guard.NavFrameBeforeNavigate2(c.url, RequestOrigin::LinkClick), Verdict::Cancel)
        << c.url;
    EXPECT_EQ(guard.PendingNavURL(), c.pending_nav) << c.url;
    EXPECT_EQ(guard.PendingMainURL(), c.pending_main) << c.url;
    EXPECT_EQ(guard.URLNumber(), c.number) << c.url;
  }
}

// The home site answers the queued menu page with a redirect: the engine
// asks again about the target, which continues the queued navigation in the
// navigation frame (the same URL as a request of its own is a menu link).
TEST_F(NavigationGuardTest, RedirectOfTheQueuedPageStaysInTheNavigationFrame) {
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  guard.open_menu_page("http://home.example.com/tovali/teindex.php3");
  ASSERT_EQ(guard.NavFrameBeforeNavigate2("http://home.example.com/tovali/teindex.php3",
                                          RequestOrigin::Program),
            Verdict::Proceed);
  Access::set_url_number(guard, "-");

  struct Case {
    const char* target;
    NavigationKind step;
    Verdict verdict;
    const char* pending_main;
  };
  const Case cases[] = {
      {"http://home.example.com/tovali/menu.html", NavigationKind::Redirect, Verdict::Proceed, ""},
      {"http://menu.example.net/", NavigationKind::Redirect, Verdict::Proceed, ""},
      {"http://www.example.org/ads", NavigationKind::Redirect, Verdict::Cancel, ""},
      {"http://home.example.com/tovali/menu.html", NavigationKind::Request, Verdict::Cancel,
       "http://home.example.com/tovali/menu.html"},
  };
  for (const Case& c : cases) {
    Access::empty_main_mailbox(guard);
    // Home was pressed meanwhile: a redirect leaves that request queued.
    guard.open_menu_page("http://home.example.com/tovali/home-again.php3");
    // The engine reports a redirect as no click; the request is the child's.
    const RequestOrigin origin =
        c.step == NavigationKind::Redirect ? RequestOrigin::Page : RequestOrigin::LinkClick;
    EXPECT_EQ(guard.NavFrameBeforeNavigate2(c.target, origin, c.step), c.verdict) << c.target;
    EXPECT_EQ(guard.PendingMainURL(), c.pending_main) << c.target;
    if (c.step == NavigationKind::Redirect) {
      EXPECT_EQ(guard.PendingNavURL(), "http://home.example.com/tovali/home-again.php3")
          << c.target;
      EXPECT_EQ(guard.URLNumber(), "-") << c.target;
    }
  }
  EXPECT_TRUE(effects.messages.empty());
}

TEST_F(NavigationGuardTest, MenuLinkClickAppliesTheWidthComment) {
  guard.NavFrameNavigateComplete2(std::string("<body><!--NavFrameWidth=220--></body>"));
  click_menu_link("http001://www.example.com/");
  EXPECT_EQ(effects.widths, (std::vector<int>{220}));
}

TEST_F(NavigationGuardTest, AnUnreadableMenuPageLeavesOnlyTheGlobalRules) {
  settings.set_value("use_global_meta_data", "1");
  settings.set_value("global-meta-data", "<!--URL001:AD:global.example-->");
  guard.NavFrameNavigateComplete2(std::string(kMenuPage));
  EXPECT_FALSE(guard.NavFrameNavigateComplete2(std::nullopt));
  EXPECT_EQ(guard.link_meta_data().NavPageHTML(), "");
  click_menu_link("http001://www.global.example/");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.global.example/"), Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Cancel);
}

TEST_F(NavigationGuardTest, SubFrameNavigationEmptiesTheMainMailbox) {
  guard.follow_menu_link("http://www.example.com/");
  guard.open_program_page("http://www.example.com/queued");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://frames.example.com/sub"), Verdict::Proceed);
  EXPECT_EQ(guard.PendingMainURL(), "");
  EXPECT_FALSE(guard.TrustedNavigation());
  guard.QueueTimerTimer();
  EXPECT_TRUE(effects.navigations.empty());
}

// The browser asks about the queue's request after the tick that issued it.
// A URL queued in between (the configured main page right after the start
// page) is not lost by that late question; a page's own navigation still
// empties the mailbox.
TEST_F(NavigationGuardTest, LateQuestionAboutAnIssuedURLKeepsANewerOne) {
  const struct {
    RequestOrigin origin;
    const char* asked;
    const char* left;
  } cases[] = {
      {RequestOrigin::Program, "file:///opt/tovali/welcome.html", "http://main.example/"},
      {RequestOrigin::Page, "file:///opt/tovali/welcome.html", ""},
      {RequestOrigin::Page, "http://frames.example/sub", ""},
  };
  for (const auto& c : cases) {
    effects.navigations.clear();
    guard.open_start_page("file:///opt/tovali/welcome.html");
    guard.QueueTimerTimer();
    guard.open_site("http://main.example/");
    guard.WebBrowserBeforeNavigate2(c.asked, c.origin);
    EXPECT_EQ(guard.PendingMainURL(), c.left) << c.asked;
  }
  // The newer URL goes out on the next tick; the question about it empties
  // the mailbox.
  guard.open_start_page("file:///opt/tovali/welcome.html");
  guard.QueueTimerTimer();
  guard.open_site("http://main.example/");
  guard.WebBrowserBeforeNavigate2("file:///opt/tovali/welcome.html", RequestOrigin::Program);
  effects.navigations.clear();
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations, (Sent{{BrowserTarget::MainFrame, "http://main.example/"}}));
  guard.WebBrowserBeforeNavigate2("http://main.example/", RequestOrigin::Program);
  EXPECT_EQ(guard.PendingMainURL(), "");
}

TEST_F(NavigationGuardTest, QueueTickSendsEachMailboxToItsFrame) {
  struct Case {
    bool popup_exists;
    bool popup_visible;
    BrowserTarget main_target;
  };
  const Case cases[] = {
      {false, false, BrowserTarget::MainFrame},
      {true, false, BrowserTarget::MainFrame},
      {true, true, BrowserTarget::PopupBrowser},
  };
  for (const Case& c : cases) {
    effects.navigations.clear();
    clock.advance(NavigationGuard::kRepeatWindow);  // no case repeats the one before
    effects.popup_created = c.popup_exists;
    effects.popup_shown = c.popup_visible;
    guard.open_site("http://main.example/");
    guard.open_menu_page("http://nav.example/");
    guard.QueueTimerTimer();
    EXPECT_EQ(effects.navigations, (Sent{{c.main_target, "http://main.example/"},
                                         {BrowserTarget::NavFrame, "http://nav.example/"}}));
  }
  // A failing navigate call leaves the mailboxes full for the next tick.
  effects.fail_navigate = true;
  EXPECT_NO_THROW(guard.QueueTimerTimer());
  EXPECT_EQ(guard.PendingMainURL(), "http://main.example/");
  EXPECT_EQ(guard.PendingNavURL(), "http://nav.example/");
}

// The browser asks about the queue's request some time after the tick that
// issued it; until then the ticks issue the full mailbox again. The guard
// issues a URL to a target once until the browser has asked about it, or
// again once the repeat window has passed without an answer.
TEST_F(NavigationGuardTest, QueueIssuesAURLOnceUntilTheBrowserAsks) {
  guard.open_site("http://main.example/");
  guard.open_menu_page("http://nav.example/");
  const Sent both{{BrowserTarget::MainFrame, "http://main.example/"},
                  {BrowserTarget::NavFrame, "http://nav.example/"}};
  guard.QueueTimerTimer();
  for (int tick = 0; tick < 14; ++tick) {
    clock.advance(200ms);
    guard.QueueTimerTimer();
  }
  clock.advance(199ms);
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations, both);
  clock.advance(1ms);  // the window has passed
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations.size(), 4u);

  // Asked about: the same URL queued again goes out at once.
  effects.navigations.clear();
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://MAIN.example", RequestOrigin::Program),
            Verdict::Proceed);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("http://nav.example/", RequestOrigin::Program),
            Verdict::Proceed);
  guard.open_site("http://main.example/");
  guard.open_menu_page("http://nav.example/");
  guard.QueueTimerTimer();
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations, both);
}

// On a busy machine the browser asks about the navigation frame's request
// only after the repeat window: the queue has issued it again, and the browser
// asks about both navigate calls, the later one as the page's navigation.
// Both questions are the queue's request; the load of the later one replaces
// the earlier, so refusing it would leave the frame empty for good.
TEST_F(NavigationGuardTest, AMenuPageIssuedTwiceIsLetThroughAtBothQuestions) {
  const std::string menu = "http://home.example/tovali/teindex.php3?menu";
  guard.open_menu_page(menu);
  guard.QueueTimerTimer();
  clock.advance(NavigationGuard::kRepeatWindow);
  guard.QueueTimerTimer();
  ASSERT_EQ(effects.navigations,
            (Sent{{BrowserTarget::NavFrame, menu}, {BrowserTarget::NavFrame, menu}}));
  // A script of the frame's old page goes elsewhere meanwhile: refused.
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("http://home.example/other", RequestOrigin::Page),
            Verdict::Cancel);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2(menu, RequestOrigin::Program), Verdict::Proceed);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2(menu, RequestOrigin::Page), Verdict::Proceed);
  // Both questions are answered: the page's own navigation to it is refused.
  EXPECT_EQ(guard.NavFrameBeforeNavigate2(menu, RequestOrigin::Page), Verdict::Cancel);
  EXPECT_EQ(guard.PendingNavURL(), "");

  // Issued once and asked about once: nothing more is owed.
  effects.navigations.clear();
  guard.open_menu_page(menu);
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations, (Sent{{BrowserTarget::NavFrame, menu}}));
  EXPECT_EQ(guard.NavFrameBeforeNavigate2(menu, RequestOrigin::Program), Verdict::Proceed);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2(menu, RequestOrigin::Page), Verdict::Cancel);
}

// A repeat is the same URL to the same target's browser within the window.
TEST_F(NavigationGuardTest, OnlyTheSameURLToTheSameBrowserIsARepeat) {
  guard.open_site("http://main.example/");
  effects.fail_navigate = true;
  guard.QueueTimerTimer();  // not issued
  effects.fail_navigate = false;
  guard.QueueTimerTimer();
  effects.popup_created = true;
  effects.popup_shown = true;
  guard.QueueTimerTimer();  // the pop-up's browser has had no request
  guard.QueueTimerTimer();
  // That pop-up closes and another one opens: its browser is new.
  effects.popup_created = false;
  effects.popup_shown = false;
  guard.QueueTimerTimer();
  effects.popup_created = true;
  effects.popup_shown = true;
  guard.QueueTimerTimer();
  guard.open_site("http://other.example/");
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations, (Sent{{BrowserTarget::MainFrame, "http://main.example/"},
                                       {BrowserTarget::PopupBrowser, "http://main.example/"},
                                       {BrowserTarget::PopupBrowser, "http://main.example/"},
                                       {BrowserTarget::PopupBrowser, "http://other.example/"}}));
  // The pop-up's browser asks about its request: the main frame's is still
  // waiting for its question.
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://other.example/", RequestOrigin::Program),
            Verdict::Proceed);
  effects.navigations.clear();
  effects.popup_shown = false;
  guard.open_site("http://main.example/");
  guard.QueueTimerTimer();
  effects.popup_shown = true;
  guard.open_site("http://other.example/");
  guard.QueueTimerTimer();
  EXPECT_EQ(effects.navigations, (Sent{{BrowserTarget::PopupBrowser, "http://other.example/"}}));
}

// The e-mail button, help from the web and the configured main page: the
// site's domain under link number 001, and the extra rules after it.
TEST_F(NavigationGuardTest, AnOpenedSiteIsAdmittedUnderNumber001) {
  guard.open_site("http://mail.example.com/inbox",
                  "<!--URL001:AD:cdn.example--><!--NavFrameWidth=220-->");
  EXPECT_EQ(guard.URLNumber(), "001");
  EXPECT_EQ(guard.CurrentSiteURL(), "http://mail.example.com/inbox");
  EXPECT_EQ(guard.PendingMainURL(), "http://mail.example.com/inbox");
  EXPECT_EQ(effects.widths, (std::vector<int>{220}));
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("http://mail.example.com/inbox", RequestOrigin::Program),
      Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://img.cdn.example/a.png"), Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://other.example/"), Verdict::Cancel);

  // The start page becomes the current site; the rules stay and no trust is
  // given.
  guard.set_program_pages({"file:///opt/tovali/welcome.html"});
  guard.open_start_page("file:///opt/tovali/welcome.html");
  EXPECT_EQ(guard.CurrentSiteURL(), "file:///opt/tovali/welcome.html");
  EXPECT_FALSE(guard.TrustedNavigation());
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("file:///opt/tovali/welcome.html", RequestOrigin::Program),
      Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Proceed);
}

// A frame's page that is missing, names an internal page or failed to load
// is replaced by the error page in the same frame.
TEST_F(NavigationGuardTest, TheErrorPageReplacesAFramesFailedPage) {
  enum class Report { Missing, InternalPage, Failed };
  const std::string error_page = effects.ErrorPagePath();
  const struct {
    GuardedFrame frame;
    Report report;
    const char* failed_url;
    std::string main;
    std::string nav;
    bool trusted;
  } cases[] = {
      {GuardedFrame::Main, Report::Missing, "", error_page, "", false},
      {GuardedFrame::Main, Report::InternalPage, "", error_page, "", true},
      {GuardedFrame::Main, Report::Failed, "http://gone.example/", error_page, "", true},
      {GuardedFrame::Main, Report::Failed, "FILE:///opt/tovali/error.html", "", "", false},
      {GuardedFrame::Navigation, Report::Missing, "", "", error_page, false},
      {GuardedFrame::Navigation, Report::InternalPage, "", "", error_page, false},
      {GuardedFrame::Navigation, Report::Failed, "http://gone.example/", "", error_page, false},
      {GuardedFrame::Navigation, Report::Failed, "file:///opt/tovali/error.html", "", "", false},
  };
  for (const auto& c : cases) {
    NavigationGuard fresh{settings, log, effects, clock};
    switch (c.report) {
      case Report::Missing:
        fresh.page_missing(c.frame);
        break;
      case Report::InternalPage:
        fresh.internal_page_named(c.frame);
        break;
      case Report::Failed:
        fresh.load_failed(c.frame, c.failed_url);
        break;
    }
    const int index = static_cast<int>(&c - cases);
    EXPECT_EQ(fresh.PendingMainURL(), c.main) << index;
    EXPECT_EQ(fresh.PendingNavURL(), c.nav) << index;
    EXPECT_EQ(fresh.TrustedNavigation(), c.trusted) << index;
  }
}

TEST_F(NavigationGuardTest, NewWindowRequests) {
  struct Case {
    const char* allow;
    bool popup_exists;
    NewWindowDecision decision;
    bool message;
  };
  const Case cases[] = {
      {"0", false, NewWindowDecision::Refuse, true},
      {"", false, NewWindowDecision::Refuse, true},
      {"yes", true, NewWindowDecision::Refuse, true},
      {"1", true, NewWindowDecision::Drop, false},
      {"1", false, NewWindowDecision::OpenPopup, false},
  };
  for (const Case& c : cases) {
    effects.messages.clear();
    settings.set_value("allow_new_window", c.allow);
    effects.popup_created = c.popup_exists;
    EXPECT_EQ(guard.WebBrowserNewWindow2(), c.decision) << c.allow;
    EXPECT_EQ(effects.messages,
              c.message ? TextList{NavigationGuard::kNewWindowMessage} : TextList{})
        << c.allow;
    EXPECT_EQ(guard.NavFrameNewWindow2(), NewWindowDecision::Drop);
  }
}

TEST_F(NavigationGuardTest, TimeUpAdmitsOnlyItsPageAndRefusesTheChildSilently) {
  const std::string page = "file:///state/timeup.html";
  settings.set_value("allow_new_window", "1");
  open_two_sites();
  guard.begin_time_up(page);
  EXPECT_TRUE(guard.time_is_up());
  EXPECT_EQ(guard.PendingMainURL(), page);
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("FILE:///state/timeup.html#top", RequestOrigin::Program),
      Verdict::Proceed);

  // A menu link, a link of the page, a step back, the program's own trusted
  // page and a new window: all refused without a word, and the time-up page
  // comes back after a main-frame refusal.
  guard.mouse_down();
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("http001://www.example.com/", RequestOrigin::LinkClick),
            Verdict::Cancel);
  EXPECT_EQ(guard.PendingMainURL().find("example.com"), std::string::npos);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("httpnav://www.example.com/", RequestOrigin::LinkClick),
            Verdict::Cancel);
  EXPECT_TRUE(guard.PendingNavURL().empty());
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/", RequestOrigin::LinkClick),
            Verdict::Cancel);
  EXPECT_EQ(guard.PendingMainURL(), page);
  guard.prepare_history_step();
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/", RequestOrigin::History),
            Verdict::Cancel);
  guard.open_program_page("file:///opt/tovali/error.html");
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("file:///opt/tovali/error.html", RequestOrigin::Program),
      Verdict::Cancel);
  EXPECT_EQ(guard.WebBrowserNewWindow2(), NewWindowDecision::Drop);
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_EQ(log.entries().size(), 0u);

  // The parent added time: the main frame goes back to the start page at
  // once, and the child's links work again.
  guard.set_program_pages({"file:///opt/tovali/welcome.html"});
  guard.end_time_up("file:///opt/tovali/welcome.html");
  EXPECT_FALSE(guard.time_is_up());
  EXPECT_EQ(guard.PendingMainURL(), "file:///opt/tovali/welcome.html");
  guard.QueueTimerTimer();
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("file:///opt/tovali/welcome.html", RequestOrigin::Program),
      Verdict::Proceed);
  guard.end_time_up("file:///opt/tovali/welcome.html");  // no longer up: nothing queued
  EXPECT_EQ(guard.PendingMainURL(), "");
  click_menu_link("http001://www.example.com/");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/"), Verdict::Proceed);
}

TEST_F(NavigationGuardTest, ClosedToSitesLoadsOnlyItsPageAndTheProgramsOwn) {
  const std::string page = "file:///state/unreadable.html";
  settings.set_value("allow_new_window", "1");
  guard.set_program_pages({"file:///opt/tovali/welcome.html", page});
  guard.close_to_sites(page);
  EXPECT_TRUE(guard.closed_to_sites());
  EXPECT_EQ(guard.PendingNavURL(), page);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2(page, RequestOrigin::Program), Verdict::Proceed);

  // The menu page, a site opened by a button or by "Allow this site?", a
  // trusted program page that is not one of its own, a link of the start
  // page and a new window: all cancelled without a word.
  guard.open_menu_page("http://home.test/tovali/v200/group1/teindex.php3?menu");
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("http://home.test/tovali/v200/group1/teindex.php3?menu",
                                          RequestOrigin::Program),
            Verdict::Cancel);
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("http001://www.example.com/", RequestOrigin::LinkClick),
            Verdict::Cancel);
  EXPECT_TRUE(guard.PendingMainURL().empty());
  guard.open_site("http://www.example.com/");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://www.example.com/", RequestOrigin::Program),
            Verdict::Cancel);
  guard.open_program_page("http://home.test/tovali/v200/group1/help.php3");
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("http://home.test/tovali/v200/group1/help.php3",
                                            RequestOrigin::Program),
            Verdict::Cancel);
  guard.mouse_down();
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("https://www.example.com/", RequestOrigin::LinkClick),
            Verdict::Cancel);
  EXPECT_EQ(guard.WebBrowserNewWindow2(), NewWindowDecision::Drop);
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_EQ(log.entries().size(), 0u);

  // The program's own pages still show.
  guard.open_start_page("file:///opt/tovali/welcome.html");
  EXPECT_EQ(
      guard.WebBrowserBeforeNavigate2("file:///opt/tovali/welcome.html", RequestOrigin::Program),
      Verdict::Proceed);
  EXPECT_EQ(guard.WebBrowserBeforeNavigate2("about:blank"), Verdict::Proceed);
}

}  // namespace
}  // namespace tovali
