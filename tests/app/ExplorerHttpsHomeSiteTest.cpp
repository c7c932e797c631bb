// The real program with its home site over HTTPS: the school's authority in
// ca.pem (the administrator's folder) makes the configuration download and
// the menu page trust the site; a certificate that neither the system nor
// ca.pem vouches for stays refused. Certificates are made by openssl at test
// time; the site is served by the logging test server over TLS on 127.0.0.1.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "AppTest.h"
#include "TestCertificates.h"

namespace tovali::testing {
namespace {

constexpr const char* kSitePath = "tovali/v200/group1/";
constexpr const char* kMenuPath = "/tovali/v200/group1/teindex.php3";

class ExplorerHttpsHomeSite : public ExplorerTest {
 protected:
  void SetUp() override {
    ExplorerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string problem;
    ASSERT_TRUE(make_test_certificates(temp().path(), certificates, problem)) << problem;
    write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
    write_site_file(std::string(kSitePath) + "teindex.php3",
                    "<html><body><p>menu</p><img src='/after-menu.png'></body></html>");
    write_site_file("after-menu.png", "not really a picture");
    // The administrator's folder holds the school's authority.
    std::filesystem::create_directories(env().system_dir());
    std::filesystem::copy_file(certificates.authority, env().system_dir() + "ca.pem");
  }

  // Serves the site over HTTPS with `certificate` and makes it the one
  // configuration and home site (as "localhost", the certificates' name).
  void serve_https_home_site(const std::string& certificate, const std::string& key) {
    std::string error;
    https = TestServer::start_https(site_dir(), temp().path() + "https/", certificate, key, &error);
    ASSERT_TRUE(https) << error;
    set_setting("num-sites", "1");
    set_setting("site-0", "https://localhost:" + std::to_string(https->port()));
    set_setting("prevent_switch", "0");
    set_setting("load_main_default", "1");
  }

  void TearDown() override {
    if (HasFailure() && https) std::cerr << "---- HTTPS requests ----\n" << https->log_text();
    ExplorerTest::TearDown();
    https.reset();
  }

  TestCertificates certificates;
  std::unique_ptr<TestServer> https;
};

TEST_F(ExplorerHttpsHomeSite, TheMenuPageOfASiteThatCaPemVouchesForLoads) {
  serve_https_home_site(certificates.localhost, certificates.localhost_key);
  start_explorer();
  ASSERT_TRUE(https->wait_for_path("/tovali/v200/group1/teconfig.dat", kStartTimeout));
  // The menu page and what it loads itself: the page was shown.
  EXPECT_TRUE(https->wait_for_path(kMenuPath, kStartTimeout)) << explorer().output();
  EXPECT_TRUE(https->wait_for_path("/after-menu.png")) << explorer().output();
  EXPECT_FALSE(std::filesystem::exists(state_dir() + "error.html"));
}

TEST_F(ExplorerHttpsHomeSite, ACertificateOfAnotherAuthorityStaysRefused) {
  serve_https_home_site(certificates.self_signed, certificates.self_signed_key);
  start_explorer();
  // The navigation frame shows the program's error page in place of the
  // menu; the refusal came before any HTTP request, so the server logged none.
  ASSERT_TRUE(wait_for_file(state_dir() + "error.html", kStartTimeout)) << explorer().output();
  EXPECT_TRUE(https->requests().empty()) << https->log_text();
}

}  // namespace
}  // namespace tovali::testing
