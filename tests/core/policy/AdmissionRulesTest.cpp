#include "policy/AdmissionRules.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ReferencePolicy.h"
#include "policy/UrlText.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

// Link rules built from comments, as a menu link click would leave them.
class LinkRules {
 public:
  LinkRules(const std::string& comments, const std::string& number,
            const std::string& current_site = "")
      : meta(settings) {
    meta.ExtractMetaData(comments);
    meta.set_url_number(number);
    meta.set_current_site_url(current_site);
  }
  Settings settings;
  LinkMetaData meta;
};

struct AllowCase {
  const char* comments;
  const char* number;
  const char* current_site;
  const char* url;
  bool admitted;
};

TEST(AdmissionRulesTest, Allow_B_URL) {
  const char* const site = "http://www.kids.example.com/";
  const AllowCase cases[] = {
      // Always admitted, whatever the lists say.
      {"<!--URL001:PS:-->", "001", "", "file:///home/kid/x.html", true},
      {"<!--URL001:PS:-->", "001", "", "FILE:relative", true},
      {"<!--URL001:PS:-->", "001", "", "JavaScript:alert(1)", true},
      {"<!--URL001:PS:-->", "001", "", "about:blank", true},
      {"<!--URL001:PS:-->", "001", "", "ABOUT:BLANKET", true},
      {"", "001", "", "about:config", false},
      // Same-site rule, only with an empty number, for http(s) URLs.
      {"", "", site, "http://www.kids.example.com/games", true},
      {"", "", site, "https://other.example.com/", true},
      {"", "", site, "ftp://example.com/", false},
      {"", "", site, "http://example.net/", false},
      // Other schemes never borrow the domain of a URL written inside them,
      // and a site without a web domain admits nothing by the same-site rule.
      {"", "", site, "view-source:http://www.kids.example.com/", false},
      {"", "", site, "data:text/html,http://www.kids.example.com/", false},
      {"", "", site, "blob:http://www.kids.example.com/0a1b", false},
      {"", "", "file:///opt/tovali/welcome.html", "data:text/html,hello", false},
      {"", "", "file:///opt/tovali/welcome.html", "ftp:///x", false},
      {"<!--URL001:AD:example.com-->", "001", "", "view-source:http://www.example.com/", false},
      {"<!--URL001:AD:example.com-->", "001", "", "data:,http://www.example.com/", false},
      {"<!--URL001:AD:example.com-->", "001", "", "blob:http://www.example.com/1", false},
      {"<!--URL001:AD:-->", "001", "", "data:text/html,x", false},
      {"", "001", site, "http://www.kids.example.com/games", false},
      // A menu link's own target needs an entry of its number.
      {"", "001", "http://www.example.com/", "http://www.example.com/", false},
      {"<!--URL001:AD:example.com-->", "001", "", "http://www.example.com/", true},
      {"<!--URL002:AD:example.com-->", "001", "", "http://www.example.com/", false},
      {"<!--url001:ad:Example.Com-->", "001", "", "HTTP://WWW.EXAMPLE.COM/", true},
      // An "AD" value below a site's domain never matches.
      {"<!--URL001:AD:www.example.com-->", "001", "", "http://www.example.com/", false},
      {"<!--URL001:AD:www.bbc.co.uk-->", "001", "", "http://www.bbc.co.uk/", false},
      // Domains are registrable domains of the Public Suffix List.
      {"<!--URL001:AD:bbc.co.uk-->", "001", "", "http://www.bbc.co.uk/", true},
      {"<!--URL001:AD:bbc.co.uk-->", "001", "", "https://news.bbc.co.uk/x", true},
      {"<!--URL001:AD:bbc.co.uk-->", "001", "", "http://www.itv.co.uk/", false},
      {"<!--URL001:AD:someone.github.io-->", "001", "", "https://someone.github.io/a", true},
      {"<!--URL001:AD:someone.github.io-->", "001", "", "https://other.github.io/", false},
      // A public suffix admits its bare name, no site under it.
      {"<!--URL001:AD:co.uk-->", "001", "", "http://www.bbc.co.uk/", false},
      {"<!--URL001:AD:co.uk-->", "001", "", "http://co.uk/", true},
      {"<!--URL001:AD:github.io-->", "001", "", "https://someone.github.io/", false},
      {"", "", "http://www.bbc.co.uk/", "http://news.bbc.co.uk/", true},
      {"", "", "http://www.bbc.co.uk/", "http://www.itv.co.uk/", false},
      {"", "", "https://someone.github.io/", "https://other.github.io/", false},
      // Prohibitions beat allowances.
      {"<!--URL001:AD:example.com--><!--URL001:PU:http://www.example.com/bad-->", "001", "",
       "http://www.example.com/bad", false},
      {"<!--URL001:AD:example.com--><!--URL001:PU:http://www.example.com/bad-->", "001", "",
       "http://www.example.com/good", true},
      {"<!--URL001:AS:http://www.example.com/--><!--URL001:PS:http://www.example.com/x-->", "001",
       "", "http://www.example.com/xyz", false},
      {"<!--URL001:AT:example.com--><!--URL001:PT:ads.example.com-->", "001", "",
       "http://ads.example.com/", false},
      {"<!--URL001:AT:example.com--><!--URL001:PT:ads.example.com-->", "001", "",
       "http://www.example.com/", true},
      // Whole URLs, exactly (apart from letter case).
      {"<!--URL001:AU:http://www.example.com/page-->", "001", "", "HTTP://WWW.EXAMPLE.COM/PAGE",
       true},
      {"<!--URL001:AU:http://www.example.com/page-->", "001", "", "http://www.example.com/page/",
       false},
      // An empty "AS" value under 001 admits everything while the number is 001.
      {"<!--URL001:AS:-->", "001", "", "http://anything.example.net/", true},
      {"<!--URL001:AS:-->", "002", "", "http://anything.example.net/", false},
      // Host endings compare characters, keep ports, strip only "HTTP://".
      {"<!--URL001:AT:ample.com-->", "001", "", "http://www.example.com/x", true},
      {"<!--URL001:AT:example.com-->", "001", "", "http://example.com/", true},
      {"<!--URL001:AT:www.example.com-->", "001", "", "http://example.com/", false},
      {"<!--URL001:AT:example.com-->", "001", "", "http://www.example.com:8080/", false},
      {"<!--URL001:AT:example.com:8080-->", "001", "", "http://www.example.com:8080/", true},
      {"<!--URL001:AT:example.com-->", "001", "", "https://www.example.com/", false},
      {"<!--URL001:AT:-->", "001", "", "https://www.example.com/", true},
      // The number takes part as written in the host-ending test only.
      {"<!--URL0a1:AD:example.com-->", "0a1", "", "http://www.example.com/", true},
      {"<!--URL0a1:AT:example.com-->", "0a1", "", "http://www.example.com/", false},
      // A secure-HTTP menu link's number matches no entry.
      {"<!--URL001:AD:example.com-->", "s:/", "", "https://www.example.com/", false},
  };
  for (const AllowCase& c : cases) {
    LinkRules rules(c.comments, c.number, c.current_site);
    EXPECT_EQ(Allow_B_URL(rules.meta, c.url), c.admitted)
        << c.comments << " | " << c.number << " | " << c.url;
  }
}

struct CustCase {
  std::vector<std::pair<std::string, std::string>> settings;
  const char* url;
  bool admitted;
};

TEST(AdmissionRulesTest, Cust_Allow_B_URL) {
  const std::vector<std::pair<std::string, std::string>> exe = {
      {"num_prohibited_file_exts", "2"}, {"pext-0", "exe"}, {"pext-1", "zip"}};
  const std::vector<std::pair<std::string, std::string>> com = {{"num_prohibited_file_exts", "1"},
                                                                {"pext-0", "com"}};
  const std::vector<std::pair<std::string, std::string>> domain = {
      {"num_cust_prohibited_domains", "1"}, {"cust_pd-0", "bad.example"}};
  const std::vector<std::pair<std::string, std::string>> url = {
      {"num_cust_prohibited_urls", "2"},
      {"cust_pu-0", "http://www.example.com/page"},
      {"cust_pu-1", "http://www.example.com/dir/"}};
  const CustCase cases[] = {
      {exe, "http://www.example.com/setup.exe", false},
      {exe, "http://www.example.com/SETUP.Exe", false},
      {exe, "http://www.example.com/files.zip", false},
      {exe, "http://www.example.com/setup.exe?x=1", true},
      {exe, "http://www.example.com/setup.exe#top", true},
      {exe, "http://www.example.com/page.html", true},
      {exe, "", true},
      {com, "http://www.example.com", false},
      {com, "http://www.example.com/", true},
      {com, "http://www.example.com/a.com", false},
      {domain, "http://www.bad.example/x", false},
      {domain, "http://BAD.EXAMPLE", false},
      {domain, "http://bad.example.net/", true},
      {url, "http://www.example.com/page", false},
      {url, "HTTP://WWW.EXAMPLE.COM/PAGE", false},
      {url, "http://www.example.com/page/", false},
      {url, "http://www.example.com/page//", true},
      {url, "http://www.example.com/dir/", false},
      {url, "http://www.example.com/dir", true},
      {{}, "http://www.example.com/setup.exe", true},
  };
  for (const CustCase& c : cases) {
    Settings settings;
    for (const auto& [key, value] : c.settings) settings.set_value(key, value);
    ParentLists lists;
    lists.UpdateLists(settings);
    EXPECT_EQ(Cust_Allow_B_URL(lists, c.url), c.admitted) << c.url;
  }
}

// An entry of the parent's prohibited domains refuses the whole site it
// names, written as the site's domain, as a host of it or as a page's URL.
TEST(AdmissionRulesTest, AProhibitedDomainRefusesItsWholeSite) {
  for (const char* entry : {"badsite.co.uk", "www.badsite.co.uk", "WWW.BadSite.Co.Uk",
                            "http://www.badsite.co.uk/index.html"}) {
    Settings settings;
    settings.set_value("num_cust_prohibited_domains", "1");
    settings.set_value("cust_pd-0", entry);
    ParentLists lists;
    lists.UpdateLists(settings);
    for (const char* url : {"http://www.badsite.co.uk/", "http://badsite.co.uk",
                            "http://badsite.co.uk/x", "https://shop.badsite.co.uk/a/b.html"}) {
      EXPECT_FALSE(Cust_Allow_B_URL(lists, url)) << entry << " | " << url;
    }
    // Other sites under the same suffix, and the site on another port.
    for (const char* url :
         {"http://www.goodsite.co.uk/", "http://co.uk/", "http://www.badsite.co.uk:8080/"}) {
      EXPECT_TRUE(Cust_Allow_B_URL(lists, url)) << entry << " | " << url;
    }
  }
}

// A public suffix entered as a prohibited domain refuses only its bare name:
// it is no site's domain, so no UK site is refused by "co.uk".
TEST(AdmissionRulesTest, AProhibitedPublicSuffixRefusesNoSite) {
  Settings settings;
  settings.set_value("num_cust_prohibited_domains", "2");
  settings.set_value("cust_pd-0", "co.uk");
  settings.set_value("cust_pd-1", "github.io");
  ParentLists lists;
  lists.UpdateLists(settings);
  EXPECT_FALSE(Cust_Allow_B_URL(lists, "http://co.uk/"));
  EXPECT_TRUE(Cust_Allow_B_URL(lists, "http://www.bbc.co.uk/"));
  EXPECT_TRUE(Cust_Allow_B_URL(lists, "https://someone.github.io/"));
}

struct SilentCase {
  const char* comments;
  const char* number;
  const char* url;
  bool silent;
};

TEST(AdmissionRulesTest, SuppressProhibitedPanel) {
  const SilentCase cases[] = {
      {"<!--URL001:SD:ads.example-->", "", "res://ieframe.dll/navcancl.htm", false},
      {"<!--URL001:SD:ads.example-->", "", "http://www.ads.example/", false},
      {"", "001", "res://ieframe.dll/navcancl.htm", true},
      {"", "001", "RES://x", true},
      {"<!--URL001:SD:ads.example-->", "001", "http://banner.ads.example/x", true},
      {"<!--URL001:SD:ads.example-->", "002", "http://banner.ads.example/x", false},
      {"<!--URL001:SD:www.ads.example-->", "001", "http://www.ads.example/x", false},
      {"<!--URL001:SD:ads.co.uk-->", "001", "http://banner.ads.co.uk/x", true},
      {"<!--URL001:SD:co.uk-->", "001", "http://banner.ads.co.uk/x", false},
      {"<!--URL001:SD:ads.example-->", "001", "view-source:http://banner.ads.example/x", false},
      {"<!--URL001:SS:http://track.-->", "001", "HTTP://TRACK.example.com/p", true},
      {"<!--URL001:SS:http://track.-->", "001", "http://www.example.com/", false},
      {"", "001", "http://www.example.com/", false},
  };
  for (const SilentCase& c : cases) {
    LinkRules rules(c.comments, c.number);
    EXPECT_EQ(SuppressProhibitedPanel(rules.meta, c.url), c.silent)
        << c.comments << " | " << c.number << " | " << c.url;
  }
}

TEST(AdmissionRulesTest, AGapInTheParentsListsRefusesNothing) {
  // Counts larger than the entries (a damaged or hand-made configuration)
  // give empty entries; they must not refuse the program's local pages,
  // whose file URLs have an empty host.
  Settings settings;
  settings.set_value("num_cust_prohibited_domains", "2");
  settings.set_value("cust_pd-0", "bad.example");
  settings.set_value("num_cust_prohibited_urls", "1");
  settings.set_value("num_prohibited_file_exts", "1");
  ParentLists lists;
  lists.UpdateLists(settings);
  EXPECT_EQ(lists.CustProhibitedDomains(), (TextList{"BAD.EXAMPLE", ""}));
  EXPECT_EQ(lists.CustProhibitedURLs(), (TextList{""}));
  for (const char* url : {"file:///opt/tovali/welcome.html", "", "http://www.example.com/x."}) {
    EXPECT_TRUE(Cust_Allow_B_URL(lists, url)) << url;
  }
  EXPECT_FALSE(Cust_Allow_B_URL(lists, "http://www.bad.example/"));
}

TEST(AdmissionRulesTest, BlockedNavDomainsHoldsOneReservedDomain) {
  ParentLists lists;
  ASSERT_EQ(lists.BlockedNavDomains().size(), 1u);
  EXPECT_EQ(lists.BlockedNavDomains()[0], "EXAMPLE.ORG");
  EXPECT_TRUE(lists.blocked_nav_set().contains(ExtractDomain("http://www.Example.org/")));
}

TEST(AdmissionRulesTest, LoadListValuesKeepsGapsAndReadsBadCountsAsEmpty) {
  Settings settings;
  settings.set_value("num_x", "3");
  settings.set_value("x-0", "a");
  settings.set_value("x-2", "c");
  TextList list = {"old"};
  LoadListValues(settings, "num_x", "x-", LetterCase::Upper, list);
  EXPECT_EQ(list, (TextList{"A", "", "C"}));
  LoadListValues(settings, "num_x", "x-", LetterCase::AsStored, list);
  EXPECT_EQ(list, (TextList{"a", "", "c"}));
  for (const char* count : {"0", "-1", "three", ""}) {
    settings.set_value("num_x", count);
    LoadListValues(settings, "num_x", "x-", LetterCase::Upper, list);
    EXPECT_TRUE(list.empty()) << count;
  }
}

// Random rule sets and URLs from a small alphabet, so that prefixes, host
// endings and domains collide often: the fast tests must agree with the
// step-by-step ones.
TEST(AdmissionRulesTest, AgreesWithStepByStepRulesOnRandomCases) {
  std::mt19937 random(7);
  auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
  const std::vector<std::string> schemes = {"http://", "HTTP://",     "https://",
                                            "",        "ftp://",      "file:///",
                                            "res://",  "javascript:", "about:blank#"};
  const std::vector<std::string> labels = {"a", "b", "ex", "com", "Ab", "x"};
  const std::vector<std::string> tails = {"", "/", "/p", "/p.exe", "/P.EXE?x", ":81", ":81/"};
  const std::vector<std::string> numbers = {"", "001", "002", "0a1", "x", "s:/"};
  auto random_url = [&] {
    std::string host = pick(labels);
    const int more = static_cast<int>(random() % 3);
    for (int i = 0; i < more; ++i) host += "." + pick(labels);
    return pick(schemes) + host + pick(tails);
  };
  auto random_value = [&] {
    const std::string url = random_url();
    switch (random() % 4) {
      case 0:
        return url;
      case 1:
        return url.substr(0, random() % (url.size() + 1));
      case 2:
        return url.substr(random() % (url.size() + 1));
      default:
        return ExtractDomain(url);
    }
  };
  for (int round = 0; round < 600; ++round) {
    testing::ReferenceState ref;
    std::string comments;
    // Every tenth rule set is large, so that the lookup tables grow.
    const int n = round % 10 == 0 ? 300 : static_cast<int>(random() % 6);
    for (int i = 0; i < n; ++i) {
      const std::string code(code_text(kRuleCodes[random() % kRuleListCount]));
      const std::string number = pick({"001", "002", "0A1", "0a1"});
      comments += "<!--URL" + number + ":" + code + ":" + random_value() + "-->";
    }
    ref.lists = testing::reference_scan(comments).lists;
    ref.url_number = pick(numbers);
    ref.current_site_url = random_url();
    Settings settings;
    settings.set_value("num_prohibited_file_exts", "1");
    settings.set_value("pext-0", pick({"exe", "com", "b"}));
    settings.set_value("num_cust_prohibited_domains", "1");
    settings.set_value("cust_pd-0", ExtractDomain(random_url()));
    settings.set_value("num_cust_prohibited_urls", "1");
    settings.set_value("cust_pu-0", random_url());
    ref.exts = settings.list("num_prohibited_file_exts", "pext-", LetterCase::Upper);
    ref.cust_domains = settings.list("num_cust_prohibited_domains", "cust_pd-", LetterCase::Upper);
    ref.cust_urls = settings.list("num_cust_prohibited_urls", "cust_pu-", LetterCase::Upper);

    LinkRules rules(comments, ref.url_number, ref.current_site_url);
    ParentLists parent;
    parent.UpdateLists(settings);
    for (int j = 0; j < 20; ++j) {
      const std::string url = random_url();
      ASSERT_EQ(Allow_B_URL(rules.meta, url), testing::reference_allow(ref, url))
          << comments << " | " << ref.url_number << " | " << url;
      ASSERT_EQ(Cust_Allow_B_URL(parent, url), testing::reference_cust_allow(ref, url)) << url;
      ASSERT_EQ(SuppressProhibitedPanel(rules.meta, url), testing::reference_suppress(ref, url))
          << comments << " | " << ref.url_number << " | " << url;
    }
  }
}

// Comments left open run to the next "-->", so their values overlap and hold
// further comments; the lookups on those long entries (whole texts,
// beginnings, host endings) still decide as the step-by-step rules do.
TEST(AdmissionRulesTest, AgreesWithStepByStepRulesWhenValuesOverlap) {
  std::mt19937 random(11);
  auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
  const std::vector<std::string> values = {
      "a.test", "http://a.test/", "http://a.test/p", ".test", "b.a.test", "http://", ""};
  for (int round = 0; round < 300; ++round) {
    std::string comments;
    const int n = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i) {
      comments += "<!--URL" + pick({"001", "002"}) + ":" +
                  std::string(code_text(kRuleCodes[random() % kRuleListCount])) + ":" +
                  pick(values);
      if (random() % 4 == 0) comments += "-->";
    }
    if (random() % 2 == 0) comments += "-->";
    testing::ReferenceState ref;
    ref.lists = testing::reference_scan(comments).lists;
    ref.url_number = pick({"001", "002"});
    LinkRules rules(comments, ref.url_number);
    // The values of the entries themselves (upper-case, long and holding
    // markers), their beginnings and host-like endings, and plain URLs.
    std::vector<std::string> urls = {"http://a.test/", "http://a.test/p/q", "http://b.a.test/"};
    for (const TextList& list : ref.lists) {
      for (const std::string& entry : list) {
        const std::string value = entry.substr(std::min<std::size_t>(3, entry.size()));
        urls.push_back(value);
        urls.push_back(value + "/more");
        urls.push_back("http://x" + value);
        urls.push_back(value.substr(0, value.size() / 2));
      }
    }
    for (const std::string& url : urls) {
      ASSERT_EQ(Allow_B_URL(rules.meta, url), testing::reference_allow(ref, url))
          << comments << " | " << ref.url_number << " | " << url;
      ASSERT_EQ(SuppressProhibitedPanel(rules.meta, url), testing::reference_suppress(ref, url))
          << comments << " | " << ref.url_number << " | " << url;
    }
  }
}

}  // namespace
}  // namespace tovali
