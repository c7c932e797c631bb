#include <gtest/gtest.h>

#include "models/GrownUpRequest.h"
#include "models/SetupModel.h"
#include "policy/NavigationGuard.h"

namespace tovali {
namespace {

TEST(message_offers_grown_up_request, OnlyTheTwoRefusalsOfAPage) {
  EXPECT_TRUE(message_offers_grown_up_request(NavigationGuard::kClickedLinkMessage));
  EXPECT_TRUE(message_offers_grown_up_request(NavigationGuard::kRedirectMessage));
  EXPECT_FALSE(message_offers_grown_up_request(NavigationGuard::kNewWindowMessage));
  EXPECT_FALSE(message_offers_grown_up_request("\r\rPrinting..."));
  EXPECT_FALSE(message_offers_grown_up_request(""));
}

TEST(RequestHost, HostWithoutUserPortOrPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://Kids.Example.ORG/a/b.html", "kids.example.org"},
      {"https://user:pw@www.test:8080?q=1", "www.test"},
      {"http://a.test#top", "a.test"},
      {"http://[::1]:8000/x", "[::1]"},
      {"file:///home/page.html", ""},
      {"about:blank", ""},
      {"", ""},
  };
  for (const auto& [url, host] : cases) EXPECT_EQ(request_host(url), host) << url;
}

// The host after a user name is the one the address opens.
TEST(AllowSiteHeading, NamesTheHostTheAddressOpens) {
  EXPECT_EQ(allow_site_heading("http://www.test/p?x=1"), "www.test");
  EXPECT_EQ(allow_site_heading("http://www.kids.example%2Fgames@Evil.localhost/"),
            "evil.localhost");
  EXPECT_EQ(allow_site_heading("about:blank"), "an address without a site name");
}

TEST(AnswerFor, EveryChoiceAndCancel) {
  EXPECT_EQ(answer_for(std::nullopt), RequestAnswer::NoAnswer);
  EXPECT_EQ(answer_for(AllowSiteChoice::JustThisTime), RequestAnswer::AllowedOnce);
  EXPECT_EQ(answer_for(AllowSiteChoice::Always), RequestAnswer::AllowedAlways);
  EXPECT_EQ(answer_for(AllowSiteChoice::NotNow), RequestAnswer::Declined);
}

TEST(AddAllowedSite, FillsTheFirstEmptyRowWithTheHost) {
  Settings settings({"num_moresites=3", "ms_desc-0=Zoo", "ms_url-0=http://zoo.test/",
                     "ms_desc-1=", "ms_url-1=", "ms_desc-2=Sea", "ms_url-2=http://sea.test/"});
  EXPECT_EQ(add_allowed_site(settings, "http://WWW.Kids.test/a"), MoreSitesWrite::Added);
  const auto rows = load_more_sites(settings);
  ASSERT_EQ(rows.size(), 3u);  // the gap is filled, the rows are stored packed
  EXPECT_EQ(rows[0], (MoreSitesRow{"Zoo", "http://zoo.test/"}));
  EXPECT_EQ(rows[1], (MoreSitesRow{"www.kids.test", "http://WWW.Kids.test/a"}));
  EXPECT_EQ(rows[2], (MoreSitesRow{"Sea", "http://sea.test/"}));
}

TEST(AddAllowedSite, IntoAnEmptyListAndNotTwice) {
  Settings settings;
  EXPECT_EQ(add_allowed_site(settings, "http://a.test/"), MoreSitesWrite::Added);
  EXPECT_EQ(add_allowed_site(settings, "http://a.test/"), MoreSitesWrite::AlreadyListed);
  EXPECT_EQ(settings.value("num_moresites"), "1");
  EXPECT_EQ(settings.value("ms_desc-0"), "a.test");
  EXPECT_EQ(settings.value("ms_url-0"), "http://a.test/");
}

TEST(AddAllowedSite, AHostlessUrlIsItsOwnDescriptionAndLineBreaksGo) {
  Settings settings;
  EXPECT_EQ(add_allowed_site(settings, "about:x\r\nnum_moresites=9"), MoreSitesWrite::Added);
  EXPECT_EQ(settings.value("num_moresites"), "1");
  EXPECT_EQ(settings.value("ms_url-0"), "about:xnum_moresites=9");
  EXPECT_EQ(settings.value("ms_desc-0"), "about:xnum_moresites=9");
}

TEST(AddAllowedSite, ALockedListStaysAsItIs) {
  Settings settings({"num_moresites=1", "ms_desc-0=Zoo", "ms_url-0=http://zoo.test/"});
  settings.set_locked({"ms_url-0=http://zoo.test/"});
  EXPECT_EQ(add_allowed_site(settings, "http://a.test/"), MoreSitesWrite::Locked);
  EXPECT_EQ(settings.value("num_moresites"), "1");
  EXPECT_FALSE(settings.has("ms_url-1"));
}

}  // namespace
}  // namespace tovali
