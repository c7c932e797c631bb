#include "settings/ScrambledFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "TempDir.h"

namespace tovali {
namespace {

using testing::TempDir;

TextList non_empty(const TextList& lines) {
  TextList out;
  for (const auto& l : lines) {
    if (!l.empty()) out.push_back(l);
  }
  return out;
}

TextList round_trip(const TempDir& dir, const TextList& lines) {
  const auto path = dir.path() + "copy.dat";
  EXPECT_TRUE(EncodeAndSave(path, lines));
  TextList encoded;
  EXPECT_TRUE(LoadEncodedFile(path, encoded));
  TextList decoded{"stale"};
  DecodeAndLoad(encoded, decoded);
  return decoded;
}

TEST(ScrambledFile, RoundTripsKeepLinesAndOrderAndDropEmptyLines) {
  std::string high;
  for (int c = 128; c < 256; ++c) high += static_cast<char>(c);
  const TextList cases[] = {
      {"password=marigold", "a=b=c", "", "z"},
      {"", "", "only=one", ""},
      {high, std::string("nul\0inside", 10), "x"},
      {"second", "first"},
  };
  TempDir dir;
  for (const auto& lines : cases) EXPECT_EQ(round_trip(dir, lines), non_empty(lines));
}

TEST(ScrambledFile, LayoutOfTheWrittenFile) {
  TempDir dir;
  ASSERT_TRUE(EncodeAndSave(dir.path() + "f", {"abc", "", "q"}));
  const std::string text = dir.read("f");
  const TextList lines = split_lines(text);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].substr(0, 8), "30303032");  // two non-empty lines
  EXPECT_LE(lines[0].size(), 8u + 18u);
  EXPECT_EQ(lines[0].size() % 2, 0u);
  EXPECT_EQ(lines[1].size(), 8u);  // key + three characters
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3].size(), 4u);  // a one-character line is four digits
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  for (char c : text) {
    EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || c == '\r' || c == '\n') << c;
  }
  // Each save draws new keys and filler.
  ASSERT_TRUE(EncodeAndSave(dir.path() + "g", {"abc", "", "q"}));
  ASSERT_TRUE(EncodeAndSave(dir.path() + "h", {"abc", "", "q"}));
  EXPECT_NE(dir.read("g") + dir.read("h"), text + text);
}

TEST(ScrambledFile, OnlyEmptyLinesAndEmptyLists) {
  TempDir dir;
  ASSERT_TRUE(EncodeAndSave(dir.path() + "blank", {"", "", ""}));
  const auto lines = split_lines(dir.read("blank"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].substr(0, 8), "30303030");
  EXPECT_EQ(round_trip(dir, {"", "", ""}), TextList{});

  ASSERT_TRUE(EncodeAndSave(dir.path() + "empty", {}));
  EXPECT_EQ(dir.read("empty"), "");
  TextList encoded{"stale"};
  EXPECT_TRUE(LoadEncodedFile(dir.path() + "empty", encoded));
  EXPECT_TRUE(encoded.empty());
}

TEST(ScrambledFile, CountCheckCatchesLostOrEmptiedLinesButNotReordering) {
  TempDir dir;
  ASSERT_TRUE(EncodeAndSave(dir.path() + "f", {"one", "two", "three"}));
  const auto lines = split_lines(dir.read("f"));
  struct Case {
    const char* name;
    TextList body;
    bool usable;
  } cases[] = {
      {"intact", {lines[1], lines[2], lines[3]}, true},
      {"reordered", {lines[3], lines[1], lines[2]}, true},
      {"line removed", {lines[1], lines[3]}, false},
      {"line emptied", {lines[1], "", lines[3]}, false},
      {"line added", {lines[1], lines[2], lines[3], lines[1]}, false},
  };
  for (const auto& c : cases) {
    TextList file{lines[0]};
    file.insert(file.end(), c.body.begin(), c.body.end());
    dir.write("case", join_crlf(file));
    TextList encoded{"kept"};
    EXPECT_EQ(LoadEncodedFile(dir.path() + "case", encoded), c.usable) << c.name;
    if (!c.usable) {
      EXPECT_EQ(encoded, TextList{"kept"}) << c.name;
    }
  }
}

TEST(ScrambledFile, ReaderAcceptsLoneLineEndsAndLowerCaseHex) {
  TempDir dir;
  ASSERT_TRUE(EncodeAndSave(dir.path() + "f", {"Key=Value", "x=1"}));
  const auto lines = split_lines(dir.read("f"));
  std::string lower;
  for (char c : lines[1]) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const std::string sep : {"\n", "\r"}) {
    dir.write("g", lines[0] + sep + lower + sep + lines[2]);  // no final line end
    TextList encoded, decoded;
    ASSERT_TRUE(LoadEncodedFile(dir.path() + "g", encoded));
    DecodeAndLoad(encoded, decoded);
    EXPECT_EQ(decoded, (TextList{"Key=Value", "x=1"}));
  }
}

TEST(ScrambledFile, DamagedHeadersAndLinesMakeTheCopyUnusable) {
  TempDir dir;
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"short header", "303031\r\nFF00\r\n"},
      {"non-hex header", "3030303G\r\nFF00\r\n"},
      {"header codes not hex digits", "30303047\r\nFF00\r\n"},
      {"non-hex line", "30303031\r\nFFZZ\r\n"},
      {"binary garbage", std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\r\n", 11)},
      {"missing file", ""},
  };
  for (const auto& c : cases) {
    std::string path = dir.path() + "missing";
    if (!c.text.empty()) {
      dir.write("bad", c.text);
      path = dir.path() + "bad";
    }
    TextList encoded{"kept"};
    EXPECT_FALSE(LoadEncodedFile(path, encoded)) << c.name;
    EXPECT_EQ(encoded, TextList{"kept"}) << c.name;
  }
}

TEST(ScrambledFile, DecodingSkipsShortLinesAndAnUnpairedDigit) {
  // Key 0x00: each stored byte b decodes to 255 - b.
  TextList decoded;
  DecodeAndLoad({"", "00B", "009E9D9", "00BE"}, decoded);
  EXPECT_EQ(decoded, (TextList{"ab", "A"}));
}

TEST(ScrambledFile, AListTheHeaderCannotCountIsNotWritten) {
  TempDir dir;
  ASSERT_TRUE(EncodeAndSave(dir.path() + "f", {"old=1"}));
  TextList lines(kMaxCountedLines + 1, "k=v");
  std::string error;
  EXPECT_FALSE(EncodeAndSave(dir.path() + "f", lines, &error));
  EXPECT_NE(error.find("65535"), std::string::npos) << error;
  EXPECT_THROW(encode_text(lines), std::length_error);
  TextList encoded, decoded;
  ASSERT_TRUE(LoadEncodedFile(dir.path() + "f", encoded));
  DecodeAndLoad(encoded, decoded);
  EXPECT_EQ(decoded, TextList{"old=1"});
}

TEST(ScrambledFile, SaveFailureIsReportedAndLeavesTheOldFile) {
  TempDir dir;
  dir.write("blocker", "not a folder");
  std::string error;
  EXPECT_FALSE(EncodeAndSave(dir.path() + "blocker/copy.dat", {"a=1"}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(dir.read("blocker"), "not a folder");
}

}  // namespace
}  // namespace tovali
