#include "settings/StartupSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "BuildConfig.h"
#include "SpecialFiles.h"
#include "TempDir.h"
#include "settings/ScrambledFile.h"

namespace tovali {
namespace {

using testing::TempDir;

struct Folders {
  TempDir program;
  TempDir config;
  TempDir system;
  TempDir state;
  Locations locations() const {
    return {program.path(), config.path(), system.path(), state.path(), ""};
  }
  Settings stored() const {
    Settings s;
    ConfigStore(config.path()).read_config(s);
    return s;
  }
};

TEST(StartupSettings, FirstStartWritesDefaultsThenTheSiteLinesOnce) {
  Folders f;
  auto state = run_startup_settings_steps(f.locations());
  EXPECT_TRUE(state.save_failures.ok()) << state.save_failures.describe();
  TextList expected = ConfigStore::default_lines();
  expected.push_back("welcome_done=0");  // the grown-up's welcome is to come
  expected.push_back("num-sites=2");
  expected.push_back(std::string("site-0=") + build::kPrimarySite);
  expected.push_back(std::string("site-1=") + build::kSecondarySite);
  EXPECT_EQ(state.settings.lines(), expected);
  EXPECT_EQ(state.settings.value("password"), "marigold");
  EXPECT_EQ(state.SitePath, "/tovali/v200/group1");
  EXPECT_EQ(state.SiteBaseURL, build::kPrimarySite);
  for (const auto& path : ConfigStore(f.config.path()).copy_paths()) {
    struct stat st;
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  }
  EXPECT_EQ(f.stored().lines(), expected);

  state = run_startup_settings_steps(f.locations());
  EXPECT_EQ(state.settings.lines(), expected);  // nothing added twice
}

TEST(StartupSettings, ASiteCountOfZeroGetsOnlyTheMissingLines) {
  const struct {
    const char* name;
    TextList stored;
    TextList added;
  } cases[] = {
      {"zero count kept first",
       {"num-sites=0", "site-0=http://a.example"},
       {std::string("site-1=") + build::kSecondarySite}},
      {"nonsense count",
       {"num-sites=many"},
       {"site-0=" + std::string(build::kPrimarySite),
        "site-1=" + std::string(build::kSecondarySite)}},
      {"missing",
       {"x=1"},
       {"num-sites=2", "site-0=" + std::string(build::kPrimarySite),
        "site-1=" + std::string(build::kSecondarySite)}},
      {"two sites", {"num-sites=2", "site-0=http://a.example", "site-1=http://b.example"}, {}},
  };
  for (const auto& c : cases) {
    Folders f;
    ASSERT_TRUE(ConfigStore(f.config.path()).SaveConfig(Settings(c.stored)).ok());
    const auto state = run_startup_settings_steps(f.locations());
    TextList expected = c.stored;
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    expected.push_back("password=marigold");
    EXPECT_EQ(state.settings.lines(), expected) << c.name;
    EXPECT_EQ(state.settings.value("num-sites"),
              c.stored.front().rfind("num-sites=", 0) == 0 ? c.stored.front().substr(10) : "2")
        << c.name;
  }
}

TEST(StartupSettings, AnEmptiedPasswordReturnsUnlessNopasswordIsSet) {
  Folders f;
  auto state = run_startup_settings_steps(f.locations());
  state.settings.set_value("PASSWORD", "");
  ASSERT_TRUE(ConfigStore(f.config.path()).SaveConfig(state.settings).ok());
  EXPECT_EQ(run_startup_settings_steps(f.locations()).settings.value("password"), "marigold");

  state.settings.set_value("password", "");
  state.settings.set_value("nopassword", "1");
  ASSERT_TRUE(ConfigStore(f.config.path()).SaveConfig(state.settings).ok());
  const auto again = run_startup_settings_steps(f.locations());
  EXPECT_FALSE(again.settings.has("password"));
  EXPECT_FALSE(f.stored().has("password"));
}

TEST(StartupSettings, LockedValuesHoldWhenTheCopiesAreDeletedOrDamaged) {
  Folders f;
  f.system.write("settings.conf", "req_pw_close=1\npassword=\nnum-sites=1\nsite-0=http://s.test\n");
  const ConfigStore store(f.config.path());
  // The child's copies say otherwise, then are damaged, then deleted.
  ASSERT_TRUE(store.SaveConfig(Settings({"req_pw_close=0", "password=mine"})).ok());
  for (const char* what : {"as saved", "damaged", "deleted"}) {
    if (std::string(what) == "damaged") {
      for (const char* copy : {"finalg.dat", "system/stlber.dat", "config/rushol.dat"}) {
        f.config.write(copy, "junk\r\n");
      }
    } else if (std::string(what) == "deleted") {
      for (const auto& path : store.copy_paths()) std::remove(path.c_str());
    }
    const auto state = run_startup_settings_steps(f.locations());
    EXPECT_EQ(state.system_settings_problems, "") << what;
    EXPECT_EQ(state.settings.value("req_pw_close"), "1") << what;
    EXPECT_EQ(state.settings.value("password"), "") << what;  // no "marigold" over a lock
    EXPECT_EQ(state.settings.value("site-0"), "http://s.test") << what;
    EXPECT_EQ(state.settings.count("num-sites"), 1) << what;
  }
  // The copies keep the user's own lines: the factory ones after the deletion.
  Settings stored;
  store.read_config(stored);
  EXPECT_EQ(stored.value("req_pw_close"), "0");
  EXPECT_EQ(stored.value("password"), "marigold");
}

TEST(StartupSettings, AnUnreadableSettingsConfKeepsClosingAndSetupBehindThePassword) {
  Folders f;
  // The child's copies turn every protection off.
  ASSERT_TRUE(ConfigStore(f.config.path())
                  .SaveConfig(Settings(
                      {"req_pw_close=0", "req_pw_config=0", "download_config=1", "password=mine"}))
                  .ok());
  std::filesystem::create_directories(f.system.path() + "settings.conf");
  const auto state = run_startup_settings_steps(f.locations());
  EXPECT_TRUE(state.system_settings_unreadable);
  EXPECT_NE(state.system_settings_problems.find("settings.conf: cannot be read"),
            std::string::npos);
  EXPECT_TRUE(state.settings.is_on("req_pw_close"));
  EXPECT_TRUE(state.settings.is_on("req_pw_config"));
  EXPECT_FALSE(state.settings.is_on("download_config"));
  EXPECT_EQ(state.settings.value("password"), "mine");
  // The copies keep the user's lines.
  EXPECT_EQ(f.stored().value("req_pw_close"), "0");

  std::filesystem::remove_all(f.system.path() + "settings.conf");
  const auto readable = run_startup_settings_steps(f.locations());
  EXPECT_FALSE(readable.system_settings_unreadable);
  EXPECT_FALSE(readable.settings.is_on("req_pw_close"));
}

TEST(StartupSettings, TheRefusedUrlLogIsLoadedBoundedAndSaved) {
  Folders f;
  std::string text;
  for (int i = 0; i < 510; ++i) text += "http://site" + std::to_string(i) + ".example/\r\n";
  f.state.write("prohurl.log", text);
  auto state = run_startup_settings_steps(f.locations());
  ASSERT_EQ(state.prohibited_log.size(), 500u);
  EXPECT_EQ(state.prohibited_log.entries().front(), "http://site10.example/");
  state.prohibited_log.append("http://new.example/");
  EXPECT_EQ(state.prohibited_log.size(), 500u);
  EXPECT_EQ(state.prohibited_log.entries().front(), "http://site11.example/");
  ASSERT_TRUE(save_prohibited_log(f.locations(), state.prohibited_log));
  const auto reloaded = run_startup_settings_steps(f.locations());
  EXPECT_EQ(reloaded.prohibited_log.entries(), state.prohibited_log.entries());
  EXPECT_EQ(f.state.read("prohurl.log").substr(0, 24), "http://site11.example/\r\n");
  EXPECT_EQ(f.program.read("prohurl.log"), "");
}

TEST(StartupSettings, AnUnreadableLogLeavesTheLogEmpty) {
  Folders f;
  ::mkdir((f.state.path() + "prohurl.log").c_str(), 0755);  // a folder cannot be read as lines
  const auto state = run_startup_settings_steps(f.locations());
  EXPECT_TRUE(state.prohibited_log_unreadable);
  EXPECT_EQ(state.prohibited_log.size(), 0u);
  EXPECT_EQ(state.settings.value("password"), "marigold");
  EXPECT_FALSE(save_prohibited_log(f.locations(), state.prohibited_log));
}

// A FIFO or /dev/zero in place of the log or of settings copies is reported
// like an unreadable file, at once: start-up neither waits for a writer nor
// reads without end.
TEST(StartupSettings, AFifoOrADeviceInPlaceOfTheLogOrACopyDoesNotHoldStartUp) {
  using testing::SpecialFile;
  for (const SpecialFile kind : {SpecialFile::Fifo, SpecialFile::DevZero}) {
    Folders f;
    const auto copies = ConfigStore(f.config.path()).copy_paths();
    ASSERT_TRUE(EncodeAndSave(copies[2], {"password=third"}));
    for (int i = 0; i < 2; ++i) {
      std::filesystem::create_directories(std::filesystem::path(copies[i]).parent_path());
      ASSERT_TRUE(testing::make_special_file(copies[i], kind));
    }
    ASSERT_TRUE(testing::make_special_file(f.state.path() + "prohurl.log", kind));
    std::string problem;
    EXPECT_TRUE(testing::run_in_child(
        [&f] {
          const auto state = run_startup_settings_steps(f.locations());
          return state.prohibited_log_unreadable && state.prohibited_log.size() == 0 &&
                 state.settings.value("password") == "third";
        },
        60, &problem))
        << testing::special_file_name(kind) << ": " << problem;
  }
}

TEST(StartupSettings, TheLogIsSavedIntoAStateFolderThatIsMissing) {
  Folders f;
  Locations locations = f.locations();
  locations.state_dir = f.state.path() + "state/tovali-explorer/";
  ProhibitedLog log;
  log.append("http://refused.example/");
  ASSERT_TRUE(save_prohibited_log(locations, log));
  EXPECT_EQ(f.state.read("state/tovali-explorer/prohurl.log"), "http://refused.example/\r\n");
  struct stat st;
  ASSERT_EQ(::stat(locations.state_dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);  // the child's log is the user's alone
}

// Runs the start-up steps on a read-only settings folder. Root ignores file
// permissions, so the steps then run in a child process as an ordinary user.
TEST(StartupSettings, AReadOnlySettingsFolderIsReportedAndStartUpGoesOn) {
  Folders f;
  ASSERT_EQ(::chmod(f.config.path().c_str(), 0555), 0);
  ::chmod(f.program.path().c_str(), 0755);
  if (::geteuid() != 0) {
    const auto state = run_startup_settings_steps(f.locations());
    EXPECT_FALSE(state.save_failures.ok());
    EXPECT_EQ(state.settings.value("password"), "marigold");
    return;
  }
  // The temporary folders' parents must be reachable by the ordinary user.
  ::chmod(f.config.path().c_str(), 0555);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const auto state = run_startup_settings_steps(f.locations());
    const bool reported = !state.save_failures.ok() &&
                          state.save_failures.describe().find("finalg.dat") != std::string::npos;
    ::_exit(reported && state.settings.value("password") == "marigold" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace tovali
