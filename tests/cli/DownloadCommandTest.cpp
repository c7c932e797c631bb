// `tovali-settings download`, run as the real executable against local test
// servers and private settings folders.

#include <gtest/gtest.h>

#include <cstdlib>

#include <filesystem>

#include "MinisignTool.h"
#include "RunCommand.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "TestCertificates.h"
#include "TestServer.h"
#include "settings/ConfigStore.h"

namespace tovali {
namespace {

using testing::http_response;
using testing::Reply;
using testing::ScriptedServer;

constexpr const char* kConfigPath = "/tovali/v200/group1/teconfig.dat";

struct Case {
  const char* name;
  std::string document;  // what site 1 answers with 200; "" for 404
  bool disabled;
  int exit_status;
  const char* printed;
  const char* error;  // the start of what is printed on stderr
};

std::string many_lines(int count) {
  std::string document;
  for (int i = 0; i < count; ++i) document += "k" + std::to_string(i) + "=1\r\n";
  return document;
}

TEST(DownloadCommand, PrintsEachStatusTextAndExitsWithTheOutcome) {
  const Case cases[] = {
      {"the second site answers", "program-version=205\r\nhide_navframe=1\r\n", false, 0,
       "Getting configuration from primary site\n"
       "Getting configuration from secondary site\n"
       "Got configuration\n",
       ""},
      {"no site answers", "", false, 1,
       "Getting configuration from primary site\n"
       "Getting configuration from secondary site\n"
       "Could not get configuration\n",
       ""},
      {"download_config is 0", "program-version=205\r\n", true, 0, "", ""},
      // A document the merge refuses was never got.
      {"the document would leave more lines than a copy can count",
       "password=evil\r\n" + many_lines(70000), false, 1,
       "Getting configuration from primary site\n"
       "Getting configuration from secondary site\n"
       "Could not get configuration\n",
       "tovali-settings: the configuration from site-1 (http://127.0.0.1:"},
  };
  ::unsetenv("http_proxy");
  ::unsetenv("HTTP_PROXY");
  for (const Case& c : cases) {
    ScriptedServer server;
    const bool site_1_answers = !c.document.empty();
    if (site_1_answers) {
      server.on(kConfigPath, Reply{http_response("HTTP/1.0 200 OK", {}, c.document)});
    }
    testing::TempDir home;
    const std::string dir = home.path() + "cfg/tovali-explorer/";
    const ConfigStore store(dir);
    Settings before{{"password=pw", "num-sites=2",
                     "site-0=http://127.0.0.1:" + std::to_string(testing::unused_port()),
                     "site-1=" + server.base(), "hide_navframe=0"}};
    if (c.disabled) before.set_value("download_config", "0");
    ASSERT_TRUE(store.SaveConfig(before).ok());

    const auto r = testing::run_command({TOVALI_SETTINGS_EXE, "download"},
                                        {{"XDG_CONFIG_HOME", home.path() + "cfg"}});

    EXPECT_EQ(r.exit_status, c.exit_status) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.printed) << c.name;
    if (*c.error == '\0') {
      EXPECT_EQ(r.err, "") << c.name;
    } else {
      EXPECT_EQ(r.err.rfind(c.error, 0), 0u) << c.name << "\n" << r.err;
      EXPECT_NE(r.err.find("more than 65535 settings lines"), std::string::npos) << r.err;
    }
    Settings after;
    EXPECT_EQ(store.read_config(after), LoadSource::FirstCopy) << c.name;
    if (c.exit_status == 0 && !c.disabled) {
      EXPECT_EQ(after.value("program-version"), "205") << c.name;
      EXPECT_EQ(after.value("hide_navframe"), "1") << c.name;
      EXPECT_EQ(server.requests().size(), 1u) << c.name;
    } else {
      EXPECT_EQ(after.lines(), before.lines()) << c.name;
      EXPECT_EQ(server.requests().size(), c.disabled ? 0u : 1u) << c.name;
    }
  }
}

TEST(DownloadCommand, TheAdministratorsFolderDecidesWhatIsTrusted) {
  if (!testing::TestServer::available()) GTEST_SKIP() << "python3 is missing";
  testing::TempDir work;
  testing::TestCertificates certificates;
  std::string problem;
  ASSERT_TRUE(testing::make_test_certificates(work.path(), certificates, problem)) << problem;
  ASSERT_TRUE(testing::minisign_make_key(work.path() + "a.pub", work.path() + "a.sec", problem))
      << problem;
  ASSERT_TRUE(testing::minisign_make_key(work.path() + "b.pub", work.path() + "b.sec", problem))
      << problem;
  const std::string document = "program-version=205\r\n";
  work.write(std::string("site") + kConfigPath, document);
  ASSERT_TRUE(testing::minisign_sign(work.path() + "a.sec", work.path() + "site" + kConfigPath,
                                     testing::MinisignStyle::Prehashed, "teconfig.dat", problem))
      << problem;
  auto server = testing::TestServer::start_https(work.path() + "site", work.path() + "server",
                                                 certificates.localhost, certificates.localhost_key,
                                                 &problem);
  ASSERT_TRUE(server) << problem;
  const std::string site = server->url_for("", "localhost");
  const std::string refused = "tovali-settings: configuration refused from site-0 (" + site + "): ";

  struct Case {
    const char* name;
    const char* ca_pem;          // "": none; "<dir>": a folder in its place; "<damaged>"
    const char* config_key_pub;  // "": none
    int exit_status;
    std::string err;
    std::size_t requests;
  };
  const Case cases[] = {
      {"the test authority in ca.pem and the signing key", "authority", "a.pub", 0, "", 2},
      {"no ca.pem", "", "", 1,
       refused + "Secure connection to localhost failed: the certificate's issuer is not trusted\n",
       0},
      {"another signing key", "authority", "b.pub", 1, refused + "signed with key ", 2},
      {"a ca.pem that cannot be read", "<dir>", "a.pub", 1, refused + "cannot read ", 0},
      {"a ca.pem with a damaged certificate", "<damaged>", "", 1, refused + "cannot read ", 0},
  };
  // "Got configuration" is said once, and only for a document that was
  // accepted: not at the end of the document's body, nor of its signature's.
  const std::string got = "Getting configuration from primary site\nGot configuration\n";
  const std::string failed =
      "Getting configuration from primary site\nCould not get configuration\n";
  ::unsetenv("http_proxy");
  ::unsetenv("https_proxy");
  for (const Case& c : cases) {
    testing::TempDir home;
    const std::string system_dir = home.path() + "system/";
    std::filesystem::create_directories(system_dir);
    if (std::string(c.ca_pem) == "<dir>") {
      std::filesystem::create_directory(system_dir + "ca.pem");
    } else if (std::string(c.ca_pem) == "<damaged>") {
      home.write("system/ca.pem",
                 "-----BEGIN CERTIFICATE-----\nMIIBdamaged\n"
                 "-----END CERTIFICATE-----\n");
    } else if (*c.ca_pem) {
      home.write("system/ca.pem", work.read("authority.pem"));
    }
    if (*c.config_key_pub) home.write("system/config-key.pub", work.read(c.config_key_pub));
    const ConfigStore store(home.path() + "cfg/tovali-explorer/");
    ASSERT_TRUE(store.SaveConfig(Settings{{"num-sites=1", "site-0=" + site}}).ok());
    const std::size_t requests_before = server->requests().size();

    const auto r = testing::run_command(
        {TOVALI_SETTINGS_EXE, "download"},
        {{"XDG_CONFIG_HOME", home.path() + "cfg"}, {"TOVALI_SYSTEM_DIR", system_dir}});

    EXPECT_EQ(r.exit_status, c.exit_status) << c.name << "\n" << r.err;
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.name;
    EXPECT_EQ(r.err.empty(), c.err.empty()) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.exit_status == 0 ? got : failed) << c.name;
    Settings after;
    store.read_config(after);
    EXPECT_EQ(after.value("program-version"), c.exit_status == 0 ? "205" : "") << c.name;
    // The command has ended: every request it made is in the log.
    EXPECT_EQ(server->requests().size() - requests_before, c.requests) << c.name;
  }
}

TEST(DownloadCommand, TakesNoArguments) {
  const auto r = testing::run_command({TOVALI_SETTINGS_EXE, "download", "now"});
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace tovali
