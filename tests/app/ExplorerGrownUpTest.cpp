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
  void start_with_refusal() {
    write_page("/kids/asked.html", "Asked", "<p>asked</p>");
    set_setting("prevent_switch", "0");
    open_in_main_frame("/kids/start.html",
                       "<script>window.addEventListener('load', function () {"
                       " setTimeout(function () { location.href = '" +
                           asked_url() + "'; }, 300); });</script>");
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

  // The asked site's request counts in today's activity file, once recorded:
  // "ASKED ONCE ALWAYS DECLINED".
  std::string recorded_requests() {
    std::string counts;
    wait_until(
        [&] {
          const std::string text = activity_text();
          const auto at = text.find("host\tother.localhost");
          if (at == std::string::npos) return false;
          std::string line = text.substr(at, text.find('\n', at) - at);
          // host, name, opened, refused, then the four request counts
          for (int tab = 0; tab < 4; ++tab) line.erase(0, line.find('\t') + 1);
          std::replace(line.begin(), line.end(), '\t', ' ');
          counts = line;
          return true;
        },
        kEventTimeout);
    return counts;
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
  EXPECT_EQ(recorded_requests(), "1 0 1 0");
  EXPECT_EQ(settings().get("num_moresites"), "1");
  EXPECT_EQ(settings().get("ms_desc-0"), "other.localhost");
  EXPECT_EQ(settings().get("ms_url-0"), asked_url());
}

TEST_F(ExplorerGrownUp, JustThisTimeOpensItOnce) {
  start_with_refusal();
  ask_with_password("marigold");
  ASSERT_TRUE(press("Just this time"));
  ASSERT_TRUE(server().wait_for_path("/kids/asked.html")) << server().log_text();
  EXPECT_EQ(recorded_requests(), "1 1 0 0");
  // Home opens the menu, whose link opens the start page again: its next
  // try is refused and offers the button once more.
  ASSERT_TRUE(home_round_trip());
  EXPECT_TRUE(showing("push button", "Ask a grown-up"));
  EXPECT_EQ(asked_requests(), 1u) << server().log_text();
  EXPECT_NE(settings().get("num_moresites"), "1");
}

TEST_F(ExplorerGrownUp, AWrongPasswordChangesNothing) {
  start_with_refusal();
  ask_with_password("Marigold");
  ASSERT_TRUE(showing("label", "Wrong Password"));
  ASSERT_TRUE(press("Cancel"));
  // The request is recorded after the prompt closed, unanswered.
  EXPECT_EQ(recorded_requests(), "1 0 0 0");
  EXPECT_EQ(asked_requests(), 0u) << server().log_text();
  EXPECT_NE(settings().get("num_moresites"), "1");
  EXPECT_TRUE(x().search("^Allow this site\\?$").empty());
}

}  // namespace
}  // namespace tovali::testing
