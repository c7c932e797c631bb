#include <gtest/gtest.h>

#include "models/DisplayText.h"

namespace tovali {
namespace {

TEST(IsValidUtf8, Table) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain ascii", true},
      {"caf\xC3\xA9", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true},
      {"caf\xE9", false},           // Latin-1
      {"\xC3", false},              // cut short
      {"\xE2\x82", false},          // cut short
      {"\xC0\xAF", false},          // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\x80", false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_valid_utf8(c.bytes), c.valid) << c.bytes;
}

TEST(DisplayTextMap, Utf8ShownAsItIs) {
  DisplayTextMap map;
  EXPECT_EQ(map.show("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(map.back("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(DisplayTextMap, OtherBytesShownAsLatin1AndStoredBackUnchanged) {
  DisplayTextMap map;
  const std::string stored = "http://x.test/caf\xE9";
  const std::string shown = map.show(stored);
  EXPECT_EQ(shown, "http://x.test/caf\xC3\xA9");
  EXPECT_TRUE(is_valid_utf8(shown));
  EXPECT_EQ(map.back(shown), stored);
  EXPECT_EQ(map.back("edited"), "edited");
}

}  // namespace
}  // namespace tovali
