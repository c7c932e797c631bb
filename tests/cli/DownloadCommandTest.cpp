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
  bool site_1_answers;
  bool disabled;
  int exit_status;
  const char* printed;
};

TEST(DownloadCommand, PrintsEachStatusTextAndExitsWithTheOutcome) {
  const Case cases[] = {
      {"the second site answers", true, false, 0,
       "Getting configuration from primary site\n"
       "Getting configuration from secondary site\n"
       "Got configuration\n"},
      {"no site answers", false, false, 1,
       "Getting configuration from primary site\n"
       "Getting configuration from secondary site\n"
       "Could not get configuration\n"},
      {"download_config is 0", true, true, 0, ""},
  };
  ::unsetenv("http_proxy");
  ::unsetenv("HTTP_PROXY");
  for (const Case& c : cases) {
    ScriptedServer server;
    if (c.site_1_answers) {
      server.on(kConfigPath, Reply{http_response("HTTP/1.0 200 OK", {},
                                                 "program-version=205\r\nhide_navframe=1\r\n")});
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
    EXPECT_EQ(r.err, "") << c.name;
    Settings after;
    EXPECT_EQ(store.ReadConfig(after), LoadSource::FirstCopy) << c.name;
    if (c.site_1_answers && !c.disabled) {
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
