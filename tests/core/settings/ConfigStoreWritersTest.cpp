// Several writers and writers that are killed: every save is whole in all
// three copies or not there at all, and no writer undoes another's keys.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "settings/ConfigStore.h"
#include "settings/ScrambledFile.h"

namespace tovali {
namespace {

using testing::TempDir;

// The decoded lines of each copy ({} for one that fails its check).
std::vector<TextList> copies_of(const ConfigStore& store) {
  std::vector<TextList> out;
  for (const auto& path : store.copy_paths()) {
    TextList encoded, decoded;
    if (LoadEncodedFile(path, encoded)) DecodeAndLoad(encoded, decoded);
    out.push_back(decoded);
  }
  return out;
}

// Runs `body` in a child process; returns its wait status.
template <typename Body>
int in_child(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST(ConfigStoreWriters, ASaveKeepsTheKeysAnotherWriterSavedSinceItRead) {
  TempDir dir;
  ASSERT_TRUE(ConfigStore(dir.path()).SaveConfig(Settings({"password=p", "old=1", "both=0"})).ok());

  // The program reads at start-up ...
  const ConfigStore program(dir.path());
  Settings in_program;
  ASSERT_EQ(program.LoadConfig(in_program).source, LoadSource::FirstCopy);
  // ... a tovali-settings saves two keys ...
  const ConfigStore tool(dir.path());
  Settings in_tool;
  tool.read_config(in_tool);
  in_tool.set_value("other", "2");
  in_tool.set_value("both", "tool");
  ASSERT_TRUE(tool.SaveConfig(in_tool).ok());
  // ... and the program saves what it changed.
  in_program.set_value("password", "q");
  in_program.remove("old");
  in_program.set_value("both", "program");
  ASSERT_TRUE(program.SaveConfig(in_program).ok());

  const TextList expected{"password=q", "both=program", "other=2"};
  for (const TextList& copy : copies_of(program)) EXPECT_EQ(copy, expected);

  // The program's next save writes only its own next change again.
  ASSERT_TRUE(tool.SaveConfig([&] {
                    Settings s;
                    tool.read_config(s);
                    s.set_value("other", "3");
                    return s;
                  }())
                  .ok());
  in_program.set_value("new", "4");
  ASSERT_TRUE(program.SaveConfig(in_program).ok());
  for (const TextList& copy : copies_of(program)) {
    EXPECT_EQ(copy, (TextList{"password=q", "both=program", "other=3", "new=4"}));
  }
}

// Two processes save different keys as fast as they can: one as the program
// does (one store, read once), one as tovali-settings does (a fresh read for
// every save). Each writes down which saves were acknowledged.
TEST(ConfigStoreWriters, TwoWritersInALoopLoseNoAcknowledgedSave) {
  TempDir dir;
  TempDir results;
  constexpr int kSaves = 25;
  const auto writer = [&](const std::string& prefix, bool fresh_read) {
    std::ofstream log(results.path() + prefix);
    const ConfigStore program(dir.path());
    Settings settings;
    program.LoadConfig(settings);
    for (int i = 0; i < kSaves; ++i) {
      const ConfigStore fresh(dir.path());
      const ConfigStore& store = fresh_read ? fresh : program;
      if (fresh_read) store.read_config(settings);
      const std::string key = prefix + std::to_string(i);
      settings.set_value(key, "v" + std::to_string(i));
      log << key << (store.SaveConfig(settings).ok() ? " saved" : " refused") << std::endl;
    }
  };
  std::vector<pid_t> children;
  for (const auto& [prefix, fresh] : {std::pair{"program", false}, std::pair{"tool", true}}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      writer(prefix, fresh);
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  const ConfigStore store(dir.path());
  const std::vector<TextList> copies = copies_of(store);
  EXPECT_EQ(copies[1], copies[0]);
  EXPECT_EQ(copies[2], copies[0]);
  Settings final_settings(copies[0]);
  int saved = 0;
  for (const char* prefix : {"program", "tool"}) {
    std::ifstream log(results.path() + prefix);
    std::string key, outcome;
    int lines = 0;
    while (log >> key >> outcome) {
      ++lines;
      const std::string value = "v" + key.substr(std::string(prefix).size());
      if (outcome == "saved") {
        ++saved;
        EXPECT_EQ(final_settings.value(key), value) << key;
      } else {
        EXPECT_FALSE(final_settings.has(key)) << key;
      }
    }
    EXPECT_EQ(lines, kSaves) << prefix;
  }
  EXPECT_GT(saved, 0);
}

// A writer killed after each step of a save: the next load gives the old
// settings or the new ones, whole, in all three copies.
TEST(ConfigStoreWriters, AWriterKilledAtAnyStepLeavesTheOldOrTheNewSettingsWhole) {
  const TextList old_lines{"password=old", "a=1"};
  const TextList new_lines{"password=new", "b=2"};
  struct Case {
    SaveStep killed_after;
    const TextList& expected;
  };
  for (const Case& c :
       {Case{SaveStep::TemporariesWritten, old_lines}, Case{SaveStep::JournalWritten, new_lines},
        Case{SaveStep::FirstCopyReplaced, new_lines}, Case{SaveStep::SecondCopyReplaced, new_lines},
        Case{SaveStep::ThirdCopyReplaced, new_lines}, Case{SaveStep::JournalRemoved, new_lines}}) {
    SCOPED_TRACE(static_cast<int>(c.killed_after));
    TempDir dir;
    ASSERT_TRUE(ConfigStore(dir.path()).SaveConfig(Settings(old_lines)).ok());

    const int status = in_child([&] {
      ConfigStore store(dir.path());
      store.set_step_hook([&](SaveStep step) {
        if (step == c.killed_after) ::raise(SIGKILL);
      });
      store.SaveConfig(Settings(new_lines));
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // A reader that writes nothing already sees the outcome ...
    Settings read;
    ConfigStore(dir.path()).read_config(read);
    EXPECT_EQ(read.lines(), c.expected);
    // ... and the next load makes all three copies hold it.
    Settings loaded;
    const ConfigStore store(dir.path());
    EXPECT_TRUE(store.LoadConfig(loaded).save.ok());
    EXPECT_EQ(loaded.lines(), c.expected);
    for (const TextList& copy : copies_of(store)) EXPECT_EQ(copy, c.expected);
    EXPECT_FALSE(std::filesystem::exists(store.journal_path()));
  }
}

}  // namespace
}  // namespace tovali
