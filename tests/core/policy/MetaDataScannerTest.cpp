#include "policy/MetaDataScanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ReferencePolicy.h"

namespace tovali {
namespace {

using testing::reference_scan;

void expect_same_as_reference(const std::string& text) {
  const MetaDataScan fast = scan_meta_data(text);
  const testing::ReferenceScan slow = reference_scan(text);
  for (RuleCode code : kRuleCodes) {
    const std::size_t i = static_cast<std::size_t>(code);
    EXPECT_EQ(fast.lists[i], slow.lists[i]) << "list " << code_text(code) << " of: " << text;
  }
  EXPECT_EQ(fast.width, slow.width) << text;
}

// Inputs where the delete-and-search loop does something unusual.
const char* const kTrickyTexts[] = {
    "",
    "<!--URL001:AD:example.com-->",
    "<!--url001:ad:example.com-->",
    "<!--URL001xADyexample.com-->",               // separators are any character
    "<!--URL001:AD:A<!--URL002:AU:B-->",          // a marker inside a value
    "<!--URL001:AD:no close <!--URL002:PU:x-->",  // value runs into the next comment
    "<!--URL001:AD:never closed",
    "<!--URL001:AD:",
    "<!--URL001:AD",
    "<!--URL001:A",
    "<!--URL001:",
    "<!--URL001",
    "<!--URL00",
    "<!--URL",
    "<!--URL<!--URL001:AD:x-->",  // a marker inside the number and code
    "<!--URL001:<!--URL002:SS:y-->",
    "<!--URL001:ZZ:unknown--><!--URL002:SD:kept-->",
    "<!--URL001:AD:--><!--URL001:AS:-->",
    "<!--URL001:AD:a-->b-->c<!--URL002:AT:.COM-->",
    "<!--URL001:AD:x--->",
    "<!--URL001:AD:x----><!--URL001:PT:-->",
    "<!--URL-->:AD:x-->",
    "<!--URL001:AD:é.example-->",  // bytes beyond ASCII are left alone
    "<!--NAVFRAMEWIDTH=250-->",
    "<!--navframewidth=250--><!--NAVFRAMEWIDTH=150-->",
    "<!--NAVFRAMEWIDTH=99-->",
    "<!--NAVFRAMEWIDTH=301-->",
    "<!--NAVFRAMEWIDTH=-->",
    "<!--NAVFRAMEWIDTH=abc-->",
    "<!--NAVFRAMEWIDTH=12345678901234-->",
    "<!--NAVFRAMEWIDTH=200",
    "<!--NAVFRAMEWIDTH= 200-->",
    "<!--NAVFRAMEWIDTH=+200-->",
    "<!--URL001:AD:<!--NAVFRAMEWIDTH=120-->",
};

TEST(MetaDataScannerTest, TrickyTextsGiveWhatTheDeleteAndSearchLoopGives) {
  for (const char* text : kTrickyTexts) expect_same_as_reference(text);
}

TEST(MetaDataScannerTest, RandomTextsGiveWhatTheDeleteAndSearchLoopGives) {
  const std::vector<std::string> pieces = {"<!--URL",
                                           "<!--url",
                                           "-->",
                                           "--",
                                           "-",
                                           ">",
                                           ":",
                                           "AD",
                                           "ad",
                                           "AU",
                                           "PU",
                                           "AS",
                                           "PS",
                                           "AT",
                                           "PT",
                                           "SD",
                                           "SS",
                                           "ZZ",
                                           "001",
                                           "0",
                                           "x",
                                           ".COM",
                                           "<!--NAVFRAMEWIDTH=",
                                           "250",
                                           " "};
  std::mt19937 random(20261210);
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    expect_same_as_reference(text);
    if (::testing::Test::HasFailure()) return;
  }
}

struct EntryCase {
  const char* text;
  RuleCode code;
  TextList entries;
};

TEST(MetaDataScannerTest, CommentsGiveTheirEntries) {
  const EntryCase cases[] = {
      {"<!--URL001:AD:example.com-->", RuleCode::AD, {"001EXAMPLE.COM"}},
      {"<!--url001:ad:example.com-->", RuleCode::AD, {"001EXAMPLE.COM"}},
      {"<!--URL001:aU:http://a.example.com/x-->", RuleCode::AU, {"001HTTP://A.EXAMPLE.COM/X"}},
      {"<!--URL001:AS:-->", RuleCode::AS, {"001"}},
      {"<!--URL001:AD:www.example.com-->", RuleCode::AD, {"001WWW.EXAMPLE.COM"}},
      {"<!--URL001:PU:x--><!--URL002:PU:y-->", RuleCode::PU, {"001X", "002Y"}},
      {"<!--URL001:SD:never closed", RuleCode::SD, {"001"}},
      {"<!--URL001:XX:y-->", RuleCode::AD, {}},
      {"<!--URL001;SS;http://-->", RuleCode::SS, {"001HTTP://"}},
  };
  for (const EntryCase& c : cases) {
    const MetaDataScan scan = scan_meta_data(c.text);
    EXPECT_EQ(scan.lists[static_cast<std::size_t>(c.code)], c.entries) << c.text;
    std::size_t total = 0;
    for (const TextList& list : scan.lists) total += list.size();
    EXPECT_EQ(total, c.entries.size()) << c.text;
  }
}

struct WidthCase {
  const char* text;
  std::optional<int> width;
};

TEST(MetaDataScannerTest, WidthComment) {
  const WidthCase cases[] = {
      {"<!--NAVFRAMEWIDTH=250-->", 250}, {"<!--NavFrameWidth=100-->", 100},
      {"<!--NAVFRAMEWIDTH=300-->", 300}, {"<!--NAVFRAMEWIDTH=99-->", 100},
      {"<!--NAVFRAMEWIDTH=301-->", 100}, {"<!--NAVFRAMEWIDTH=wide-->", 100},
      {"<!--NAVFRAMEWIDTH=-->", 100},    {"<!--NAVFRAMEWIDTH=250--><!--NAVFRAMEWIDTH=150-->", 250},
      {"no comment", std::nullopt},
  };
  for (const WidthCase& c : cases) EXPECT_EQ(scan_meta_data(c.text).width, c.width) << c.text;
}

TEST(MetaDataScannerTest, ManyCommentsWithoutCloseStayLinear) {
  // Each comment's value search would run to the end of the text if it were
  // not remembered; 20,000 of them must still give the same entries.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "<!--URL001:AD:x";
  const MetaDataScan scan = scan_meta_data(text);
  ASSERT_EQ(scan.lists[0].size(), 20000u);
  EXPECT_EQ(scan.lists[0].front(), "001");
}

}  // namespace
}  // namespace tovali
