// https:// over the GIO socket: the sample server speaks TLS with
// certificates of a test authority made by openssl; the client trusts that
// authority through an extra certificate file, as ca.pem does.

#include <gtest/gtest.h>

#include <memory>

#include "HttpTestClient.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "TestCertificates.h"
#include "TestServer.h"

namespace tovali {
namespace {

using testing::HttpTestClient;
using testing::TempDir;
using testing::TestCertificates;
using testing::TestServer;

struct Https : ::testing::Test {
  void SetUp() override {
    if (!TestServer::available()) GTEST_SKIP() << "python3 is missing";
    std::string problem;
    ASSERT_TRUE(testing::make_test_certificates(dir.path(), certificates, problem)) << problem;
    dir.write("site/doc.txt", "secret=1\r\n");
  }

  // The sample site over HTTPS with one of the certificates.
  std::unique_ptr<TestServer> serve(const std::string& cert, const std::string& key,
                                    const std::string& name) {
    std::string error;
    auto server =
        TestServer::start_https(dir.path() + "site", dir.path() + name, cert, key, &error);
    EXPECT_TRUE(server) << error;
    return server;
  }

  void trust_test_authority(HttpTestClient& client) {
    std::string problem;
    ASSERT_TRUE(client.socket.trust_certificates_in(certificates.authority, problem)) << problem;
  }

  TempDir dir;
  TestCertificates certificates;
};

TEST_F(Https, ACertificateOfTheTrustedAuthorityForTheHostIsAccepted) {
  auto server = serve(certificates.localhost, certificates.localhost_key, "server");
  ASSERT_TRUE(server);
  dir.write("site/moved.txt", "");
  dir.write("site/moved.txt.headers", "Status: 302\nLocation: /doc.txt\n");
  HttpTestClient client;
  trust_test_authority(client);

  ASSERT_TRUE(client.get(server->url_for("/moved.txt", "localhost")));

  EXPECT_EQ(client.cli.StatusCode(), 200) << client.cli.ReasonPhrase();
  EXPECT_EQ(client.doc, "secret=1\r\n");
  EXPECT_FALSE(client.cli.security_failure());
  const auto requests = server->requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].target, "/doc.txt");
  EXPECT_EQ(requests[1].host, "localhost");
}

TEST_F(Https, UntrustedOrWrongCertificatesFailTheRequestBeforeAnyRequestIsSent) {
  struct Case {
    const char* name;
    std::string cert;
    std::string key;
    bool trust_authority;
    const char* reason;
  };
  const Case cases[] = {
      {"the authority is not trusted", certificates.localhost, certificates.localhost_key, false,
       "Secure connection to localhost failed: the certificate's issuer is not trusted"},
      {"a certificate for another host name", certificates.other_host, certificates.other_host_key,
       true, "Secure connection to localhost failed: the certificate is for another host name"},
      {"a self-signed certificate", certificates.self_signed, certificates.self_signed_key, true,
       "Secure connection to localhost failed: the certificate's issuer is not trusted"},
      {"an expired certificate", certificates.expired, certificates.expired_key, true,
       "Secure connection to localhost failed: the certificate has expired"},
  };
  int n = 0;
  for (const Case& c : cases) {
    auto server = serve(c.cert, c.key, "server" + std::to_string(n++));
    ASSERT_TRUE(server) << c.name;
    HttpTestClient client;
    if (c.trust_authority) trust_test_authority(client);

    ASSERT_TRUE(client.get(server->url_for("/doc.txt", "localhost"))) << c.name;

    EXPECT_EQ(client.cli.StatusCode(), 404) << c.name;
    EXPECT_EQ(client.cli.ReasonPhrase(), c.reason) << c.name;
    EXPECT_TRUE(client.cli.security_failure()) << c.name;
    EXPECT_EQ(client.doc, "") << c.name;
    // The client has hung up: no request can follow.
    EXPECT_TRUE(server->requests().empty()) << c.name;
  }
}

TEST_F(Https, AnAnswerWhoseConnectionDropsWithoutTheEndOfTlsFails) {
  auto server = serve(certificates.localhost, certificates.localhost_key, "server");
  ASSERT_TRUE(server);
  dir.write("site/cut.txt", "secret=1\r\n");
  dir.write("site/cut.txt.headers", "Tls-End: none\n");
  HttpTestClient client;
  trust_test_authority(client);

  ASSERT_TRUE(client.get(server->url_for("/cut.txt", "localhost")));

  // Whoever dropped it may have cut the document short.
  EXPECT_EQ(client.cli.StatusCode(), 404);
  EXPECT_EQ(client.cli.ReasonPhrase(), "Connection reset by peer (Error #10054)");
}

TEST_F(Https, ARelocationToPlainHttpIsNotFollowed) {
  std::string error;
  auto plain = TestServer::start(dir.path() + "site", dir.path() + "plain", &error);
  ASSERT_TRUE(plain) << error;
  auto server = serve(certificates.localhost, certificates.localhost_key, "server");
  ASSERT_TRUE(server);
  dir.write("site/moved.txt", "");
  dir.write("site/moved.txt.headers",
            "Status: 302\nLocation: " + plain->url_for("/doc.txt", "localhost") + "\n");
  HttpTestClient client;
  trust_test_authority(client);

  ASSERT_TRUE(client.get(server->url_for("/moved.txt", "localhost")));

  EXPECT_EQ(client.cli.StatusCode(), 404);
  EXPECT_EQ(client.cli.ReasonPhrase(), "Refused to follow a relocation from https:// to " +
                                           plain->url_for("/doc.txt", "localhost"));
  EXPECT_TRUE(client.cli.security_failure());
  EXPECT_EQ(client.doc, "");
  EXPECT_TRUE(plain->requests().empty());
}

TEST_F(Https, ThroughAProxyTheSecureConnectionGoesThroughATunnel) {
  auto server = serve(certificates.localhost, certificates.localhost_key, "server");
  ASSERT_TRUE(server);
  const std::string authority = "localhost:" + std::to_string(server->port());
  testing::ScriptedServer proxy;
  proxy.on(authority, testing::Reply{"HTTP/1.0 200 Connection established\r\n\r\n",
                                     testing::Ending::Tunnel, server->port()});
  HttpTestClient client;
  trust_test_authority(client);
  client.cli.config().Proxy = "127.0.0.1";
  client.cli.config().ProxyPort = std::to_string(proxy.port());

  ASSERT_TRUE(client.get("https://" + authority + "/doc.txt"));

  EXPECT_EQ(client.cli.StatusCode(), 200) << client.cli.ReasonPhrase();
  EXPECT_EQ(client.doc, "secret=1\r\n");
  EXPECT_EQ(proxy.requests(), std::vector<std::string>{"CONNECT " + authority + " HTTP/1.0\r\n" +
                                                       "User-Agent: Mozilla/3.0 (compatible)\r\n" +
                                                       "Host: " + authority + "\r\n\r\n"});
  const auto requests = server->requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/doc.txt");  // the server itself reads the request line
  EXPECT_EQ(requests[0].host, "localhost");
}

TEST_F(Https, AServerThatDoesNotSpeakTlsFailsTheRequest) {
  std::string error;
  auto plain = TestServer::start(dir.path() + "site", dir.path() + "plain", &error);
  ASSERT_TRUE(plain) << error;
  HttpTestClient client;
  trust_test_authority(client);

  ASSERT_TRUE(client.get("https://localhost:" + std::to_string(plain->port()) + "/doc.txt"));

  EXPECT_EQ(client.cli.StatusCode(), 404);
  EXPECT_EQ(client.cli.ReasonPhrase().rfind("Secure connection to localhost failed: ", 0), 0u)
      << client.cli.ReasonPhrase();
  EXPECT_EQ(client.doc, "");
}

TEST_F(Https, AnExtraCertificateFileThatHoldsNoCertificateIsRefused) {
  dir.write("not-pem.txt", "hello\n");
  HttpTestClient client;
  std::string problem;
  EXPECT_FALSE(client.socket.trust_certificates_in(dir.path() + "not-pem.txt", problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_FALSE(client.socket.trust_certificates_in(dir.path() + "missing.pem", problem));
}

}  // namespace
}  // namespace tovali
