#include "models/GeneratedPages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
  const std::string missing = dir() + "no-such-folder/";
  EXPECT_EQ(write_error_page(missing), missing + "error.html");
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
  EXPECT_FALSE(write_more_sites_page(dir() + "no-such-folder/", Settings()).has_value());
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
