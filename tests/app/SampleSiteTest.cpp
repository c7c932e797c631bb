// The sample home site (site/) as the test server serves it: the paths the
// program asks for answer as it needs, the menu page carries every kind of
// rule and link, and no link of the sample leads nowhere.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HarnessPaths.h"
#include "TempDir.h"
#include "TestServer.h"

namespace tovali::testing {
namespace {

namespace fs = std::filesystem;

const std::string kSitePath = "/tovali/v200/group1/";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string body_of(const std::string& answer) {
  const std::size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

// The server path that `href`, found on the page served at `page_path`,
// leads to; "" for a link that leaves the sample (port 8470) or is not a
// page address ("HTTPNAV://MORESITES").
std::string target_path(const std::string& href, const std::string& page_path) {
  static const std::regex absolute(R"(^[A-Za-z0-9]+://[^/]+:8470(/[^?#]*)?.*$)");
  std::smatch m;
  std::string path;
  if (std::regex_match(href, m, absolute)) {
    path = m[1].matched ? m[1].str() : "/";
  } else if (href.find(':') != std::string::npos) {
    return "";
  } else {
    path = page_path.substr(0, page_path.rfind('/') + 1) + href.substr(0, href.find('?'));
  }
  for (std::size_t at; (at = path.find("/./")) != std::string::npos;) path.erase(at, 2);
  if (path.size() >= 2 && path.compare(path.size() - 2, 2, "/.") == 0) path.pop_back();
  return path;
}

// Needs only the server: no display, no program.
class SampleSiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestServer::available()) GTEST_SKIP() << "python3 is missing";
    std::string error;
    m_sample = TestServer::start(source_dir() + "site", m_temp.path(), &error);
    ASSERT_TRUE(m_sample) << error;
  }
  std::string get(const std::string& target) { return http_get(m_sample->port(), target); }

  TempDir m_temp;
  std::unique_ptr<TestServer> m_sample;
};

TEST_F(SampleSiteTest, AnswersThePathsTheProgramAsksFor) {
  const std::string config = get(kSitePath + "teconfig.dat");
  EXPECT_EQ(config.rfind("HTTP/1.0 200", 0), 0u) << config;
  EXPECT_NE(config.find("Content-Type: text/plain"), std::string::npos) << config;
  const std::string lines = body_of(config);
  EXPECT_EQ(lines.rfind("program-version=200\r\n", 0), 0u) << lines;
  EXPECT_NE(lines.find("\r\nglobal-meta-data=<!--URL"), std::string::npos) << lines;
  EXPECT_EQ(lines.find('\n'), lines.find("\r\n") + 1) << "lines end with CR LF";
  for (const std::string page : {"teindex.php3?menu", "help.php3", "farm.php3"}) {
    const std::string answer = get(kSitePath + page);
    EXPECT_EQ(answer.rfind("HTTP/1.0 200", 0), 0u) << page;
    EXPECT_NE(answer.find("Content-Type: text/html"), std::string::npos) << page;
  }
}

TEST_F(SampleSiteTest, MenuPageShowsEveryRuleCodeAndLinkKindInsideItsBody) {
  const std::string page = body_of(get(kSitePath + "teindex.php3?menu"));
  const std::string body = page.substr(page.find("<body>"));
  for (const std::string code : {"AD", "AU", "PU", "AS", "PS", "AT", "PT", "SD", "SS"})
    EXPECT_TRUE(std::regex_search(body, std::regex("<!--URL[0-9]{3}:" + code + ":")))
        << "no " << code << " rule";
  for (const std::string& marker :
       std::vector<std::string>{"<!--NAVFRAMEWIDTH=", "href=\"HTTP001://",
                                "href=\"HTTPNAV://127.0.0.1:8470/", "href=\"HTTPNAV://MORESITES\"",
                                "href=\"http://127.0.0.1:8470" + kSitePath + "help.php3\""})
    EXPECT_NE(body.find(marker), std::string::npos) << marker;
}

TEST_F(SampleSiteTest, EveryLinkAndFrameOfTheSampleLeadsToAPage) {
  const fs::path root = source_dir() + "site";
  static const std::regex reference(R"re((?:href|src)="([^"]+)")re");
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".html" && ext != ".php3") continue;
    const std::string page_path = "/" + fs::relative(entry.path(), root).generic_string();
    const std::string text = read_file(entry.path());
    for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
      const std::string href = (*it)[1].str();
      const std::string path = target_path(href, page_path);
      if (path.empty()) {
        EXPECT_TRUE(href == "HTTPNAV://MORESITES") << page_path << " leaves the sample: " << href;
        continue;
      }
      const std::string answer = get(path);
      EXPECT_EQ(answer.rfind("HTTP/1.0 200", 0), 0u) << page_path << ": " << href << " -> " << path;
      ++checked;
    }
  }
  EXPECT_GT(checked, 40);
}

}  // namespace
}  // namespace tovali::testing
