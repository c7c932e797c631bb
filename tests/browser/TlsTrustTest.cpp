// The engine's extra trust: which server certificates the administrator's
// ca.pem vouches for, with certificates made by openssl at test time.
#include "browser/TlsTrust.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "TestCertificates.h"

namespace tovali {
namespace {

using testing::TempDir;
using testing::TestCertificates;

GTlsCertificate* certificate_from(const std::string& path) {
  GError* error = nullptr;
  GTlsCertificate* certificate = g_tls_certificate_new_from_file(path.c_str(), &error);
  if (error) {
    ADD_FAILURE() << path << ": " << error->message;
    g_error_free(error);
  }
  return certificate;
}

struct TlsTrustTest : ::testing::Test {
  void SetUp() override {
    std::string problem;
    ASSERT_TRUE(testing::make_test_certificates(dir.path(), certificates, problem)) << problem;
  }

  CertificateVerdict verdict_for(const TlsTrust& trust, const std::string& certificate_path,
                                 const std::string& host) {
    GTlsCertificate* certificate = certificate_from(certificate_path);
    const CertificateVerdict verdict = trust.verdict(certificate, host);
    if (certificate) g_object_unref(certificate);
    return verdict;
  }

  TempDir dir;
  TestCertificates certificates;
};

TEST_F(TlsTrustTest, OnlyAValidCertificateOfTheAuthorityForTheHostIsAccepted) {
  TlsTrust trust;
  std::string problem;
  ASSERT_TRUE(trust.load(certificates.authority, problem)) << problem;
  struct Case {
    const char* name;
    std::string certificate;
    const char* host;
    CertificateVerdict expected;
  };
  const Case cases[] = {
      {"issued for the host", certificates.localhost, "localhost", CertificateVerdict::Accepted},
      {"issued for another name", certificates.other_host, "localhost",
       CertificateVerdict::Refused},
      {"the other name itself", certificates.other_host, "other.example",
       CertificateVerdict::Accepted},
      {"issued by itself", certificates.self_signed, "localhost", CertificateVerdict::Refused},
      {"expired", certificates.expired, "localhost", CertificateVerdict::Refused},
      {"no host", certificates.localhost, "", CertificateVerdict::Refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(verdict_for(trust, c.certificate, c.host), c.expected);
  }
  EXPECT_EQ(trust.verdict(nullptr, "localhost"), CertificateVerdict::Refused);
}

TEST_F(TlsTrustTest, WithoutAUsableFileNothingIsAccepted) {
  TlsTrust none;
  EXPECT_EQ(verdict_for(none, certificates.localhost, "localhost"), CertificateVerdict::Refused);

  dir.write("not-pem.txt", "no certificate here\n");
  TlsTrust broken;
  std::string problem;
  EXPECT_FALSE(broken.load(dir.path() + "not-pem.txt", problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_EQ(verdict_for(broken, certificates.localhost, "localhost"), CertificateVerdict::Refused);

  // A file that cannot be used takes the place of a good one.
  TlsTrust replaced;
  ASSERT_TRUE(replaced.load(certificates.authority, problem)) << problem;
  EXPECT_FALSE(replaced.load(dir.path() + "missing.pem", problem));
  EXPECT_EQ(verdict_for(replaced, certificates.localhost, "localhost"),
            CertificateVerdict::Refused);
}

}  // namespace
}  // namespace tovali
