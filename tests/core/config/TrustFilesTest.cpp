// The administrator's folder: where it is, and which of its files the
// configuration download can use.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "SpecialFiles.h"
#include "TempDir.h"
#include "config/TrustFiles.h"

namespace tovali {
namespace {

using testing::TempDir;

const std::string kKey =
    "untrusted comment: minisign public key 9AF0F1B4543A890\n"
    "RWSQqENFGw+vCSFBb1+8D5FDhPUu6Wz7zcST7xOvbxW4zhHopWcB6XOR\n";
const std::string kCertificate = "-----BEGIN CERTIFICATE-----\nMIIB\n-----END CERTIFICATE-----\n";

TEST(TrustFiles, UsableFilesAreTakenAndMissingOnesAreNoProblem) {
  TempDir dir;
  TrustFiles none = read_trust_files(dir.path());
  EXPECT_EQ(none.problem, "");
  EXPECT_EQ(none.ca_file, "");
  EXPECT_FALSE(none.config_key);

  dir.write("ca.pem", kCertificate);
  dir.write("config-key.pub", kKey);
  TrustFiles both = read_trust_files(dir.path());
  EXPECT_EQ(both.problem, "");
  EXPECT_EQ(both.ca_file, dir.path() + "ca.pem");
  ASSERT_TRUE(both.config_key);
  EXPECT_EQ(minisign_key_id_text(both.config_key->key_id), "09AF0F1B4543A890");
}

TEST(TrustFiles, AFileThatIsThereButUnusableIsAProblem) {
  struct Case {
    const char* name;
    const char* file;
    std::string content;  // "<dir>" makes a folder of that name
    const char* problem_ends;
  };
  const Case cases[] = {
      {"ca.pem is a folder", "ca.pem", "<dir>", "ca.pem: not a file"},
      {"ca.pem holds no certificate", "ca.pem", "hello\n", "ca.pem holds no certificate"},
      {"ca.pem is too large", "ca.pem", kCertificate + std::string(TrustFiles::kMaxFileBytes, 'x'),
       "ca.pem is too large"},
      {"config-key.pub is a folder", "config-key.pub", "<dir>", "config-key.pub: not a file"},
      {"config-key.pub is no key", "config-key.pub", "secret\n",
       "config-key.pub: not a minisign public key (the key line is not a Base64 key)"},
      {"config-key.pub is empty", "config-key.pub", "",
       "config-key.pub: not a minisign public key (expected one key line)"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (c.content == "<dir>") {
      std::filesystem::create_directory(dir.path() + c.file);
    } else {
      dir.write(c.file, c.content);
    }
    const TrustFiles files = read_trust_files(dir.path());
    const std::string& p = files.problem;
    const std::string end = c.problem_ends;
    EXPECT_TRUE(p.size() >= end.size() && p.compare(p.size() - end.size(), end.size(), end) == 0)
        << c.name << ": " << p;
    EXPECT_FALSE(files.config_key) << c.name;
  }
}

// A FIFO or /dev/zero in place of either file is "not a file", found at once.
TEST(TrustFiles, AFifoOrADeviceInPlaceOfAFileIsAProblemFoundAtOnce) {
  using testing::SpecialFile;
  for (const char* name : {"ca.pem", "config-key.pub"}) {
    for (const SpecialFile kind : {SpecialFile::Fifo, SpecialFile::DevZero}) {
      TempDir dir;
      ASSERT_TRUE(testing::make_special_file(dir.path() + name, kind));
      const std::string expected = "cannot read " + dir.path() + name + ": not a file";
      std::string problem;
      EXPECT_TRUE(testing::run_in_child(
          [&] {
            const TrustFiles files = read_trust_files(dir.path());
            return files.problem == expected && !files.config_key && files.ca_file.empty();
          },
          60, &problem))
          << name << ", " << testing::special_file_name(kind) << ": " << problem;
    }
  }
}

}  // namespace
}  // namespace tovali
