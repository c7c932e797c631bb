// Runs the real tovali-settings executable against private settings folders.

#include <gtest/gtest.h>

#include <filesystem>

#include "RunCommand.h"
#include "TempDir.h"
#include "settings/ConfigStore.h"

namespace tovali {
namespace {

using testing::CommandResult;
using testing::TempDir;

class SettingsToolTest : public ::testing::Test {
 protected:
  CommandResult tool(std::vector<std::string> args) {
    args.insert(args.begin(), TOVALI_SETTINGS_EXE);
    return testing::run_command(args, {{"XDG_CONFIG_HOME", m_home.path() + "cfg"}});
  }
  std::string dir() const { return m_home.path() + "cfg/tovali-explorer/"; }

  TempDir m_home;
};

TEST_F(SettingsToolTest, ReadsDefaultsWithoutWritingAndSavesEveryChangeToAllCopies) {
  auto r = tool({"list"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.out.substr(0, 18), "password=marigold\n");
  EXPECT_EQ(ConfigStore(dir()).FirstUsableCopy(), -1);  // reading wrote nothing

  r = tool({"paths"});
  EXPECT_EQ(r.out, "  " + dir() + "finalg.dat\n  " + dir() + "system/stlber.dat\n  " + dir() +
                       "config/rushol.dat\n");

  EXPECT_EQ(tool({"set", "Req_Pw_Close", "1"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "REQ_PW_CLOSE"}).out, "1\n");
  EXPECT_EQ(tool({"set", "note", "a=b \xE9"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "note"}).out, "a=b \xE9\n");
  EXPECT_EQ(tool({"paths"}).out.substr(0, 2), "* ");

  // All three copies hold the change: damage the first two and read again.
  const auto paths = ConfigStore(dir()).CopyPaths();
  for (int i = 0; i < 2; ++i) {
    FILE* f = std::fopen(paths[static_cast<std::size_t>(i)].c_str(), "w");
    std::fputs("junk\r\n", f);
    std::fclose(f);
  }
  EXPECT_EQ(tool({"get", "req_pw_close"}).out, "1\n");
  EXPECT_EQ(tool({"paths"}).out.find("* "), tool({"paths"}).out.find("* " + dir() + "config"));

  EXPECT_EQ(tool({"unset", "note"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "note"}).exit_status, 1);
  EXPECT_EQ(tool({"set", "req_pw_close", ""}).exit_status, 0);
  EXPECT_EQ(tool({"get", "req_pw_close"}).exit_status, 1);
}

TEST_F(SettingsToolTest, WrongCallsPrintUsageAndExitTwo) {
  const std::vector<std::vector<std::string>> calls = {
      {}, {"frobnicate"}, {"get"}, {"set", "k"}, {"list", "extra"}, {"set", "a=b", "c"}};
  for (const auto& call : calls) {
    const auto r = tool(call);
    EXPECT_EQ(r.exit_status, 2) << (call.empty() ? "" : call[0]);
    EXPECT_NE(r.err.find("tovali-settings"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
  const auto help = tool({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_NE(help.out.find("Usage: tovali-settings"), std::string::npos);
}

TEST_F(SettingsToolTest, AFailedSaveNamesTheCopyAndExitsOne) {
  ASSERT_EQ(tool({"set", "k", "old"}).exit_status, 0);
  std::filesystem::remove_all(dir() + "system");
  m_home.write("cfg/tovali-explorer/system", "a file where the folder belongs");
  const auto r = tool({"set", "k", "v"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.err.find("stlber.dat"), std::string::npos) << r.err;
  EXPECT_EQ(tool({"get", "k"}).out, "old\n");  // the other copies were kept as they were
}

}  // namespace
}  // namespace tovali
