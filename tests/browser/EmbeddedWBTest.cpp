// The web view wrapper against the real engine on a private Xvfb display:
// what the before-navigate, new-window, completion and failure events report,
// and the page body it reads. Local pages only; no server needed.
#include "browser/EmbeddedWB.h"

#include <gtest/gtest.h>
#include <gtkmm/main.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Polling.h"
#include "TempDir.h"
#include "XvfbDisplay.h"

namespace tovali {
namespace {

using testing::TempDir;
using testing::XvfbDisplay;

// One Xvfb and one GTK per test process (ctest runs each test on its own).
class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    m_temp = std::make_unique<TempDir>();
    std::string error;
    m_display = XvfbDisplay::start(m_temp->path() + "xvfb.log", &error);
    if (!m_display) {
      m_skip_reason = "no Xvfb: " + error;
      return;
    }
    for (const char* name : {"home", "config", "data", "cache", "runtime"})
      std::filesystem::create_directories(m_temp->path() + name);
    ::setenv("DISPLAY", m_display->name().c_str(), 1);
    ::setenv("HOME", (m_temp->path() + "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_temp->path() + "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (m_temp->path() + "data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (m_temp->path() + "cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (m_temp->path() + "runtime").c_str(), 1);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    gdk_set_allowed_backends("x11");
    m_gtk = std::make_unique<Gtk::Main>();
  }
  void TearDown() override {
    m_display.reset();
    m_temp.reset();
  }
  static std::string skip_reason() { return m_skip_reason; }

  static inline std::string m_skip_reason;

 private:
  std::unique_ptr<TempDir> m_temp;
  std::unique_ptr<XvfbDisplay> m_display;
  std::unique_ptr<Gtk::Main> m_gtk;
};

// Runs the main loop until `done` holds or the time (scaled) is up.
bool pump_until(const std::function<bool()>& done,
                std::chrono::milliseconds limit = testing::kEventTimeout) {
  const auto end = std::chrono::steady_clock::now() + testing::scaled(limit);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    while (Gtk::Main::events_pending()) Gtk::Main::iteration(false);
    g_usleep(2000);
  }
  return true;
}

class EmbeddedWBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!EngineEnvironment::skip_reason().empty()) GTEST_SKIP() << EngineEnvironment::skip_reason();
    m_pages = std::make_unique<TempDir>();
  }

  // Writes a local page and returns its file:// URL.
  std::string page(const std::string& name, const std::string& html) {
    const std::string path = m_pages->path() + name;
    std::ofstream(path) << html;
    return to_engine_url(path);
  }

  std::unique_ptr<TempDir> m_pages;
};

TEST_F(EmbeddedWBTest, BodyOfACompletedLoadKeepsTheCommentsInsideIt) {
  EmbeddedWB view(BodyCapture::On);
  std::optional<std::string> body;
  bool completed = false;
  view.events().NavigateComplete2 = [&](const std::string&, const std::optional<std::string>& b) {
    body = b;
    completed = true;
  };
  view.Navigate(page("menu.html",
                     "<html><head><title>Menu</title></head><body><!--URL001:AD:zoo.example-->"
                     "<a href='HTTP001://zoo.example/'>Zoo</a></body></html>"));
  ASSERT_TRUE(pump_until([&] { return completed; }));
  ASSERT_TRUE(body.has_value());
  EXPECT_NE(body->find("<!--URL001:AD:zoo.example-->"), std::string::npos) << *body;
  EXPECT_EQ(body->rfind("<body", 0), 0u) << *body;
  EXPECT_EQ(view.LocationName(), "Menu");
}

TEST_F(EmbeddedWBTest, CancelStopsTheNavigationWithoutAFailure) {
  EmbeddedWB view;
  std::vector<std::string> asked;
  int failures = 0;
  int completions = 0;
  view.events().BeforeNavigate2 = [&](const NavigationRequest& request) {
    asked.push_back(request.url);
    return request.url.find("blocked") != std::string::npos ? Verdict::Cancel : Verdict::Proceed;
  };
  view.events().LoadFailed = [&](const std::string&) { ++failures; };
  view.events().LoadFinished = [&] { ++completions; };
  const std::string first = page("first.html", "<title>First</title><p>first</p>");
  const std::string blocked = page("blocked.html", "<title>Blocked</title>");
  const std::string after = page("after.html", "<title>After</title>");
  view.Navigate(first);
  ASSERT_TRUE(pump_until([&] { return completions == 1; }));
  view.Navigate(blocked);
  ASSERT_TRUE(pump_until([&] { return asked.size() == 2; }));
  EXPECT_EQ(view.location_url(), first);
  EXPECT_EQ(view.LocationName(), "First");
  // A later navigation completes after everything the cancelled one could
  // still report (a failure, a completion).
  view.Navigate(after);
  ASSERT_TRUE(pump_until([&] { return completions == 2; }));
  EXPECT_EQ(asked, (std::vector<std::string>{first, blocked, after}));
  EXPECT_EQ(view.location_url(), after);
  EXPECT_EQ(failures, 0);
}

TEST_F(EmbeddedWBTest, MenuLinkSchemesReachBeforeNavigateAsWritten) {
  EmbeddedWB view;
  std::vector<std::string> asked;
  view.events().BeforeNavigate2 = [&](const NavigationRequest& request) {
    asked.push_back(request.url);
    return Verdict::Cancel;
  };
  view.Navigate("HTTP001://Zoo.Example:8470/Kids/Page.html?Q=1");
  view.Navigate("HTTPNAV://MORESITES");
  ASSERT_TRUE(pump_until([&] { return asked.size() == 2; }));
  // Only the scheme is lower-cased.
  EXPECT_EQ(asked[0], "http001://Zoo.Example:8470/Kids/Page.html?Q=1");
  EXPECT_EQ(asked[1].substr(0, 19), "httpnav://MORESITES");
}

TEST_F(EmbeddedWBTest, BeforeNavigateTellsWhoStartedTheNavigation) {
  EmbeddedWB view;
  std::vector<std::pair<std::string, RequestOrigin>> asked;
  int completions = 0;
  view.events().BeforeNavigate2 = [&](const NavigationRequest& request) {
    asked.emplace_back(request.url, request.origin);
    EXPECT_EQ(request.target, BrowserTarget::MainFrame) << request.url;
    EXPECT_EQ(request.kind, NavigationKind::Request) << request.url;
    return Verdict::Proceed;
  };
  view.events().LoadFinished = [&] { ++completions; };
  const std::string third = page("third.html", "<p>third</p>");
  // A script's navigation.
  const std::string second =
      page("second.html",
           "<script>setTimeout(function () { location.href = 'third.html'; }, 100);</script>");
  // A click on a link (a click event, as a hand's click gives).
  const std::string first =
      page("first.html",
           "<a id='next' href='second.html'>next</a><script>setTimeout(function () {"
           " document.getElementById('next').dispatchEvent(new MouseEvent('click',"
           " {bubbles: true, cancelable: true, view: window})); }, 100);</script>");
  view.Navigate(first);
  ASSERT_TRUE(pump_until([&] { return completions == 3; }));
  ASSERT_TRUE(view.GoBack());
  ASSERT_TRUE(pump_until([&] { return asked.size() >= 4; }));
  EXPECT_EQ(asked[0], std::make_pair(first, RequestOrigin::Program));
  EXPECT_EQ(asked[1], std::make_pair(second, RequestOrigin::LinkClick));
  EXPECT_EQ(asked[2], std::make_pair(third, RequestOrigin::Page));
  EXPECT_EQ(asked[3], std::make_pair(second, RequestOrigin::History));
}

TEST_F(EmbeddedWBTest, TheProgramsOwnNavigationIsKnownInTheEnginesForm) {
  EmbeddedWB view;
  std::vector<std::pair<std::string, RequestOrigin>> asked;
  view.events().BeforeNavigate2 = [&](const NavigationRequest& request) {
    asked.emplace_back(request.url, request.origin);
    return Verdict::Cancel;
  };
  view.Navigate("HTTP://Menu.Example:8470/my menu/m\xC3\xA9.html?q=a b");
  ASSERT_TRUE(pump_until([&] { return asked.size() == 1; }));
  EXPECT_EQ(asked[0], std::make_pair(std::string("http://menu.example:8470/my%20menu/"
                                                 "m%C3%A9.html?q=a%20b"),
                                     RequestOrigin::Program));
}

// A page whose "javascript:" link (clicked as a hand's click would) changes
// the title, and whose second link, clicked afterwards, is the marker that
// the first click has been handled.
TEST_F(EmbeddedWBTest, ScriptLinksRunOnlyWhenBeforeNavigateLetsThem) {
  struct Case {
    ScriptLinks script_links;
    Verdict verdict;
    const char* title;  // once the marker link has been asked about
    bool asked;         // BeforeNavigate2 was asked about the script link
  };
  const Case cases[] = {
      {ScriptLinks::Run, Verdict::Cancel, "ran", false},
      {ScriptLinks::AskFirst, Verdict::Cancel, "Menu", true},
      {ScriptLinks::AskFirst, Verdict::Proceed, "ran", true},
  };
  const std::string click =
      "function hand(id) { document.getElementById(id).dispatchEvent(new MouseEvent('click',"
      " {bubbles: true, cancelable: true, view: window})); }"
      "setTimeout(function () { hand('js'); }, 100);"
      "setTimeout(function () { hand('marker'); }, 600);";
  const std::string menu =
      page("menu.html",
           "<title>Menu</title><a id='js' href=\"JavaScript:document.title='ran';void 0\">"
           "js</a> <a id='marker' href='marker.html'>marker</a><script>" +
               click + "</script>");
  const std::string marker = to_engine_url(m_pages->path() + "marker.html");
  for (const Case& c : cases) {
    EmbeddedWB view(BodyCapture::Off, c.script_links, BrowserTarget::NavFrame);
    std::vector<std::pair<std::string, RequestOrigin>> asked;
    view.events().BeforeNavigate2 = [&](const NavigationRequest& request) {
      asked.emplace_back(request.url, request.origin);
      EXPECT_EQ(request.target, BrowserTarget::NavFrame) << request.url;
      if (request.url == menu) return Verdict::Proceed;
      return request.url == marker ? Verdict::Cancel : c.verdict;
    };
    view.Navigate(menu);
    ASSERT_TRUE(pump_until([&] { return !asked.empty() && asked.back().first == marker; }));
    pump_until([&] { return view.LocationName() == c.title; }, std::chrono::milliseconds(2000));
    EXPECT_EQ(view.LocationName(), c.title);
    std::vector<std::pair<std::string, RequestOrigin>> expected{{menu, RequestOrigin::Program}};
    if (c.asked)
      expected.emplace_back("javascript:document.title='ran';void 0", RequestOrigin::LinkClick);
    expected.emplace_back(marker, RequestOrigin::LinkClick);
    EXPECT_EQ(asked, expected);
  }
}

TEST_F(EmbeddedWBTest, MissingPageRaisesLoadFailedAndStillCompletes) {
  EmbeddedWB view;
  std::string failed;
  int completions = 0;
  view.events().LoadFailed = [&](const std::string& url) { failed = url; };
  view.events().LoadFinished = [&] { ++completions; };
  const std::string missing = to_engine_url(m_pages->path() + "missing.html");
  view.Navigate(missing);
  ASSERT_TRUE(pump_until([&] { return completions == 1; }));
  EXPECT_EQ(failed, missing);
}

TEST_F(EmbeddedWBTest, NewWindowIsOpenedOnlyThroughAHandedOverView) {
  EmbeddedWB opener;
  std::unique_ptr<EmbeddedWB> popup;
  std::vector<std::string> popup_asked;
  int requests = 0;
  bool hand_over = false;
  opener.events().NewWindow2 = [&]() -> EmbeddedWB* {
    ++requests;
    if (!hand_over) return nullptr;
    popup = std::make_unique<EmbeddedWB>(opener);
    popup->events().BeforeNavigate2 = [&](const NavigationRequest& request) {
      popup_asked.push_back(request.url);
      EXPECT_EQ(request.target, BrowserTarget::PopupBrowser) << request.url;
      return Verdict::Proceed;
    };
    return popup.get();
  };
  const std::string target = page("target.html", "<p>target</p>");
  const std::string html = "<script>window.open('target.html');</script>";
  opener.Navigate(page("opener.html", html));
  ASSERT_TRUE(pump_until([&] { return requests == 1; }));
  EXPECT_FALSE(popup);

  hand_over = true;
  opener.Navigate(page("opener2.html", html));
  ASSERT_TRUE(pump_until([&] { return requests == 2 && !popup_asked.empty(); }));
  EXPECT_EQ(popup_asked.back(), target);
}

TEST(EngineURL, PathsBecomeFileURLsOtherTextsStay) {
  EXPECT_EQ(to_engine_url("/opt/te/error.html"), "file:///opt/te/error.html");
  EXPECT_EQ(to_engine_url("/opt/my pages/error.html"), "file:///opt/my%20pages/error.html");
  EXPECT_EQ(to_engine_url("http://a.example/"), "http://a.example/");
  EXPECT_EQ(to_engine_url(""), "");
}

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace
}  // namespace tovali
