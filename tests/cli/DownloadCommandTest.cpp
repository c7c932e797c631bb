// `tovali-settings download`, run as the real executable against local test
// servers and private settings folders.

#include <gtest/gtest.h>

#include <cstdlib>

#include "RunCommand.h"
#include "ScriptedServer.h"
#include "TempDir.h"
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
      // The body's end shows "Got configuration" before the merge is tried.
      {"the document would leave more lines than a copy can count",
       "password=evil\r\n" + many_lines(70000), false, 1,
       "Getting configuration from primary site\n"
       "Getting configuration from secondary site\n"
       "Got configuration\n"
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
    EXPECT_EQ(store.ReadConfig(after), LoadSource::FirstCopy) << c.name;
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

TEST(DownloadCommand, TakesNoArguments) {
  const auto r = testing::run_command({TOVALI_SETTINGS_EXE, "download", "now"});
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace tovali
