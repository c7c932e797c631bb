#include "settings/ConfigStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "settings/ScrambledFile.h"

namespace tovali {
namespace {

using testing::TempDir;

TEST(ConfigStore, CopiesLiveBelowTheXdgConfigFolder) {
  const char* old_xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old_xdg ? old_xdg : "";
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(ConfigStore::default_settings_dir(), "/cfg/tovali-explorer/");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  ::setenv("HOME", "/home/kid", 1);
  EXPECT_EQ(ConfigStore::default_settings_dir(), "/home/kid/.config/tovali-explorer/");
  if (old_xdg) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }

  const ConfigStore store("/x/tovali-explorer");
  EXPECT_EQ(store.copy_paths()[0], "/x/tovali-explorer/finalg.dat");
  EXPECT_EQ(store.copy_paths()[1], "/x/tovali-explorer/system/stlber.dat");
  EXPECT_EQ(store.copy_paths()[2], "/x/tovali-explorer/config/rushol.dat");
}

TEST(ConfigStore, NoUsableCopyWritesTheDefaultsToAllThree) {
  TempDir dir;
  const ConfigStore store(dir.path());
  Settings s;
  const auto report = store.LoadConfig(s);
  EXPECT_EQ(report.source, LoadSource::Defaults);
  EXPECT_TRUE(report.save.ok());
  // The factory defaults, then the mark of the grown-up's welcome to come.
  TextList expected = ConfigStore::default_lines();
  expected.push_back("welcome_done=0");
  EXPECT_EQ(s.lines(), expected);
  ASSERT_EQ(s.lines().size(), 20u);
  EXPECT_EQ(s.lines().front(), "password=marigold");
  EXPECT_EQ(s.lines()[18], "pext-1=zip");
  for (const auto& path : store.copy_paths()) {
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
  const auto paths = store.copy_paths();
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
    EXPECT_EQ(store.first_usable_copy(), 1) << c.name;
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
  EXPECT_EQ(store.read_config(s), LoadSource::Defaults);
  TextList expected = ConfigStore::default_lines();
  expected.push_back("welcome_done=0");
  EXPECT_EQ(s.lines(), expected);
  EXPECT_EQ(store.first_usable_copy(), -1);
}

// What each copy holds, decoded ("" when it does not pass its check).
std::vector<std::string> copy_contents(const ConfigStore& store) {
  std::vector<std::string> out;
  for (const auto& path : store.copy_paths()) {
    TextList encoded, decoded;
    if (LoadEncodedFile(path, encoded)) DecodeAndLoad(encoded, decoded);
    std::string text;
    for (const auto& line : decoded) text += line + ";";
    out.push_back(text);
  }
  return out;
}

// Every file below `dir`, as paths relative to it, sorted.
std::vector<std::string> files_below(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_directory()) out.push_back(entry.path().lexically_relative(dir).string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(ConfigStore, ACopyThatCannotBeWrittenLeavesAllThreeAsTheyWere) {
  struct Case {
    const char* name;
    std::vector<std::size_t> failing;  // copies whose folder cannot take a file
    bool read_only;                    // read-only folders; else a file in the folder's place
  };
  const Case cases[] = {
      {"copy 2's folder is a file", {1}, false},   {"copy 3's folder is a file", {2}, false},
      {"copies 2 and 3", {1, 2}, false},           {"copy 2's folder is read-only", {1}, true},
      {"copy 3's folder is read-only", {2}, true},
  };
  const char* const folders[] = {"", "system", "config"};
  for (const Case& c : cases) {
    if (c.read_only && ::geteuid() == 0) {
      // Permissions do not stop the superuser; the cases above cover the rest.
      continue;
    }
    TempDir dir;
    const ConfigStore store(dir.path());
    ASSERT_TRUE(store.SaveConfig(Settings({"password=old"})).ok()) << c.name;
    for (std::size_t i : c.failing) {
      const std::string folder = dir.path() + folders[i];
      if (c.read_only) {
        ::chmod(folder.c_str(), 0555);
      } else {
        std::filesystem::remove_all(folder);
        dir.write(folders[i], "a file where a folder belongs");
      }
    }
    const std::vector<std::string> before = files_below(dir.path());

    const SaveReport report = store.SaveConfig(Settings({"password=new"}));

    ASSERT_EQ(report.failures.size(), c.failing.size()) << c.name;
    for (std::size_t k = 0; k < c.failing.size(); ++k) {
      EXPECT_EQ(report.failures[k].path, store.copy_paths()[c.failing[k]]) << c.name;
      EXPECT_FALSE(report.failures[k].reason.empty()) << c.name;
    }
    const std::string old_text = "password=old;";
    const std::string unreadable = "";
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < 3; ++i) {
      const bool gone = !c.read_only && std::count(c.failing.begin(), c.failing.end(), i);
      expected.push_back(gone ? unreadable : old_text);
    }
    EXPECT_EQ(copy_contents(store), expected) << c.name;
    EXPECT_EQ(files_below(dir.path()), before) << c.name << ": no temporary is left";
    Settings loaded;
    EXPECT_EQ(store.read_config(loaded), LoadSource::FirstCopy) << c.name;
    EXPECT_EQ(loaded.value("password"), "old") << c.name;
    for (std::size_t i : c.failing) ::chmod((dir.path() + folders[i]).c_str(), 0755);
  }
}

TEST(ConfigStore, ASaveRemovesTheTemporariesOfASaveThatWasKilled) {
  TempDir dir;
  const ConfigStore store(dir.path());
  ASSERT_TRUE(store.SaveConfig(Settings({"a=1"})).ok());
  // A writer that has ended, and one that still runs (this test's parent).
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ASSERT_GT(ended, 0);
  ::waitpid(ended, nullptr, 0);
  const std::string ended_writer = "." + std::to_string(ended) + ".";
  const std::string running_writer = "." + std::to_string(::getppid()) + ".";
  const std::vector<std::string> leftovers = {"finalg.dat.AbC123",
                                              "finalg.dat.x9Y8z7",
                                              "system/stlber.dat.000000",
                                              "config/rushol.dat.QqQqQq",
                                              "finalg.dat" + ended_writer + "Zz09aB",
                                              "settings.journal" + ended_writer + "Zz09aB"};
  const std::vector<std::string> kept = {
      "finalg.dat.bak",       "finalg.dat.AbC12",
      "finalg.dat.AbC1234",   "finalg.dat.Ab-123",
      "notes.txt.AbC123",     "system/finalg.dat.AbC123",
      "stlber.dat.AbC123",    "config/rushol.dat.XXXXX~",
      "finalg.datXAbC123",    "finalg.dat" + running_writer + "Zz09aB",
      "finalg.dat.12x.Zz09aB"};
  for (const auto& name : leftovers) dir.write(name, "half-written");
  for (const auto& name : kept) dir.write(name, "someone else's");
  std::filesystem::create_directory(dir.path() + "finalg.dat.Folder");

  ASSERT_TRUE(store.SaveConfig(Settings({"a=2"})).ok());

  std::vector<std::string> expected = kept;
  expected.insert(expected.end(),
                  {"finalg.dat", "system/stlber.dat", "config/rushol.dat", "settings.lock"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files_below(dir.path()), expected);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "finalg.dat.Folder"));
  EXPECT_EQ(copy_contents(store), std::vector<std::string>(3, "a=2;"));
}

TEST(ConfigStore, SettingsLongerThanACopyCanCountAreNotSaved) {
  TempDir dir;
  const ConfigStore store(dir.path());
  ASSERT_TRUE(store.SaveConfig(Settings({"password=old"})).ok());
  TextList lines{"password=new"};
  for (std::size_t i = 0; i < kMaxCountedLines; ++i)
    lines.push_back("k" + std::to_string(i) + "=1");

  const SaveReport report = store.SaveConfig(Settings(lines));

  ASSERT_EQ(report.failures.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(report.failures[i].path, store.copy_paths()[i]);
    EXPECT_NE(report.failures[i].reason.find("65536 lines"), std::string::npos)
        << report.failures[i].reason;
    EXPECT_NE(report.failures[i].reason.find("65535"), std::string::npos);
  }
  EXPECT_EQ(copy_contents(store), std::vector<std::string>(3, "password=old;"));

  // Exactly as many lines as a copy counts is fine; empty lines do not count.
  lines.erase(lines.begin());
  lines.insert(lines.begin() + 5, "");
  ASSERT_TRUE(store.SaveConfig(Settings(lines)).ok());
  Settings loaded;
  EXPECT_EQ(store.read_config(loaded), LoadSource::FirstCopy);
  EXPECT_EQ(loaded.lines().size(), kMaxCountedLines);
}

}  // namespace
}  // namespace tovali
