// The administrator's system folder and its settings.conf.
#include "settings/SystemSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "settings/SystemFolder.h"

namespace tovali {
namespace {

using testing::TempDir;

TEST(SystemFolder, TheEnvironmentNamesAnotherFolder) {
  const char* saved = std::getenv("TOVALI_SYSTEM_DIR");
  const std::string restore = saved ? saved : "";
  const struct {
    const char* value;  // nullptr: unset
    const char* folder;
  } cases[] = {
      {nullptr, "/etc/tovali-explorer/"},
      {"", "/etc/tovali-explorer/"},
      {"/srv/kiosk", "/srv/kiosk/"},
      {"/srv/kiosk/", "/srv/kiosk/"},
  };
  for (const auto& c : cases) {
    if (c.value) {
      ::setenv("TOVALI_SYSTEM_DIR", c.value, 1);
    } else {
      ::unsetenv("TOVALI_SYSTEM_DIR");
    }
    EXPECT_EQ(system_folder(), c.folder) << (c.value ? c.value : "(unset)");
  }
  if (saved) {
    ::setenv("TOVALI_SYSTEM_DIR", restore.c_str(), 1);
  } else {
    ::unsetenv("TOVALI_SYSTEM_DIR");
  }
}

TEST(SystemSettings, ParsesNameValueLinesCommentsAndBlanks) {
  const struct {
    const char* name;
    std::string text;
    TextList locked;
    std::vector<std::size_t> ignored;
  } cases[] = {
      {"LF lines, comments and blank lines",
       "# the school's kiosks\nreq_pw_close=1\n\n   \n\t# indented comment\nprevent_switch=0\n",
       {"req_pw_close=1", "prevent_switch=0"},
       {}},
      {"CR LF and a last line without an end", "a=1\r\nb=2\r\nc=3", {"a=1", "b=2", "c=3"}, {}},
      {"the value keeps \"=\", blanks and Latin-1 or UTF-8 bytes",
       "email_url=http://m.test/?a=b \nms_desc-0=Caf\xE9\nms_desc-1=Caf\xC3\xA9\n",
       {"email_url=http://m.test/?a=b ", "ms_desc-0=Caf\xE9", "ms_desc-1=Caf\xC3\xA9"},
       {}},
      {"blanks around the name are dropped", "  req_pw_close\t= 1\n", {"req_pw_close= 1"}, {}},
      {"the first line of a name counts, without regard to case",
       "Req_Pw_Close=1\nREQ_PW_CLOSE=0\n",
       {"Req_Pw_Close=1"},
       {}},
      {"name= locks the key empty", "email_url=\n", {"email_url="}, {}},
      {"lines that are not name=value lock nothing and are numbered",
       "a=1\nno equals sign\n=nameless\n  =x\nb=2\n",
       {"a=1", "b=2"},
       {2, 3, 4}},
      {"a UTF-8 byte order mark is skipped",
       "\xEF\xBB\xBFreq_pw_close=1\n",
       {"req_pw_close=1"},
       {}},
      {"an empty file locks nothing", "", {}, {}},
  };
  for (const auto& c : cases) {
    const SystemSettingsText parsed = parse_system_settings(c.text);
    EXPECT_EQ(parsed.locked, c.locked) << c.name;
    EXPECT_EQ(parsed.ignored_lines, c.ignored) << c.name;
  }
}

TEST(SystemSettings, AMissingFileOrFolderLocksNothingSilently) {
  TempDir dir;
  for (const std::string& folder : {std::string(), dir.path(), dir.path() + "absent/"}) {
    const SystemSettingsLoad load = LoadSystemSettings(folder);
    EXPECT_TRUE(load.locked.empty()) << folder;
    EXPECT_EQ(load.problems, "") << folder;
  }
}

TEST(SystemSettings, ReadsTheFileAndNamesItsBadLines) {
  TempDir dir;
  dir.write("settings.conf", "req_pw_close=1\r\noops\r\n");
  const SystemSettingsLoad load = LoadSystemSettings(dir.path());
  EXPECT_EQ(load.locked, TextList{"req_pw_close=1"});
  EXPECT_EQ(load.problems,
            dir.path() + "settings.conf: line 2 is not name=value and locks nothing\n");
}

TEST(SystemSettings, AFileThatCannotBeReadIsReportedAndLocksNothing) {
  TempDir dir;
  // A folder where the file belongs, a file larger than any settings list,
  // and a FIFO without a writer (reading must not wait for one).
  std::filesystem::create_directories(dir.path() + "folder/settings.conf");
  dir.write("large/settings.conf", "a=1\n" + std::string(kMaxSystemSettingsBytes, '#') + "\n");
  std::filesystem::create_directories(dir.path() + "fifo");
  ASSERT_EQ(::mkfifo((dir.path() + "fifo/settings.conf").c_str(), 0600), 0);
  for (const char* folder : {"folder/", "large/", "fifo/"}) {
    const SystemSettingsLoad load = LoadSystemSettings(dir.path() + folder);
    EXPECT_TRUE(load.locked.empty()) << folder;
    EXPECT_NE(load.problems.find(dir.path() + folder + "settings.conf: cannot be read"),
              std::string::npos)
        << load.problems;
  }
}

}  // namespace
}  // namespace tovali
