#include "base/RegularFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SpecialFiles.h"
#include "TempDir.h"
#include "base/TextList.h"

namespace tovali {
namespace {

using testing::SpecialFile;
using testing::TempDir;

TEST(RegularFile, ReadsOnlyARegularFileWithinTheBound) {
  TempDir dir;
  dir.write("small", "a\r\nb\r\n");
  dir.write("exact", std::string(16, 'x'));
  dir.write("over", std::string(17, 'y'));
  std::filesystem::create_directories(dir.path() + "folder");
  std::filesystem::create_symlink(dir.path() + "small", dir.path() + "link");
  const struct {
    const char* name;
    FileReadOutcome outcome;
    std::string text;
    std::string problem;
  } cases[] = {
      {"small", FileReadOutcome::Read, "a\r\nb\r\n", ""},
      {"exact", FileReadOutcome::Read, std::string(16, 'x'), ""},
      {"link", FileReadOutcome::Read, "a\r\nb\r\n", ""},
      {"over", FileReadOutcome::TooLarge, std::string(17, 'y'), "larger than 16 bytes"},
      {"missing", FileReadOutcome::Missing, "", "No such file or directory"},
      {"folder", FileReadOutcome::NotRegular, "", "not a regular file"},
  };
  for (const auto& c : cases) {
    const RegularFileRead read = read_regular_file(dir.path() + c.name, 16);
    EXPECT_EQ(read.outcome, c.outcome) << c.name;
    EXPECT_EQ(read.text, c.text) << c.name;
    EXPECT_EQ(read.problem, c.problem) << c.name;
  }
}

// A FIFO without a writer and /dev/zero are refused before a byte is read:
// the child returns at once instead of waiting for a writer or reading on.
TEST(RegularFile, AFifoOrADeviceIsRefusedWithoutWaiting) {
  for (const SpecialFile kind : {SpecialFile::Fifo, SpecialFile::DevZero}) {
    TempDir dir;
    const std::string path = dir.path() + "prohurl.log";
    ASSERT_TRUE(testing::make_special_file(path, kind));
    std::string problem;
    EXPECT_TRUE(testing::run_in_child(
        [&path] {
          TextList lines{"kept"};
          const RegularFileRead read = read_regular_file(path, 1 << 20);
          return read.outcome == FileReadOutcome::NotRegular && read.text.empty() &&
                 !read_text_lines(path, 1 << 20, lines) && lines == TextList{"kept"};
        },
        60, &problem))
        << testing::special_file_name(kind) << ": " << problem;
  }
}

}  // namespace
}  // namespace tovali
