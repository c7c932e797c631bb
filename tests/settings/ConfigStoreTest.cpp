#include "settings/ConfigStore.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempDir.h"
#include "settings/ScrambledFile.h"

namespace tovali {
namespace {

using testing::TempDir;

TEST(ConfigStore, CopiesLiveBelowTheXdgConfigFolder) {
  const char* old_xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old_xdg ? old_xdg : "";
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(ConfigStore::DefaultTEWinDir(), "/cfg/tovali-explorer/");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  ::setenv("HOME", "/home/kid", 1);
  EXPECT_EQ(ConfigStore::DefaultTEWinDir(), "/home/kid/.config/tovali-explorer/");
  if (old_xdg) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }

  const ConfigStore store("/x/tovali-explorer");
  EXPECT_EQ(store.CopyPaths()[0], "/x/tovali-explorer/finalg.dat");
  EXPECT_EQ(store.CopyPaths()[1], "/x/tovali-explorer/system/stlber.dat");
  EXPECT_EQ(store.CopyPaths()[2], "/x/tovali-explorer/config/rushol.dat");
}

TEST(ConfigStore, NoUsableCopyWritesTheDefaultsToAllThree) {
  TempDir dir;
  const ConfigStore store(dir.path());
  Settings s;
  const auto report = store.LoadConfig(s);
  EXPECT_EQ(report.source, LoadSource::Defaults);
  EXPECT_TRUE(report.save.ok());
  EXPECT_EQ(s.lines(), ConfigStore::DefaultLines());
  ASSERT_EQ(s.lines().size(), 19u);
  EXPECT_EQ(s.lines().front(), "password=marigold");
  EXPECT_EQ(s.lines().back(), "pext-1=zip");
  for (const auto& path : store.CopyPaths()) {
    TextList encoded, decoded;
    ASSERT_TRUE(LoadEncodedFile(path, encoded)) << path;
    DecodeAndLoad(encoded, decoded);
    EXPECT_EQ(decoded, s.lines());
  }
  // Each copy is encoded afresh.
  EXPECT_NE(dir.read("finalg.dat"), dir.read("system/stlber.dat"));
}

TEST(ConfigStore, TheFirstUsableCopyWinsAndNoDefaultsAreMerged) {
  TempDir dir;
  const ConfigStore store(dir.path());
  const auto paths = store.CopyPaths();
  const struct {
    const char* name;
    const char* first;  // text of finalg.dat, or nullptr for missing
    LoadSource source;
  } cases[] = {
      {"count mismatch", "30303039\r\nFF00\r\n", LoadSource::SecondCopy},
      {"not hex", "ZZZZZZZZ\r\n", LoadSource::SecondCopy},
      {"short header", "3030\r\n", LoadSource::SecondCopy},
      {"missing", nullptr, LoadSource::SecondCopy},
  };
  for (const auto& c : cases) {
    std::remove(paths[0].c_str());
    if (c.first) dir.write("finalg.dat", c.first);
    ASSERT_TRUE(EncodeAndSave(paths[1], {"only=second"}));
    ASSERT_TRUE(EncodeAndSave(paths[2], {"only=third"}));
    Settings s({"previous=1"});
    EXPECT_EQ(store.LoadConfig(s).source, c.source) << c.name;
    EXPECT_EQ(s.lines(), TextList{"only=second"}) << c.name;
    EXPECT_EQ(store.FirstUsableCopy(), 1) << c.name;
  }
  // An empty first copy is usable and gives empty settings.
  dir.write("finalg.dat", "");
  Settings s({"previous=1"});
  EXPECT_EQ(store.LoadConfig(s).source, LoadSource::FirstCopy);
  EXPECT_TRUE(s.lines().empty());
}

TEST(ConfigStore, ReadConfigWritesNothing) {
  TempDir dir;
  const ConfigStore store(dir.path() + "sub/");
  Settings s;
  EXPECT_EQ(store.ReadConfig(s), LoadSource::Defaults);
  EXPECT_EQ(s.lines(), ConfigStore::DefaultLines());
  EXPECT_EQ(store.FirstUsableCopy(), -1);
}

TEST(ConfigStore, AFailedCopyDoesNotStopTheOthers) {
  TempDir dir;
  dir.write("system", "a file where a folder belongs");
  const ConfigStore store(dir.path());
  const Settings s({"a=1"});
  const auto report = store.SaveConfig(s);
  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.failures[0].path, store.CopyPaths()[1]);
  EXPECT_NE(report.describe().find("stlber.dat"), std::string::npos);
  Settings loaded;
  EXPECT_EQ(store.LoadConfig(loaded).source, LoadSource::FirstCopy);
  TextList encoded;
  EXPECT_TRUE(LoadEncodedFile(store.CopyPaths()[2], encoded));
}

}  // namespace
}  // namespace tovali
