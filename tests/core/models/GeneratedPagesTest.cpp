#include "models/GeneratedPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace tovali {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

class PageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("tovali-pages-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  std::string dir() const { return m_dir.string() + "/"; }

  std::filesystem::path m_dir;
};

TEST(ErrorPage, IsOneCrLfLineWithoutMarkup) {
  EXPECT_EQ(error_page_text(),
            "There was a problem getting a web page from the Internet or network. Please try "
            "again later or contact customer support.\r\n");
}

TEST(MoreSitesPage, WithoutEntriesSaysSo) {
  for (const char* count : {"", "0", "-3", "x"}) {
    Settings settings;
    settings.set_value("num_moresites", count);
    EXPECT_EQ(more_sites_page_text(settings),
              "<HTML>\r\n"
              "<HEAD><TITLE>Tovali Explorer - More Sites</TITLE></HEAD>\r\n"
              "<BODY>\r\n"
              "<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"-1\">\r\n"
              "There are no additional sites available.\r\n"
              "</BODY>\r\n"
              "</HTML>\r\n")
        << "count " << count;
  }
}

TEST(MoreSitesPage, WritesEntriesAsStoredInIndexOrder) {
  Settings settings;
  settings.set_value("num_moresites", "3");
  settings.set_value("ms_desc-0", "Zoo <animals>");
  settings.set_value("ms_url-0", "http://zoo.example/\"x\"");
  settings.set_value("ms_url-1", "http://empty-description.example/");
  settings.set_value("ms_desc-2", "No URL");
  EXPECT_EQ(more_sites_page_text(settings),
            "<HTML>\r\n"
            "<HEAD><TITLE>Tovali Explorer - More Sites</TITLE></HEAD>\r\n"
            "<BODY>\r\n"
            "<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"-1\">\r\n"
            "<A HREF=\"http://zoo.example/\"x\"\">Zoo <animals></A><BR><BR>\r\n"
            "<A HREF=\"http://empty-description.example/\"></A><BR><BR>\r\n"
            "<A HREF=\"\">No URL</A><BR><BR>\r\n"
            "</BODY>\r\n"
            "</HTML>\r\n");
}

// The lines of the program's own menu page between its head and its end.
std::string local_menu_body(const std::string& page) {
  const std::string begin = "<BODY>\r\n";
  const std::string end = "</BODY>\r\n</HTML>\r\n";
  const auto from = page.find(begin);
  if (from == std::string::npos || page.size() < end.size() ||
      page.compare(page.size() - end.size(), end.size(), end) != 0)
    return "malformed: " + page;
  return page.substr(from + begin.size(), page.size() - end.size() - from - begin.size());
}

TEST(LocalMenuPage, OneButtonAndItsDomainRulesPerEntry) {
  struct Entry {
    const char* title;
    const char* url;
    const char* domains;
  };
  struct Case {
    const char* what;
    std::vector<Entry> entries;
    const char* count;  // nullptr: the number of entries
    std::string body;
  };
  const Case cases[] = {
      {"no entries", {}, nullptr, ""},
      {"one entry, its own domain only",
       {{"Zoo", "http://www.zoo.example/kids/", ""}},
       nullptr,
       "<!--URL001:AD:zoo.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://www.zoo.example/kids/\">Zoo</A>\r\n"},
      {"listed domains, spaces and a port",
       {{"Zoo", "http://zoo.example:8470/", "  pics.example  CDN.Example:81 "}},
       nullptr,
       "<!--URL001:AD:zoo.example:8470-->\r\n"
       "<!--URL001:AD:pics.example-->\r\n"
       "<!--URL001:AD:cdn.example:81-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://zoo.example:8470/\">Zoo</A>\r\n"},
      {"a listed domain that is not one is left out",
       {{"Zoo", "http://zoo.example/", "bad-->x <b> good.example"}},
       nullptr,
       "<!--URL001:AD:zoo.example-->\r\n"
       "<!--URL001:AD:good.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://zoo.example/\">Zoo</A>\r\n"},
      {"title and address escaped",
       {{"Tom & <Jerry> \"'", "http://zoo.example/a?b=1&c=\"2\"", ""}},
       nullptr,
       "<!--URL001:AD:zoo.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://zoo.example/a?b=1&amp;c=&quot;2&quot;\">"
       "Tom &amp; &lt;Jerry&gt; &quot;&#39;</A>\r\n"},
      {"an https address opens through its numbered link; no title shows the address",
       {{"", "HTTPS://secure.example/", ""}},
       nullptr,
       "<!--URL001:AD:secure.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://secure.example/\">HTTPS://secure.example/</A>\r\n"},
      {"bad entries are left out and keep their numbers",
       {{"No scheme", "zoo.example", ""},
        {"Ftp", "ftp://files.example/", ""},
        {"No host", "http:///path", ""},
        {"Empty", "", ""},
        {"Script", "javascript:alert(1)", ""},
        {"Control", "http://zoo.example/\tx", ""},
        {"Good", "http://good.example/", ""}},
       nullptr,
       "<!--URL007:AD:good.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP007://good.example/\">Good</A>\r\n"},
      {"order kept, numbers in three digits",
       {{"One", "http://one.example/", ""}, {"Two", "http://two.example/", "x.example"}},
       nullptr,
       "<!--URL001:AD:one.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://one.example/\">One</A>\r\n"
       "<!--URL002:AD:two.example-->\r\n"
       "<!--URL002:AD:x.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP002://two.example/\">Two</A>\r\n"},
      {"the count limits the entries",
       {{"One", "http://one.example/", ""}, {"Two", "http://two.example/", ""}},
       "1",
       "<!--URL001:AD:one.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://one.example/\">One</A>\r\n"},
      {"a count beyond the entries reads missing ones as empty",
       {{"One", "http://one.example/", ""}},
       "3",
       "<!--URL001:AD:one.example-->\r\n"
       "<A CLASS=\"site\" HREF=\"HTTP001://one.example/\">One</A>\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Settings settings;
    settings.set_value("num_menu_sites", c.count ? c.count : std::to_string(c.entries.size()));
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
      const std::string n = std::to_string(i);
      settings.set_value("mt-" + n, c.entries[i].title);
      settings.set_value("mu-" + n, c.entries[i].url);
      settings.set_value("md-" + n, c.entries[i].domains);
    }
    const std::string page = local_menu_page_text(settings);
    EXPECT_EQ(local_menu_body(page), c.body);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n<HTML>\r\n<HEAD>", 0), 0u);
    EXPECT_NE(page.find("<TITLE>Tovali Explorer - Menu</TITLE>"), std::string::npos);
  }
}

TEST(LocalMenuPage, LinkNumbersStopAtNineHundredNinetyNine) {
  Settings settings;
  settings.set_value("num_menu_sites", "1001");
  for (int i = 0; i < 1001; ++i)
    settings.set_value("mu-" + std::to_string(i), "http://s" + std::to_string(i) + ".example/");
  const std::string page = local_menu_page_text(settings);
  EXPECT_NE(page.find("HREF=\"HTTP999://s998.example/\""), std::string::npos);
  EXPECT_EQ(page.find("s999.example"), std::string::npos);
}

TEST_F(PageFolder, LocalMenuPageIsWrittenAsMenuHtmlAndIsAProgramPage) {
  Settings settings;
  settings.set_value("num_menu_sites", "1");
  settings.set_value("mu-0", "http://zoo.example/");
  const auto path = write_local_menu_page(dir(), settings);
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(*path, dir() + "menu.html");
  EXPECT_EQ(read_file(*path), local_menu_page_text(settings));
  const auto pages = program_page_paths("/program/", dir());
  EXPECT_NE(std::find(pages.begin(), pages.end(), *path), pages.end());
  std::ofstream(dir() + "a-file") << "not a folder";
  EXPECT_FALSE(write_local_menu_page(dir() + "a-file/", settings).has_value());
}

TEST(HomeSite, DefaultLocationUsesTheSiteInUse) {
  Settings settings;
  settings.set_value("default_home_location", "1");
  settings.set_value("home_button_url", "http://elsewhere.example/menu.html");
  EXPECT_EQ(home_site_url(settings, "http://b.example", "/tovali/v200/group1"),
            std::string("http://b.example/tovali/v200/group1/teindex.php3?") + kHomeQueryWord);
}

TEST(HomeSite, OwnLocationUnlessSwitchIsExactlyOne) {
  for (const char* value : {"0", "", "yes"}) {
    Settings settings;
    settings.set_value("default_home_location", value);
    settings.set_value("home_button_url", "http://elsewhere.example/menu.html");
    EXPECT_EQ(home_site_url(settings, "http://b.example", "/p"),
              "http://elsewhere.example/menu.html");
  }
}

TEST_F(PageFolder, ErrorPageIsRewrittenEachTime) {
  std::ofstream(dir() + "error.html") << "stale";
  EXPECT_EQ(write_error_page(dir()), dir() + "error.html");
  EXPECT_EQ(read_file(dir() + "error.html"), error_page_text());
}

TEST_F(PageFolder, ErrorPagePathIsReturnedEvenWhenTheWriteFails) {
  std::ofstream(dir() + "a-file") << "not a folder";
  const std::string unwritable = dir() + "a-file/";
  EXPECT_EQ(write_error_page(unwritable), unwritable + "error.html");
}

TEST_F(PageFolder, MoreSitesPageIsWrittenByteForByte) {
  Settings settings;
  settings.set_value("num_moresites", "1");
  settings.set_value("ms_desc-0", "A");
  settings.set_value("ms_url-0", "http://a.example/");
  const auto path = write_more_sites_page(dir(), settings);
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(*path, dir() + "moresites.html");
  EXPECT_EQ(read_file(*path), more_sites_page_text(settings));
}

TEST_F(PageFolder, MoreSitesPageThatCannotBeWrittenGivesNothing) {
  std::ofstream(dir() + "a-file") << "not a folder";
  EXPECT_FALSE(write_more_sites_page(dir() + "a-file/", Settings()).has_value());
}

// The engine may read the page while the parent's list changes: a reader
// sees the old page or the new one, and no temporary is left beside it.
TEST_F(PageFolder, AReplacedPageIsNeverSeenHalfWritten) {
  Settings settings;
  settings.set_value("num_moresites", "1");
  settings.set_value("ms_desc-0", "A");
  settings.set_value("ms_url-0", "http://a.example/");
  const std::string old_text = more_sites_page_text(Settings());
  const std::string new_text = more_sites_page_text(settings);
  ASSERT_TRUE(write_more_sites_page(dir(), Settings()));
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < 200; ++i) write_more_sites_page(dir(), i % 2 ? Settings() : settings);
    done = true;
  });
  bool whole = true;
  while (!done && whole) {
    const std::string seen = read_file(dir() + "moresites.html");
    whole = seen == old_text || seen == new_text;
    EXPECT_TRUE(whole) << seen.size() << " bytes";
  }
  writer.join();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}), 1);
}

TEST(ErrorPageRules, MissingPageTitles) {
  const struct {
    const char* title;
    bool missing;
  } cases[] = {
      {"404 Not Found", true}, {"Error: 404 not found here", true},
      {"404 NOT FOUND", true}, {"404 - page gone", false},
      {"Not Found", false},    {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(title_reports_missing_page(c.title), c.missing) << c.title;
}

TEST(ErrorPageRules, InternalPageStatusTexts) {
  EXPECT_TRUE(status_names_internal_page("res://ieframe.dll/dnserror.htm"));
  EXPECT_TRUE(status_names_internal_page("Go to RES://x"));
  EXPECT_FALSE(status_names_internal_page("http://res.example/"));
  EXPECT_FALSE(status_names_internal_page(""));
}

}  // namespace
}  // namespace tovali
