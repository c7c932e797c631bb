#include "crypto/PasswordHash.h"

#include <gtest/gtest.h>

#include <string>

namespace tovali {
namespace {

// The SHA-512 crypt reference example ("Hello world!" with the salt
// "saltstring").
constexpr const char* kSha512Hash =
    "$6$saltstring$svn8UoSVapNtMuq1ukKS4tPQd8iKwSMHWjl/O817G3uBnIFNjnQJuesI68u4OTLiBFdcbYEdFC"
    "oEOfaS35inz1";

TEST(PasswordHash, AFreshYescryptHashAcceptsItsPasswordAlone) {
  const std::string password = "Tulip 7 caf\xC3\xA9";
  const auto hash = hash_password(password);
  ASSERT_TRUE(hash.has_value());
  EXPECT_EQ(hash->rfind("$y$", 0), 0u) << *hash;
  EXPECT_TRUE(is_supported_password_hash(*hash));
  EXPECT_TRUE(password_matches_hash(password, *hash));
  for (const std::string& other :
       {std::string("tulip 7 caf\xC3\xA9"), std::string("Tulip 7 caf\xE9"), std::string("Tulip 7"),
        password + " ", std::string(), std::string("marigold")}) {
    EXPECT_FALSE(password_matches_hash(other, *hash)) << other;
  }
  // Every hash gets its own salt.
  EXPECT_NE(hash_password(password), hash);
}

TEST(PasswordHash, Sha512HashesAreChecked) {
  EXPECT_TRUE(is_supported_password_hash(kSha512Hash));
  EXPECT_TRUE(password_matches_hash("Hello world!", kSha512Hash));
  EXPECT_FALSE(password_matches_hash("Hello world", kSha512Hash));
  std::string tampered = kSha512Hash;
  tampered.back() = '2';
  EXPECT_FALSE(password_matches_hash("Hello world!", tampered));
}

TEST(PasswordHash, OtherMethodsAndMalformedHashesAcceptNothing) {
  const auto yescrypt = hash_password("pw");
  ASSERT_TRUE(yescrypt.has_value());
  const struct {
    const char* name;
    std::string hash;
  } cases[] = {
      {"empty", ""},
      {"plain text", "pw"},
      {"MD5 crypt", "$1$saltsalt$1r0cUiCVdF4Ax1Ruw3EBs/"},
      {"DES crypt", "abJnggxhB/yWI"},
      {"yescrypt cut short", yescrypt->substr(0, 12)},
      {"SHA-512 without its salt end", "$6$"},
      {"yescrypt with bad parameters", "$y$!!!$salt$hash"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(is_supported_password_hash(c.hash)) << c.name;
    EXPECT_FALSE(password_matches_hash("pw", c.hash)) << c.name;
    EXPECT_FALSE(password_matches_hash("", c.hash)) << c.name;
  }
}

TEST(PasswordHash, PasswordsLibcryptCannotTakeAreRefused) {
  const std::string with_nul("pw\0x", 4);
  EXPECT_FALSE(hash_password(with_nul).has_value());
  const auto hash = hash_password("pw");
  ASSERT_TRUE(hash.has_value());
  // The part before the NUL byte must not be taken for the password.
  EXPECT_FALSE(password_matches_hash(with_nul, *hash));
  EXPECT_FALSE(hash_password(std::string(600, 'a')).has_value());
}

}  // namespace
}  // namespace tovali
