#include "base/AtomicFile.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "SpecialFiles.h"
#include "TempDir.h"

namespace tovali {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The names in the folder `dir`, sorted.
std::set<std::string> names_in(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string read_from(std::ifstream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The id of a process that has ended and been reaped.
pid_t ended_process() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

// A new file gets exactly the bytes given (none, a NUL, no final line
// break), readable by all, in folders made on the way, and nothing else is
// left in its folder.
TEST(AtomicFile, WritesANewFileWithItsFoldersAndLeavesNoTemporary) {
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"empty", ""},
      {"lines", "password=marigold\r\nreq_pw_close=0\r\n"},
      {"binary", std::string("a\0b\xff", 4)},
      {"large", std::string(1 << 20, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TempDir dir;
    const std::string folder = dir.path() + "state/tovali-explorer";
    const std::string path = folder + "/settings.dat";
    std::string error = "untouched";
    ASSERT_TRUE(write_file_atomically(path, c.content, &error));
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(dir.read("state/tovali-explorer/settings.dat"), c.content);
    EXPECT_EQ(names_in(folder), std::set<std::string>{"settings.dat"});
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
  }
}

// The new content comes in under the old name as a new file: a reader that
// opened the old file before the write goes on reading the old bytes whole.
TEST(AtomicFile, ReplacesTheOldFileWithoutChangingWhatAnOpenReaderSees) {
  const TempDir dir;
  const std::string path = dir.path() + "prohurl.log";
  ASSERT_TRUE(write_file_atomically(path, "http://old.example/\r\n"));
  std::ifstream reader(path, std::ios::binary);
  ASSERT_TRUE(reader.is_open());

  ASSERT_TRUE(write_file_atomically(path, "http://new.example/\r\nhttp://newer.example/\r\n"));
  EXPECT_EQ(dir.read("prohurl.log"), "http://new.example/\r\nhttp://newer.example/\r\n");
  EXPECT_EQ(read_from(reader), "http://old.example/\r\n");
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"prohurl.log"});
}

// The two halves: the temporary is named after the writer and lies beside
// the file until it is renamed over it.
TEST(AtomicFile, TheTemporaryCarriesTheWritersIdUntilItReplacesTheFile) {
  const TempDir dir;
  const std::string path = dir.path() + "stlber.dat";
  dir.write("stlber.dat", "old");
  const std::string temporary = write_temporary_beside(path, "new");
  ASSERT_FALSE(temporary.empty());
  const std::string prefix = path + "." + std::to_string(::getpid()) + ".";
  ASSERT_EQ(temporary.rfind(prefix, 0), 0u) << temporary;
  const std::string random = temporary.substr(prefix.size());
  EXPECT_EQ(random.size(), 6u);
  EXPECT_EQ(
      random.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"),
      std::string::npos)
      << random;
  EXPECT_EQ(dir.read("stlber.dat"), "old");
  EXPECT_EQ(dir.read(temporary.substr(dir.path().size())), "new");

  ASSERT_TRUE(replace_with_temporary(temporary, path));
  EXPECT_EQ(dir.read("stlber.dat"), "new");
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"stlber.dat"});
}

// A rename that fails (a folder with content stands at the path) removes
// the temporary, keeps what stands there, and names the path in the reason.
TEST(AtomicFile, AFailedReplaceRemovesTheTemporaryAndKeepsWhatWasThere) {
  const TempDir dir;
  dir.write("settings.dat/kept.txt", "kept");
  const std::string path = dir.path() + "settings.dat";
  std::string error;
  EXPECT_FALSE(write_file_atomically(path, "new", &error));
  EXPECT_NE(error.find("cannot replace " + path), std::string::npos) << error;
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"settings.dat"});
  EXPECT_EQ(dir.read("settings.dat/kept.txt"), "kept");

  // A temporary that is already gone gives a reason too, and the file stays.
  dir.write("other.dat", "old");
  error.clear();
  EXPECT_FALSE(
      replace_with_temporary(dir.path() + "other.dat.1.abcdef", dir.path() + "other.dat", &error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  EXPECT_EQ(dir.read("other.dat"), "old");
}

// A write that fails half-way (the process may write no file larger than
// 1 KiB) or at the start (no file descriptor is left) leaves the old file
// as it was and no temporary; the reason says which step failed. The limits
// are set in a child process, which reports whether the call failed as it
// should.
TEST(AtomicFile, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  const struct {
    const char* name;
    int resource;
    const char* reason;
  } cases[] = {
      {"file size limit", RLIMIT_FSIZE, "cannot write "},
      {"no file descriptor", RLIMIT_NOFILE, "cannot create a temporary file beside "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TempDir dir;
    const std::string path = dir.path() + "prohurl.log";
    dir.write("prohurl.log", "http://old.example/\r\n");
    std::string problem;
    EXPECT_TRUE(testing::run_in_child(
        [&] {
          std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
          // Every descriptor a child may hold stays open; none is left for
          // a new file.
          const rlim_t limit = c.resource == RLIMIT_NOFILE ? 0 : 1024;
          struct rlimit bound {};
          bound.rlim_cur = limit;
          bound.rlim_max = limit;
          if (::setrlimit(c.resource, &bound) != 0) return false;
          std::string error;
          const bool written = write_file_atomically(path, std::string(4096, 'n'), &error);
          return !written && error.rfind(std::string(c.reason), 0) == 0;
        },
        60, &problem))
        << problem;
    EXPECT_EQ(dir.read("prohurl.log"), "http://old.example/\r\n");
    EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"prohurl.log"});
  }
}

// A folder that cannot be made (a file stands where it would go) fails
// with a reason and creates nothing.
TEST(AtomicFile, AFolderThatCannotBeMadeFailsWithAReason) {
  const TempDir dir;
  dir.write("state", "a file, not a folder");
  std::string error;
  EXPECT_FALSE(write_file_atomically(dir.path() + "state/settings.dat", "new", &error));
  EXPECT_NE(error.find("cannot create folder " + dir.path() + "state"), std::string::npos) << error;
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"state"});
  EXPECT_EQ(dir.read("state"), "a file, not a folder");
}

// Tidying removes the temporaries of killed writes of the one file: those
// without a process id and those of processes that have ended. A running
// writer's temporary, other files' temporaries, names of another form,
// folders and symbolic links stay.
TEST(AtomicFile, TidyingRemovesOnlyTheTemporariesOfEndedWriters) {
  const TempDir dir;
  const std::string ended = std::to_string(ended_process());
  const std::string running = std::to_string(::getppid());
  const struct {
    std::string name;
    bool removed;
  } cases[] = {
      {"prohurl.log.aB3dE9", true},
      {"prohurl.log." + ended + ".Zz0099", true},
      {"prohurl.log." + running + ".Zz0099", false},
      {"prohurl.log", false},
      {"prohurl.log.aB3dE", false},
      {"prohurl.log.aB3dE9x", false},
      {"prohurl.log.aB-dE9", false},
      {"prohurl.log." + ended + ".Zz009", false},
      {"prohurl.log.x" + ended + ".Zz0099", false},
      {"prohurl.logs.aB3dE9", false},
      {"stlber.dat.aB3dE9", false},
  };
  std::set<std::string> expected;
  for (const auto& c : cases) {
    dir.write(c.name, "x");
    if (!c.removed) expected.insert(c.name);
  }
  fs::create_directory(dir.path() + "prohurl.log.fOlDer");
  fs::create_symlink(dir.path() + "stlber.dat.aB3dE9", dir.path() + "prohurl.log.LiNk00");
  expected.insert({"prohurl.log.fOlDer", "prohurl.log.LiNk00"});

  remove_leftover_temporaries(dir.path() + "prohurl.log");
  EXPECT_EQ(names_in(dir.path()), expected);
  // A folder that does not exist is no error.
  remove_leftover_temporaries(dir.path() + "missing/prohurl.log");
}

}  // namespace
}  // namespace tovali
