#include "policy/LinkMetaData.h"

#include <gtest/gtest.h>

#include <string>

#include "ReferencePolicy.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

TextList list(const LinkMetaData& meta, RuleCode code) {
  return meta.rules().list(code);
}

// The record text rebuilt as the rules state it, for comparison.
std::string rebuilt_record(const std::string& number, const RuleLists& lists) {
  std::string text = number.empty() ? "***" : number;
  for (RuleCode code : kRuleCodes) {
    for (const std::string& e : lists[static_cast<std::size_t>(code)]) {
      text += "<!--URL" + e.substr(0, 3) + ":" + std::string(code_text(code)) + ":" + e.substr(3) +
              "-->";
    }
  }
  return text;
}

class LinkMetaDataTest : public ::testing::Test {
 protected:
  Settings settings;
  LinkMetaData meta{settings};
};

TEST_F(LinkMetaDataTest, ExtractionReplacesAllListsAndLeavesTheNumberAlone) {
  meta.set_url_number("007");
  meta.ExtractMetaData("<!--URL001:AD:example.com--><!--URL001:SS:http://ads.-->");
  EXPECT_EQ(list(meta, RuleCode::AD), (TextList{"001EXAMPLE.COM"}));
  EXPECT_EQ(list(meta, RuleCode::SS), (TextList{"001HTTP://ADS."}));
  meta.ExtractMetaData("<p>no comments</p>");
  EXPECT_EQ(meta.rules().entry_count(), 0u);
  EXPECT_EQ(meta.URLNumber(), "007");
}

TEST_F(LinkMetaDataTest, GlobalRulesComeFirstOnlyWhenSwitchedOnExactly) {
  settings.set_value("global-meta-data", "<!--URL001:AD:global.example--><!--NAVFRAMEWIDTH=200-->");
  const std::string page = "<!--URL001:AD:page.example--><!--NAVFRAMEWIDTH=250-->";
  struct Case {
    const char* switch_value;
    TextList entries;
    std::optional<int> width;
  };
  const Case cases[] = {
      {"1", {"001GLOBAL.EXAMPLE", "001PAGE.EXAMPLE"}, 200},
      {"0", {"001PAGE.EXAMPLE"}, 250},
      {"yes", {"001PAGE.EXAMPLE"}, 250},
      {"", {"001PAGE.EXAMPLE"}, 250},
  };
  for (const Case& c : cases) {
    settings.set_value("use_global_meta_data", c.switch_value);
    EXPECT_EQ(meta.ExtractMetaData(page), c.width) << c.switch_value;
    EXPECT_EQ(list(meta, RuleCode::AD), c.entries) << c.switch_value;
  }
}

TEST_F(LinkMetaDataTest, GlobalRulesAndPageFormOneText) {
  // A global comment without "-->" runs on into the page.
  settings.set_value("use_global_meta_data", "1");
  settings.set_value("global-meta-data", "<!--URL001:AD:glob");
  meta.ExtractMetaData("al.example-->");
  EXPECT_EQ(list(meta, RuleCode::AD), (TextList{"001GLOBAL.EXAMPLE"}));
  meta.ExtractMetaData("");
  EXPECT_EQ(list(meta, RuleCode::AD), (TextList{"001"}));
}

TEST_F(LinkMetaDataTest, SetURLNumberFromLink) {
  meta.set_url_number_from_link("HTTP001://www.example.com/");
  EXPECT_EQ(meta.URLNumber(), "001");
  meta.set_url_number_from_link("http://www.example.com/");
  EXPECT_EQ(meta.URLNumber(), "");
  meta.set_url_number_from_link("javascript:void(0)");
  EXPECT_EQ(meta.URLNumber(), "");
}

TEST_F(LinkMetaDataTest, SavedRulesComeBackOnLoad) {
  meta.set_url_number("001");
  meta.ExtractMetaData("<!--URL001:AD:first.example-->");
  meta.SaveMetaData("http://www.first.example/");
  meta.set_url_number("");
  meta.ExtractMetaData("<!--URL002:AD:second.example-->");
  meta.SaveMetaData("http://www.second.example/page");

  EXPECT_FALSE(meta.LoadMetaData("http://www.first.example"));
  EXPECT_EQ(meta.URLNumber(), "001");
  EXPECT_EQ(list(meta, RuleCode::AD), (TextList{"001FIRST.EXAMPLE"}));
  meta.LoadMetaData("HTTP://WWW.SECOND.EXAMPLE/PAGE/");
  EXPECT_EQ(meta.URLNumber(), "");
  EXPECT_EQ(list(meta, RuleCode::AD), (TextList{"002SECOND.EXAMPLE"}));
}

TEST_F(LinkMetaDataTest, TrailingSlashGivesOneRecordUnderTheShorterKey) {
  meta.set_url_number("001");
  meta.SaveMetaData("http://www.example.com/dir/");
  meta.set_url_number("002");
  meta.SaveMetaData("http://www.example.com/dir");
  EXPECT_EQ(meta.saved_count(), 1u);
  EXPECT_EQ(meta.SavedMetaDataURLs(), (TextList{"http://www.example.com/dir"}));
  meta.set_url_number("");
  meta.LoadMetaData("http://www.example.com/dir/");
  EXPECT_EQ(meta.URLNumber(), "002");
}

TEST_F(LinkMetaDataTest, AnOddLinkNumberComesBackAsItWas) {
  // A record keeps the number itself, not the first three characters of
  // its text, so short numbers and "***" survive Back and Forward.
  for (const char* link : {"HTTPx", "http:x", "HTTP***://www.example.com/", "HTTP001://x/"}) {
    meta.set_url_number_from_link(link);
    const std::string number = meta.URLNumber();
    meta.SaveMetaData("http://www.example.com/");
    meta.set_url_number("555");
    meta.LoadMetaData("http://www.example.com/");
    EXPECT_EQ(meta.URLNumber(), number) << link;
  }
}

TEST_F(LinkMetaDataTest, SavingAgainMovesTheURLToTheEnd) {
  meta.SaveMetaData("http://a.example/");
  meta.SaveMetaData("http://b.example/");
  meta.SaveMetaData("HTTP://A.EXAMPLE");
  EXPECT_EQ(meta.SavedMetaDataURLs(), (TextList{"http://b.example", "HTTP://A.EXAMPLE"}));
}

TEST_F(LinkMetaDataTest, LoadingAnUnknownURLChangesNothing) {
  meta.set_url_number("001");
  meta.ExtractMetaData("<!--URL001:AD:example.com-->");
  const auto before = meta.shared_rules();
  EXPECT_FALSE(meta.LoadMetaData("http://never.example/"));
  EXPECT_EQ(meta.URLNumber(), "001");
  EXPECT_EQ(meta.shared_rules(), before);
}

TEST_F(LinkMetaDataTest, RecordsUnderTheSameRulesShareThem) {
  meta.ExtractMetaData("<!--URL001:AD:example.com-->");
  const auto rules = meta.shared_rules();
  for (int i = 0; i < 100; ++i) meta.SaveMetaData("http://www.example.com/" + std::to_string(i));
  EXPECT_EQ(rules.use_count(), 102);  // this copy, the rules in force and 100 records
}

// Restoring a record must give what scanning the rebuilt record text gives,
// also when entries hold markers and when the global rules are on.
TEST_F(LinkMetaDataTest, LoadEqualsScanningTheRebuiltRecord) {
  const char* const pages[] = {
      "<!--URL001:AD:example.com--><!--URL001:PT:ads.example.com-->",
      "<!--URL001:AD:A<!--URL002:AU:B-->",
      "<!--URL001:AD:<!--NAVFRAMEWIDTH=120-->",
      "<!--URL001:AD:never closed",
      "<!--URL001:SS:x-->--><!--URL003:PU:-->",
  };
  const char* const globals[] = {"", "<!--URL009:AS:http://glob--><!--NAVFRAMEWIDTH=280-->"};
  for (const char* global : globals) {
    settings.set_value("use_global_meta_data", *global ? "1" : "0");
    settings.set_value("global-meta-data", global);
    for (const char* page : pages) {
      for (const char* number : {"001", ""}) {
        meta.set_url_number(number);
        meta.ExtractMetaData(page);
        const RuleLists saved = meta.rules().lists();
        meta.SaveMetaData("http://x.example/");
        meta.set_url_number("555");
        meta.ExtractMetaData("<!--URL555:AD:other.example-->");

        const std::optional<int> width = meta.LoadMetaData("http://x.example/");
        const std::string text = std::string(global) + rebuilt_record(number, saved);
        const testing::ReferenceScan expected = testing::reference_scan(text);
        EXPECT_EQ(meta.URLNumber(), number) << page;
        EXPECT_EQ(meta.rules().lists(), expected.lists) << global << " | " << page;
        EXPECT_EQ(width, expected.width) << global << " | " << page;
      }
    }
  }
}

// Comments left open overlap: every value runs to the one "-->" at the end.
// The entries are views into one upper-cased copy of the page, not copies of
// their values (which together would hold 19 * 3000^2 / 2 characters).
TEST(LinkMetaData, OverlappingValuesAreViewsIntoOneCopyOfThePage) {
  constexpr std::size_t kComments = 3000;
  std::string page;
  for (std::size_t i = 0; i < kComments; ++i) page += "<!--URL001:AD:a.b.c";
  page += "-->";
  Settings settings;
  LinkMetaData meta(settings);
  meta.ExtractMetaData(page);
  const std::vector<RuleEntry>& entries = meta.rules().entries(RuleCode::AD);
  ASSERT_EQ(entries.size(), kComments);
  const char* first = entries.front().value.data() - 14;  // the page's first character
  for (std::size_t i = 0; i < kComments; ++i) {
    const RuleEntry& e = entries[i];
    EXPECT_EQ(e.number, "001");
    ASSERT_EQ(e.value.size(), page.size() - 3 - (i * 19 + 14)) << i;
    EXPECT_EQ(e.value.data(), first + i * 19 + 14) << i;
  }
  EXPECT_EQ(entries.back().value, "A.B.C");
  meta.set_url_number("001");
  EXPECT_TRUE(meta.rules().AllowedDomains().contains("001A.B.C"));
  EXPECT_TRUE(meta.rules().AllowedDomains().contains("001A.B.C<!--URL001:AD:A.B.C"));
  EXPECT_FALSE(meta.rules().AllowedDomains().contains("001A.B.C<!--URL001:AD:A.B."));
}

}  // namespace
}  // namespace tovali
