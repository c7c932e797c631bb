// Signed configuration documents: the minisign formats and their check with
// libsodium, against keys and signatures made by the minisign tool.

#include <gtest/gtest.h>

#include "MinisignTool.h"
#include "TempDir.h"
#include "config/Minisign.h"
#include "crypto/SodiumPrimitives.h"

namespace tovali {
namespace {

using testing::MinisignStyle;
using testing::TempDir;

const std::string kDocument = "password=sunflower\r\nnum-sites=1\r\n";

struct Signed : ::testing::Test {
  void SetUp() override {
    std::string problem;
    ASSERT_TRUE(testing::minisign_make_key(dir.path() + "a.pub", dir.path() + "a.sec", problem))
        << problem;
    ASSERT_TRUE(testing::minisign_make_key(dir.path() + "b.pub", dir.path() + "b.sec", problem))
        << problem;
    key_a = parse_minisign_public_key(dir.read("a.pub"));
    key_b = parse_minisign_public_key(dir.read("b.pub"));
    ASSERT_TRUE(key_a.value) << key_a.problem;
    ASSERT_TRUE(key_b.value) << key_b.problem;
  }

  // The .minisig text of `document` signed with key "a" or "b".
  std::string sign(const std::string& document, const char* key, MinisignStyle style,
                   const std::string& comment = "made for the tests") {
    dir.write("doc", document);
    std::string problem;
    EXPECT_TRUE(testing::minisign_sign(dir.path() + key + ".sec", dir.path() + "doc", style,
                                       comment, problem))
        << problem;
    return dir.read("doc.minisig");
  }

  TempDir dir;
  SodiumPrimitives crypto;
  MinisignParsed<MinisignPublicKey> key_a;
  MinisignParsed<MinisignPublicKey> key_b;
};

std::string replace_line(const std::string& text, int index, const std::string& line) {
  std::string out;
  int n = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    const std::string current = text.substr(start, end - start);
    out += (n++ == index ? line : current) + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

TEST_F(Signed, ReadsTheKeyAndBothSignatureStylesOfTheTool) {
  const auto prehashed = parse_minisign_signature(sign(kDocument, "a", MinisignStyle::Prehashed));
  const auto legacy = parse_minisign_signature(sign(kDocument, "a", MinisignStyle::Legacy, "x y"));
  ASSERT_TRUE(prehashed.value) << prehashed.problem;
  ASSERT_TRUE(legacy.value) << legacy.problem;
  EXPECT_EQ(prehashed.value->algorithm, MinisignAlgorithm::Prehashed);
  EXPECT_EQ(legacy.value->algorithm, MinisignAlgorithm::Legacy);
  EXPECT_EQ(prehashed.value->key_id, key_a.value->key_id);
  EXPECT_EQ(prehashed.value->trusted_comment, "made for the tests");
  EXPECT_EQ(legacy.value->trusted_comment, "x y");
  EXPECT_NE(key_a.value->key_id, key_b.value->key_id);
  // The id as the tool prints it in the key's comment (which drops leading zeros).
  const std::string id = minisign_key_id_text(key_a.value->key_id);
  EXPECT_NE(dir.read("a.pub").find(id.substr(id.find_first_not_of('0'))), std::string::npos);
}

TEST_F(Signed, OnlyTheUntouchedDocumentWithItsOwnSignatureByTheKeyPasses) {
  const std::string prehashed = sign(kDocument, "a", MinisignStyle::Prehashed);
  const std::string legacy = sign(kDocument, "a", MinisignStyle::Legacy);
  const std::string by_b = sign(kDocument, "b", MinisignStyle::Prehashed);
  std::string crlf;
  for (char c : prehashed) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::string relabelled = legacy;  // "Ed" turned into "ED": the same bytes, another claim
  relabelled[relabelled.find('\n') + 2] = 'U';
  struct Case {
    const char* name;
    std::string document;
    std::string signature;
    std::string problem;
  };
  const std::string a_not_b = "signed with key " + minisign_key_id_text(key_b.value->key_id) +
                              ", not with key " + minisign_key_id_text(key_a.value->key_id);
  const Case cases[] = {
      {"prehashed (ED)", kDocument, prehashed, ""},
      {"legacy (Ed)", kDocument, legacy, ""},
      {"CR LF line ends", kDocument, crlf, ""},
      {"a changed document", kDocument + "password=x\r\n", prehashed,
       "the signature does not match the document"},
      {"a changed document, legacy", "P" + kDocument.substr(1), legacy,
       "the signature does not match the document"},
      {"a changed trusted comment", kDocument,
       replace_line(prehashed, 2, "trusted comment: made for the tests, really"),
       "the signature of the trusted comment does not match"},
      {"another key", kDocument, by_b, a_not_b},
      {"a legacy signature relabelled as prehashed", kDocument, relabelled,
       "the signature does not match the document"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(minisign_problem(*key_a.value, c.document, c.signature, crypto), c.problem) << c.name;
  }
}

TEST_F(Signed, MalformedSignaturesAreRefusedWithAReason) {
  const std::string good = sign(kDocument, "a", MinisignStyle::Prehashed);
  const std::string signature_line =
      good.substr(good.find('\n') + 1, good.find('\n', good.find('\n') + 1) - good.find('\n') - 1);
  const std::string cases[] = {
      "",
      "untrusted comment: x\n",
      good.substr(0, good.size() / 2),
      replace_line(good, 1, signature_line.substr(0, 40)),
      replace_line(good, 1, signature_line + "AAAA"),
      replace_line(good, 1, "!" + signature_line.substr(1)),
      replace_line(good, 1, "QUJD" + signature_line.substr(4)),  // unknown algorithm "AB"
      replace_line(good, 2, "untrusted comment: not the trusted one"),
      replace_line(good, 3, "AAAA"),
      good + "one more line\n",
      std::string(5000, '\0'),
  };
  for (const std::string& text : cases) {
    EXPECT_FALSE(parse_minisign_signature(text).value) << text;
    EXPECT_NE(minisign_problem(*key_a.value, kDocument, text, crypto), "") << text;
  }
}

TEST(MinisignPublicKey, ReadsTheKeyLineWithOrWithoutItsComment) {
  const std::string line = "RWSQqENFGw+vCSFBb1+8D5FDhPUu6Wz7zcST7xOvbxW4zhHopWcB6XOR";
  for (const std::string& text :
       {"untrusted comment: minisign public key 9AF0F1B4543A890\n" + line + "\n",
        "untrusted comment: k\r\n" + line + "\r\n\r\n", line}) {
    const auto key = parse_minisign_public_key(text);
    ASSERT_TRUE(key.value) << text;
    EXPECT_EQ(minisign_key_id_text(key.value->key_id), "09AF0F1B4543A890");
    EXPECT_EQ(key.value->key.size(), 32u);
  }
  for (const std::string& bad : {std::string(""), std::string("untrusted comment: k\n"),
                                 line.substr(0, 50), line + "\n" + line, "RUSQ" + line.substr(4),
                                 line.substr(0, 55) + "*", std::string("secret key")}) {
    const auto key = parse_minisign_public_key(bad);
    EXPECT_FALSE(key.value) << bad;
    EXPECT_NE(key.problem, "") << bad;
  }
}

}  // namespace
}  // namespace tovali
