#include "session/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "activity/LocalDate.h"
#include "models/GeneratedPages.h"
#include "models/StartupPlan.h"
#include "models/WelcomeSetup.h"
#include "policy/PageLoadRules.h"
#include "session/HomeSiteCheck.h"
#include "settings/SettingsKeys.h"

namespace tovali {
namespace {

using testing::TempDir;

// The window around the session: it records what it is asked to do, in
// order, one line each.
class FakeEdge : public SessionEdge {
 public:
  std::string engine_url(const std::string& path) const override { return "file://" + path; }
  void ShowMsgPanel(const std::string& text) override { calls.push_back("message " + text); }
  bool msg_panel_visible() const override { return false; }
  void set_msg_panel_timer(bool on) override {
    calls.push_back(on ? "panel timer on" : "panel timer off");
  }
  void set_toolbar_buttons(bool enabled) override {
    calls.push_back(enabled ? "toolbar on" : "toolbar off");
  }
  void set_ask_button(AskButton state) override {
    calls.push_back(state == AskButton::Shown ? "ask button shown" : "ask button hidden");
  }
  void UpdateControls() override { calls.push_back("controls"); }
  void set_status_text(const std::string& text) override { calls.push_back("status " + text); }
  void show_minutes_left(std::optional<int> minutes) override { shown_minutes = minutes; }
  void close_popup() override { calls.push_back("close pop-up"); }
  RemoteConfigResult download_config() override {
    calls.push_back("download");
    return downloaded;
  }
  bool GetPassword() override {
    calls.push_back("password");
    return password_right;
  }
  void run_setup() override { calls.push_back("setup"); }
  WelcomeResult run_welcome() override {
    calls.push_back("welcome");
    return on_welcome ? on_welcome() : WelcomeResult::Later;
  }
  void tell_parent(const std::string& text) override { calls.push_back("tell " + text); }
  void set_page_load_rules(const std::string& encoded, const std::string& filter) override {
    page_load_rules.push_back(encoded);
    websocket_filters.push_back(filter);
  }
  void close_window() override { calls.push_back("close window"); }

  std::vector<std::string> calls;
  RemoteConfigResult downloaded;             // what download_config returns
  std::vector<std::string> page_load_rules;  // each set_page_load_rules, in order
  std::vector<std::string> websocket_filters;
  std::optional<int> shown_minutes;
  bool password_right = false;
  // What the parent does in the welcome; "Later" when unset.
  std::function<WelcomeResult()> on_welcome;
};

class FakeEffects : public GuardEffects {
 public:
  void navigate(BrowserTarget, const std::string&) override {}
  void ShowMsgPanel(const std::string& text) override {
    messages.push_back(text);
    if (on_message) on_message(text);
  }
  bool popup_exists() const override { return false; }
  bool popup_visible() const override { return false; }
  void set_nav_frame_width(int) override {}
  std::string ErrorPagePath() override { return "file:///opt/tovali/error.html"; }
  std::string MoreSitesPath() override { return "file:///opt/tovali/moresites.html"; }

  std::vector<std::string> messages;
  // Called with each message, as the window asks the session which button
  // its panel shows.
  std::function<void(const std::string&)> on_message;
};

// The local minute `offset` minutes from now as "HH:MM".
std::string clock_time_from_now(int offset) {
  const int minute = ((local_moment_now().minute_of_day + offset) % 1440 + 1440) % 1440;
  char text[6];
  std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
  return text;
}

class SessionTest : public ::testing::Test {
 protected:
  Locations locations() const {
    return {m_program.path(), m_config.path(), m_system.path(), m_state.path(), ""};
  }
  // Today's counts for the site `host` (all zero when it has none).
  HostActivity today(const std::string& host) const {
    const auto& days = session.activity_record()->days();
    if (days.empty()) return {};
    const auto& hosts = days.rbegin()->second.hosts;
    const auto found = hosts.find(host);
    return found == hosts.end() ? HostActivity{} : found->second;
  }

  TempDir m_program;
  TempDir m_config;
  TempDir m_system;
  TempDir m_state;
  FakeEdge edge;
  FakeEffects effects;
  SteadyClock clock;
  Session session{locations(), edge, effects, clock};
};

TEST_F(SessionTest, StartupChainRunsItsStepsInOrder) {
  session.open();
  EXPECT_EQ(edge.calls, (std::vector<std::string>{"controls"}));
  edge.calls.clear();

  session.begin_startup();
  const std::string start_page = "file://" + start_page_path(m_program.path());
  EXPECT_EQ(session.guard().PendingMainURL(), start_page);
  EXPECT_EQ(edge.calls, (std::vector<std::string>{"toolbar off"}));
  edge.calls.clear();

  session.finish_startup();
  EXPECT_EQ(edge.calls,
            (std::vector<std::string>{std::string("message ") + kLoadingMessage, "panel timer off",
                                      "download", "panel timer on", "toolbar on"}));
  EXPECT_EQ(session.guard().PendingNavURL(), session.HomeSite());
  EXPECT_FALSE(session.guard().PendingMainURL().empty());
}

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TEST_F(SessionTest, LocalMenuReplacesTheHomeSitesMenuAndIsJudgedAsOne) {
  Settings& settings = session.settings();
  settings.set_value(keys::local_menu, "1");
  settings.set_value(keys::num_menu_sites, "1");
  settings.set_value("mt-0", "Zoo");
  settings.set_value("mu-0", "http://www.zoo.example/kids/");
  settings.set_value("md-0", "pics.example");
  session.open();
  session.begin_startup();
  session.finish_startup();
  const std::string menu_path = session.locations().state_dir + "menu.html";
  EXPECT_EQ(session.guard().PendingNavURL(), "file://" + menu_path);
  EXPECT_EQ(session.HomeSite(), "file://" + menu_path);
  EXPECT_EQ(file_text(menu_path), local_menu_page_text(settings));
  // The configuration download still runs.
  EXPECT_NE(std::find(edge.calls.begin(), edge.calls.end(), "download"), edge.calls.end());

  // The navigation frame shows it and the child presses its button.
  NavigationGuard& guard = session.guard();
  EXPECT_EQ(guard.NavFrameBeforeNavigate2("file://" + menu_path, RequestOrigin::Program),
            Verdict::Proceed);
  guard.NavFrameNavigateComplete2(file_text(menu_path));
  EXPECT_EQ(
      guard.NavFrameBeforeNavigate2("HTTP001://www.zoo.example/kids/", RequestOrigin::LinkClick),
      Verdict::Cancel);
  EXPECT_EQ(guard.PendingMainURL(), "HTTP://www.zoo.example/kids/");
  EXPECT_EQ(guard.URLNumber(), "001");
  const struct {
    const char* url;
    Verdict verdict;
  } cases[] = {
      {"http://www.zoo.example/kids/", Verdict::Proceed},
      {"http://shop.zoo.example/", Verdict::Proceed},
      {"http://pics.example/lion.png", Verdict::Proceed},
      {"http://other.example/", Verdict::Cancel},
  };
  for (const auto& c : cases) EXPECT_EQ(guard.WebBrowserBeforeNavigate2(c.url), c.verdict) << c.url;
  // The main frame may show the page too, as the program's own.
  EXPECT_TRUE(guard.is_program_page("file://" + menu_path));

  // A changed list is written when the setup dialog saves it.
  settings.set_value("mt-0", "Zoo & Friends");
  session.UpdateLists();
  EXPECT_NE(file_text(menu_path).find("Zoo &amp; Friends"), std::string::npos);
}

// The welcome comes after the start-up on settings made from the factory
// defaults; "Done" with "Sites I choose here"
// puts the program's own menu page in the navigation frame, "Later" leaves
// the home site's menu and the welcome due.
TEST_F(SessionTest, TheWelcomeFollowsTheStartUpUntilDone) {
  const struct {
    const char* name;
    const char* welcome_done;  // nullptr: as the factory settings have it
    WelcomeResult answer;
    bool shown;
    bool own_menu;
    bool unreadable_system_settings = false;
  } cases[] = {
      {"later", nullptr, WelcomeResult::Later, true, false},
      {"done", nullptr, WelcomeResult::Done, true, true},
      {"completed before", "1", WelcomeResult::Done, false, false},
      // The kiosk stays closed and the administrator's locks are unknown.
      {"settings.conf unreadable", nullptr, WelcomeResult::Done, false, false, true},
  };
  for (const auto& c : cases) {
    TempDir program, config, system, state;
    // A folder where settings.conf should be: it exists but cannot be read.
    if (c.unreadable_system_settings) {
      ASSERT_TRUE(std::filesystem::create_directory(system.path() + "settings.conf"));
    }
    FakeEdge fake_edge;
    FakeEffects fake_effects;
    Session fresh({program.path(), config.path(), system.path(), state.path(), ""}, fake_edge,
                  fake_effects, clock);
    if (c.welcome_done) fresh.settings().set_value("welcome_done", c.welcome_done);
    fake_edge.on_welcome = [&] {
      if (c.answer == WelcomeResult::Done) {
        WelcomeAnswers answers;
        answers.new_password = answers.new_password_again = "tulip";
        EXPECT_TRUE(finish_welcome(fresh, answers).done) << c.name;
      }
      return c.answer;
    };
    fresh.open();
    fresh.begin_startup();
    fresh.finish_startup();
    fake_edge.calls.clear();
    fresh.offer_welcome();
    EXPECT_EQ(std::count(fake_edge.calls.begin(), fake_edge.calls.end(), "welcome"),
              c.shown ? 1 : 0)
        << c.name;
    // Only a chosen home site is asked again.
    EXPECT_EQ(std::count(fake_edge.calls.begin(), fake_edge.calls.end(), "download"), 0) << c.name;
    const std::string menu = "file://" + state.path() + "menu.html";
    EXPECT_EQ(fresh.guard().PendingNavURL() == menu, c.own_menu) << c.name;
    EXPECT_EQ(welcome_needed(fresh.settings()),
              c.answer == WelcomeResult::Later || c.unreadable_system_settings)
        << c.name;
  }
}

// "The menu of a home site": its configuration is fetched once after the
// welcome, the grown-up hears whether it answered, then the menu opens.
TEST_F(SessionTest, AChosenHomeSiteIsAskedOnceAndTheGrownUpIsTold) {
  RemoteConfigResult answered;
  answered.outcome = RemoteConfigOutcome::Applied;
  RemoteConfigResult silent;
  silent.outcome = RemoteConfigOutcome::NoSiteAnswered;
  RemoteConfigResult refused;
  refused.outcome = RemoteConfigOutcome::NoSiteAnswered;
  refused.refusals = {"site-0 (https://home.example): the certificate is not trusted"};
  const struct {
    const char* name;
    RemoteConfigResult download;
    std::string told;
  } cases[] = {
      {"answered", answered, kHomeSiteAnswered},
      {"silent", silent, kHomeSiteSilent},
      {"refused", refused,
       std::string(kHomeSiteSilent) +
           "\rsite-0 (https://home.example): the certificate is not trusted"},
  };
  for (const auto& c : cases) {
    TempDir program, config, system, state;
    FakeEdge fake_edge;
    FakeEffects fake_effects;
    Session fresh({program.path(), config.path(), system.path(), state.path(), ""}, fake_edge,
                  fake_effects, clock);
    fake_edge.downloaded = c.download;
    fake_edge.on_welcome = [&] {
      WelcomeAnswers answers;
      answers.new_password = answers.new_password_again = "tulip";
      answers.sites = WelcomeSites::HomeSite;
      answers.home_site = "https://home.example";
      const WelcomeOutcome outcome = finish_welcome(fresh, answers);
      EXPECT_TRUE(outcome.done) << c.name;
      return outcome.result;
    };
    fresh.open();
    fresh.begin_startup();
    fresh.finish_startup();
    fake_edge.calls.clear();
    fresh.offer_welcome();
    std::vector<std::string> expected = {"welcome", "controls", "download"};
    if (c.download.outcome == RemoteConfigOutcome::Applied) expected.push_back("controls");
    expected.push_back("tell " + c.told);
    EXPECT_EQ(fake_edge.calls, expected) << c.name;
    EXPECT_EQ(fresh.settings().value(keys::download_config), "1") << c.name;
    EXPECT_EQ(fresh.settings().value("site-0"), "https://home.example") << c.name;
    EXPECT_EQ(fresh.guard().PendingNavURL(), fresh.HomeSite()) << c.name;
  }
}

TEST_F(SessionTest, WithoutLocalMenuTheHomeSiteIsShownAndNoMenuPageWritten) {
  session.settings().set_value(keys::num_menu_sites, "1");
  session.settings().set_value("mu-0", "http://www.zoo.example/");
  session.open();
  session.begin_startup();
  session.finish_startup();
  EXPECT_EQ(session.guard().PendingNavURL(), session.HomeSite());
  EXPECT_NE(session.guard().PendingNavURL().find("teindex.php3"), std::string::npos);
  EXPECT_FALSE(std::ifstream(session.locations().state_dir + "menu.html").good());
}

// The page guard gets the rules before the engine hears any verdict that
// changed them, and only then: at the start, when a menu link brings the
// menu page's rules and its link number, when the parent's lists change.
TEST_F(SessionTest, ThePageGuardGetsTheRulesWhenTheyChange) {
  session.open();
  ASSERT_EQ(edge.page_load_rules.size(), 1u);
  auto rules = decode_page_load_rules(edge.page_load_rules.back());
  ASSERT_TRUE(rules.has_value());
  EXPECT_EQ(rules->program_prefixes,
            (TextList{"file://" + m_program.path(), "file://" + m_state.path()}));
  EXPECT_EQ(edge.websocket_filters.back(), "");

  // A link of the menu page read: its rules and number, before its verdict
  // is used.
  session.guard().NavFrameNavigateComplete2(std::string("<!--URL001:AD:zoo.example-->"));
  session.guard().mouse_down();
  // The navigation frame hands the link to the main frame.
  EXPECT_EQ(session.BeforeNavigate2({"http001://www.zoo.example/", RequestOrigin::LinkClick,
                                     NavigationKind::Request, BrowserTarget::NavFrame}),
            Verdict::Cancel);
  ASSERT_EQ(edge.page_load_rules.size(), 2u);
  rules = decode_page_load_rules(edge.page_load_rules.back());
  ASSERT_TRUE(rules.has_value());
  EXPECT_NE(rules->rules_text.find("ZOO.EXAMPLE"), std::string::npos);
  EXPECT_EQ(rules->url_number, "001");
  // The main frame's navigation to it and the page's own navigation change
  // nothing: nothing is sent.
  session.BeforeNavigate2({"http://www.zoo.example/", RequestOrigin::Program,
                           NavigationKind::Request, BrowserTarget::MainFrame});
  session.BeforeNavigate2({"http://www.zoo.example/next", RequestOrigin::Page,
                           NavigationKind::Request, BrowserTarget::MainFrame});
  EXPECT_EQ(edge.page_load_rules.size(), 2u);

  // The parent prohibits a domain: the rules and the WebSocket filter.
  session.settings().set_value("num_cust_prohibited_domains", "1");
  session.settings().set_value("cust_pd-0", "bad.example");
  session.UpdateLists();
  ASSERT_EQ(edge.page_load_rules.size(), 3u);
  EXPECT_NE(edge.page_load_rules.back().find("cust_pd-0=bad.example"), std::string::npos);
  EXPECT_NE(edge.websocket_filters.back().find("bad\\\\.example"), std::string::npos);
}

TEST_F(SessionTest, ARefusedClickIsToldCountedAndCanBeAskedAbout) {
  session.open();
  const std::string refused = "http://www.refused.example/page";
  session.guard().mouse_down();
  const NavigationRequest request{refused, RequestOrigin::LinkClick, NavigationKind::Request,
                                  BrowserTarget::MainFrame};
  EXPECT_EQ(session.BeforeNavigate2(request), Verdict::Cancel);
  ASSERT_EQ(effects.messages, (std::vector<std::string>{NavigationGuard::kClickedLinkMessage}));
  EXPECT_EQ(today("refused.example").refused, 1u);
  EXPECT_TRUE(session.offers_grown_up_request(effects.messages[0]));
  EXPECT_EQ(session.grown_up_url(), refused);
  EXPECT_FALSE(session.offers_grown_up_request(NavigationGuard::kNewWindowMessage));

  // The navigation frame's refusals are no pages of the day.
  const NavigationRequest in_menu{"http://script.example/", RequestOrigin::Page,
                                  NavigationKind::Request, BrowserTarget::NavFrame};
  EXPECT_EQ(session.BeforeNavigate2(in_menu), Verdict::Cancel);
  EXPECT_EQ(today("script.example").refused, 0u);
}

// A refused load of a page counts as a blocked item of its host and says
// nothing to the child: no message, no call to the window, no line in
// prohurl.log, no refusal. The refused click that follows is the marker
// that the log and the panel do record what they are given.
TEST_F(SessionTest, ARefusedLoadIsCountedAsABlockedItemAndIsSilent) {
  const char* const loads[] = {
      "http://ads.example/banner.png",
      "https://cdn.ads.example/track.js?id=7",
      "http://www.Games.example:8080/api/score",
      "file:///etc/passwd",             // the program's own files count under no host
      "data:text/javascript,alert(1)",  // nor do addresses of no site
  };
  session.open();
  session.guard().open_site("http://zoo.example/");
  edge.calls.clear();
  const std::size_t logged = session.prohibited_log().size();
  for (const char* load : loads) session.page_load_refused(load);

  EXPECT_EQ(today("ads.example"), (HostActivity{0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(today("games.example:8080"), (HostActivity{0, 0, 0, 0, 0, 0, 1}));
  const auto& days = session.activity_record()->days();
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days.begin()->second.hosts.size(), 2u);
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_TRUE(edge.calls.empty());
  EXPECT_EQ(session.ask_button(), AskButton::Hidden);

  const std::string clicked = "http://www.refused.example/page";
  session.guard().mouse_down();
  ASSERT_EQ(session.BeforeNavigate2({clicked, RequestOrigin::LinkClick, NavigationKind::Request,
                                     BrowserTarget::MainFrame}),
            Verdict::Cancel);
  EXPECT_EQ(effects.messages, (std::vector<std::string>{NavigationGuard::kClickedLinkMessage}));
  ASSERT_EQ(session.prohibited_log().size(), logged + 1);
  EXPECT_EQ(session.prohibited_log().entries().back(), clicked);
  session.end_session();
  std::ifstream saved(m_state.path() + "prohurl.log");
  const std::string log((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(log.find(clicked), std::string::npos);
  for (const char* load : loads) EXPECT_EQ(log.find(load), std::string::npos) << load;
  // The count is in the day's file too.
  std::string text;
  for (const auto& entry : std::filesystem::directory_iterator(m_state.path() + "activity")) {
    std::ifstream day(entry.path());
    text += std::string((std::istreambuf_iterator<char>(day)), std::istreambuf_iterator<char>());
  }
  EXPECT_NE(text.find("host\tads.example\t0\t0\t0\t0\t0\t0\t2\n"), std::string::npos) << text;
}

// The toolbar's "Ask a grown-up" follows the main frame: shown by a refusal
// whose message offers the panel's button, hidden by the next page the
// child or the program opens there; the page's own navigations and the
// other views leave it alone.
TEST_F(SessionTest, TheToolbarOffersTheLastRefusalUntilTheNextAdmittedPage) {
  struct Step {
    const char* what;
    NavigationRequest request;
    Verdict verdict;
    AskButton button;          // afterwards
    const char* grown_up_url;  // afterwards
  };
  const std::string refused = "http://www.refused.example/page";
  const std::string other = "http://other.example/";
  const auto main = [](std::string url, RequestOrigin origin) {
    return NavigationRequest{std::move(url), origin, NavigationKind::Request,
                             BrowserTarget::MainFrame};
  };
  const Step steps[] = {
      {"a refusal in the pop-up, which has its own panel",
       {refused, RequestOrigin::LinkClick, NavigationKind::Request, BrowserTarget::PopupBrowser},
       Verdict::Cancel,
       AskButton::Hidden,
       "http://www.refused.example/page"},
      {"a silent refusal", main("file:///etc/passwd", RequestOrigin::Page), Verdict::Cancel,
       AskButton::Hidden, "http://www.refused.example/page"},
      {"a refused link", main(refused, RequestOrigin::LinkClick), Verdict::Cancel, AskButton::Shown,
       "http://www.refused.example/page"},
      {"a frame of the page", main("http://zoo.example/frame.html", RequestOrigin::Page),
       Verdict::Proceed, AskButton::Shown, "http://www.refused.example/page"},
      {"a refused script of the page", main(other, RequestOrigin::Page), Verdict::Cancel,
       AskButton::Shown, "http://other.example/"},
      {"an admitted link", main("http://zoo.example/next.html", RequestOrigin::LinkClick),
       Verdict::Proceed, AskButton::Hidden, "http://other.example/"},
      {"a refused link again", main(refused, RequestOrigin::LinkClick), Verdict::Cancel,
       AskButton::Shown, "http://www.refused.example/page"},
      {"a step back", main("http://zoo.example/", RequestOrigin::History), Verdict::Proceed,
       AskButton::Hidden, "http://www.refused.example/page"},
      {"a refused script", main(other, RequestOrigin::Page), Verdict::Cancel, AskButton::Shown,
       "http://other.example/"},
      {"a page the program queued", main("http://zoo.example/", RequestOrigin::Program),
       Verdict::Proceed, AskButton::Hidden, "http://other.example/"},
  };
  effects.on_message = [this](const std::string& text) { session.offers_grown_up_request(text); };
  session.open();
  session.guard().open_site("http://zoo.example/");
  edge.calls.clear();
  std::vector<std::string> told;
  AskButton last = AskButton::Hidden;
  for (const Step& step : steps) {
    EXPECT_EQ(session.BeforeNavigate2(step.request), step.verdict) << step.what;
    EXPECT_EQ(session.ask_button(), step.button) << step.what;
    EXPECT_EQ(session.grown_up_url(), step.grown_up_url) << step.what;
    if (step.button != last)
      told.push_back(step.button == AskButton::Shown ? "ask button shown" : "ask button hidden");
    last = step.button;
  }
  // The window is told of each change once.
  EXPECT_EQ(edge.calls, told);
}

// Any answer of the grown-up ends the toolbar's offer; a cancelled password
// prompt leaves it for another try.
TEST_F(SessionTest, TheToolbarsOfferEndsWithTheGrownUpsAnswer) {
  struct Case {
    std::optional<AllowSiteChoice> choice;
    AskButton button;
  };
  const Case cases[] = {
      {std::nullopt, AskButton::Shown},
      {AllowSiteChoice::NotNow, AskButton::Hidden},
      {AllowSiteChoice::JustThisTime, AskButton::Hidden},
      {AllowSiteChoice::Always, AskButton::Hidden},
  };
  effects.on_message = [this](const std::string& text) { session.offers_grown_up_request(text); };
  session.open();
  int asked = 0;
  for (const Case& c : cases) {
    const std::string url = "http://refused.example/" + std::to_string(++asked);
    session.guard().mouse_down();
    ASSERT_EQ(session.BeforeNavigate2({url, RequestOrigin::LinkClick, NavigationKind::Request,
                                       BrowserTarget::MainFrame}),
              Verdict::Cancel);
    ASSERT_EQ(session.ask_button(), AskButton::Shown) << url;
    ASSERT_EQ(session.grown_up_url(), url);
    session.answer_grown_up_request(session.grown_up_url(), c.choice, [](std::string_view text) {
      ADD_FAILURE() << "unexpected message: " << text;
    });
    EXPECT_EQ(session.ask_button(), c.button) << url;
  }
}

TEST_F(SessionTest, TimeUpShowsItsPageUntilTheLimitIsLifted) {
  session.open();
  session.daily_time().start();
  EXPECT_EQ(edge.shown_minutes, std::nullopt);  // no limit, nothing shown

  session.settings().set_value(keys::bedtime,
                               clock_time_from_now(-1) + "-" + clock_time_from_now(5));
  session.update_daily_limits();
  EXPECT_TRUE(session.guard().time_is_up());
  EXPECT_EQ(session.guard().PendingMainURL(), "file://" + m_state.path() + "timeup.html");
  EXPECT_EQ(edge.calls.back(), "close pop-up");

  session.settings().set_value(keys::bedtime, "");
  session.update_daily_limits();
  EXPECT_FALSE(session.guard().time_is_up());
  EXPECT_EQ(session.guard().PendingMainURL(), "file://" + start_page_path(m_program.path()));
}

TEST_F(SessionTest, AGrownUpsAnswerIsAppliedAndRecorded) {
  struct Case {
    std::optional<AllowSiteChoice> choice;
    bool queued;  // the address is queued for the main frame
    bool listed;  // the address joined "More Sites"
    HostActivity counts;
  };
  const Case cases[] = {
      {std::nullopt, false, false, {0, 0, 1, 0, 0, 0}},
      {AllowSiteChoice::NotNow, false, false, {0, 0, 1, 0, 0, 1}},
      {AllowSiteChoice::JustThisTime, true, false, {0, 0, 1, 1, 0, 0}},
      {AllowSiteChoice::Always, true, true, {0, 0, 1, 0, 1, 0}},
  };
  session.open();
  int site = 0;
  for (const Case& c : cases) {
    const std::string host = "site" + std::to_string(++site) + ".example";
    const std::string url = "http://" + host + "/";
    session.answer_grown_up_request(url, c.choice, [](std::string_view text) {
      ADD_FAILURE() << "unexpected message: " << text;
    });
    EXPECT_EQ(session.guard().PendingMainURL() == url, c.queued) << host;
    EXPECT_EQ(session.guard().TrustedNavigation(), c.queued) << host;
    const std::string more_sites = session.settings().value(keys::num_moresites);
    EXPECT_EQ(!more_sites.empty() && more_sites != "0", c.listed) << host;
    EXPECT_TRUE(today(host) == c.counts) << host;
    // Any other navigation drops the trust: the next case starts without.
    session.BeforeNavigate2({"about:blank"});
  }
  // "Always" was saved with the settings.
  Settings stored;
  ConfigStore(m_config.path()).read_config(stored);
  EXPECT_EQ(stored.value(keys::num_moresites), session.settings().value(keys::num_moresites));
}

TEST_F(SessionTest, ClosingAsksForThePasswordWhenTheSettingsSaySo) {
  session.settings().set_value(keys::req_pw_close, "1");
  session.CloseProgram();
  EXPECT_FALSE(session.close_allowed());
  EXPECT_EQ(edge.calls, (std::vector<std::string>{"password"}));

  edge.password_right = true;
  session.CloseProgram();
  EXPECT_TRUE(session.close_allowed());
  EXPECT_EQ(edge.calls, (std::vector<std::string>{"password", "password", "close window"}));
}

}  // namespace
}  // namespace tovali
