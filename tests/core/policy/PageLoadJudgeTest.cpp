#include "policy/PageLoadJudge.h"

#include <gtest/gtest.h>

#include <string>

#include "policy/LinkMetaData.h"
#include "policy/WebSocketFilter.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

// The menu admits, for link 001, the domain cdn.example and URLs
// beginning http://pics.example/kids/; the parent prohibits bad.example,
// one whole URL and the "exe" extension.
PageLoadRules rules(const char* strict, const std::string& number = "001") {
  Settings settings(TextList{"password=secret", std::string("strict_page_loads=") + strict,
                             "num_cust_prohibited_domains=1", "cust_pd-0=www.bad.example",
                             "num_cust_prohibited_urls=1",
                             "cust_pu-0=http://zoo.example/secret.png",
                             "num_prohibited_file_exts=1", "pext-0=exe", "use_global_meta_data=0"});
  LinkMetaData meta(settings);
  meta.ExtractMetaData("<!--URL001:AD:cdn.example--><!--URL001:AS:http://pics.example/kids/-->");
  meta.set_url_number(number);
  meta.set_current_site_url("http://www.zoo.example/");
  return page_load_rules(settings, meta, TextList{"file:///usr/share/tovali-explorer/"});
}

TEST(PageLoadRules, KeepOnlyWhatTheJudgeReadsAndSurviveTheirTextForm) {
  const PageLoadRules made = rules("1");
  for (const auto& line : made.setting_lines) EXPECT_EQ(line.find("password"), std::string::npos);
  EXPECT_EQ(made.setting_lines.size(), 7u);
  const auto back = decode_page_load_rules(encode_page_load_rules(made));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, made);
  // Rules text may hold line breaks: it comes last.
  PageLoadRules odd = made;
  odd.rules_text = "<!--URL001:AD:A\nB-->";
  odd.url_number.clear();
  EXPECT_EQ(decode_page_load_rules(encode_page_load_rules(odd)), odd);
}

TEST(PageLoadRules, AForeignOrCutTextIsRefused) {
  const std::string text = encode_page_load_rules(rules("0"));
  for (const std::string& bad : {std::string(), std::string("hello"), text.substr(0, 40),
                                 text.substr(0, text.find("number=")),
                                 std::string("tovali-page-load-rules 1\nsettings=99\nx\n")})
    EXPECT_FALSE(decode_page_load_rules(bad).has_value()) << bad;
}

TEST(PageLoadJudge, WithoutRulesOnlyWhatStaysOnTheComputerLoads) {
  const PageLoadJudge judge;
  EXPECT_EQ(judge.judge("http://www.zoo.example/", "data:image/png;base64,AA"), LoadVerdict::Admit);
  EXPECT_EQ(judge.judge("http://www.zoo.example/", "blob:http://www.zoo.example/1"),
            LoadVerdict::Admit);
  for (const char* url : {"http://www.zoo.example/a.png", "http://www.zoo.example/",
                          "file:///usr/share/tovali-explorer/help.html"})
    EXPECT_EQ(judge.judge("http://www.zoo.example/", url), LoadVerdict::Refuse) << url;
}

TEST(PageLoadJudge, TheParentsListsAlwaysAndTheLinkRulesWhenStrict) {
  const struct {
    const char* page;
    const char* load;
    LoadVerdict relaxed;  // strict_page_loads "0"
    LoadVerdict strict;   // strict_page_loads "1"
  } cases[] = {
      // The parent's lists, registrable domains included.
      {"http://www.zoo.example/", "http://img.bad.example/a.png", LoadVerdict::Refuse,
       LoadVerdict::Refuse},
      {"http://www.zoo.example/", "HTTPS://BAD.EXAMPLE/x.js", LoadVerdict::Refuse,
       LoadVerdict::Refuse},
      {"http://www.zoo.example/", "wss://bad.example/socket", LoadVerdict::Refuse,
       LoadVerdict::Refuse},
      {"http://www.zoo.example/", "http://zoo.example/secret.png", LoadVerdict::Refuse,
       LoadVerdict::Refuse},
      {"http://www.zoo.example/", "http://www.zoo.example/setup.exe", LoadVerdict::Refuse,
       LoadVerdict::Refuse},
      // The page's own domain.
      {"http://www.zoo.example/", "http://static.zoo.example/a.css", LoadVerdict::Admit,
       LoadVerdict::Admit},
      {"http://www.zoo.example/", "ws://www.zoo.example/live", LoadVerdict::Admit,
       LoadVerdict::Admit},
      // What the link rules admit: AD and AS of number 001.
      {"http://www.zoo.example/", "https://a.cdn.example/lib.js", LoadVerdict::Admit,
       LoadVerdict::Admit},
      {"http://www.zoo.example/", "http://pics.example/kids/cat.png", LoadVerdict::Admit,
       LoadVerdict::Admit},
      {"http://www.zoo.example/", "http://pics.example/grown-ups/x.png", LoadVerdict::Admit,
       LoadVerdict::Refuse},
      {"http://www.zoo.example/", "http://tracker.example/beacon", LoadVerdict::Admit,
       LoadVerdict::Refuse},
      {"http://www.zoo.example/", "wss://tracker.example/socket", LoadVerdict::Admit,
       LoadVerdict::Refuse},
      // The page's own document was judged as a navigation.
      {"http://other.example/page#top", "http://other.example/page", LoadVerdict::Admit,
       LoadVerdict::Admit},
      // The program's own pages, and nothing else on the disk.
      {"file:///usr/share/tovali-explorer/help.html",
       "file:///usr/share/tovali-explorer/pictures/home.svg", LoadVerdict::Admit,
       LoadVerdict::Admit},
      {"file:///usr/share/tovali-explorer/help.html", "file:///etc/passwd", LoadVerdict::Refuse,
       LoadVerdict::Refuse},
      {"file:///usr/share/tovali-explorer/help.html", "http://tracker.example/x.png",
       LoadVerdict::Admit, LoadVerdict::Refuse},
  };
  PageLoadJudge relaxed;
  relaxed.set_rules(rules("0"));
  PageLoadJudge strict;
  strict.set_rules(rules("1"));
  for (const auto& c : cases) {
    EXPECT_EQ(relaxed.judge(c.page, c.load), c.relaxed) << c.page << " " << c.load;
    EXPECT_EQ(strict.judge(c.page, c.load), c.strict) << c.page << " " << c.load << " (strict)";
  }
}

// Another link number's rules do not reach this page, and new rules replace
// the old ones at once.
TEST(PageLoadJudge, OnlyTheRulesOfTheLinkInForceCount) {
  PageLoadJudge judge;
  judge.set_rules(rules("1", "002"));
  EXPECT_EQ(judge.judge("http://www.zoo.example/", "https://a.cdn.example/lib.js"),
            LoadVerdict::Refuse);
  judge.set_rules(rules("1", "001"));
  EXPECT_EQ(judge.judge("http://www.zoo.example/", "https://a.cdn.example/lib.js"),
            LoadVerdict::Admit);
}

// WebSockets pass a content filter of the engine as well: the parent's
// domains, as registrable domains, a port kept.
TEST(WebSocketFilter, BlocksTheParentsDomains) {
  PageLoadRules relaxed;
  relaxed.setting_lines = {"num_cust_prohibited_domains=4", "cust_pd-0= www.Bad.example ",
                           "cust_pd-1=http://x.localhost:8080/page",
                           "cust_pd-2=", "cust_pd-3=bad\"].example"};
  EXPECT_EQ(websocket_filter_json(relaxed),
            "[{\"trigger\":{\"url-filter\":\"^wss?://([^/]*[.@])?bad\\\\.example[:/]\"},"
            "\"action\":{\"type\":\"block\"}},"
            "{\"trigger\":{\"url-filter\":\"^wss?://([^/]*[.@])?x\\\\.localhost:8080[:/]\"},"
            "\"action\":{\"type\":\"block\"}}]");
  // The link rules of a strict kiosk are the guard's own business.
  PageLoadRules strict;
  strict.setting_lines = {"strict_page_loads=1"};
  EXPECT_EQ(websocket_filter_json(strict), "");
  EXPECT_EQ(websocket_filter_json(PageLoadRules{}), "");
}

}  // namespace
}  // namespace tovali
