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
      {"CR LF and a last line without an end",
       "req_pw_close=1\r\npext-0=exe\r\npext-1=zip",
       {"req_pw_close=1", "pext-0=exe", "pext-1=zip"},
       {}},
      {"the value keeps \"=\", blanks and Latin-1 or UTF-8 bytes",
       "email_url=http://m.test/?a=b \nms_desc-0=Caf\xE9\nms_desc-1=Caf\xC3\xA9\n",
       {"email_url=http://m.test/?a=b ", "ms_desc-0=Caf\xE9", "ms_desc-1=Caf\xC3\xA9"},
       {}},
      {"blanks around the name, and around a switch, are dropped",
       "  req_pw_close\t= 1\n",
       {"req_pw_close=1"},
       {}},
      {"the first line of a name counts, without regard to case",
       "Req_Pw_Close=1\nREQ_PW_CLOSE=0\n",
       {"Req_Pw_Close=1"},
       {}},
      {"name= locks the key empty", "email_url=\n", {"email_url="}, {}},
      {"lines that are not name=value lock nothing and are numbered",
       "pext-0=exe\nno equals sign\n=nameless\n  =x\npext-1=zip\n",
       {"pext-0=exe", "pext-1=zip"},
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

TEST(SystemSettings, ValuesAreCheckedAgainstTheirKeys) {
  const SystemSettingsText parsed = parse_system_settings(
      "req_pw_close=yes\n"       // 1: a switch word locks "1"
      "prevent_switch=Off\n"     // 2: ... and "0"
      "prevent_swich=1\n"        // 3: not a setting
      "daily_minutes=soon\n"     // 4: not a whole number
      "daily_minutes=90\n"       // 5: the first good line of the name counts
      "daily_minutes=30\n"       // 6: shadowed
      "bedtime=25:99-xx\n"       // 7: not HH:MM-HH:MM
      "email_url=mail.test\n"    // 8: not a web address
      "allow_new_window=TRUE\n"  // 9
      "silent_mode=false\n"      // 10
      "hide_navframe=on\n"       // 11
      "show_close_main=no\n"     // 12
      "email_url=\n");           // 13: an empty value locks the key empty
  EXPECT_EQ(parsed.locked, (TextList{"req_pw_close=1", "prevent_switch=0", "daily_minutes=90",
                                     "allow_new_window=1", "silent_mode=0", "hide_navframe=1",
                                     "show_close_main=0", "email_url="}));
  ASSERT_EQ(parsed.refused_lines.size(), 4u);
  const std::size_t lines[] = {3, 4, 7, 8};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(parsed.refused_lines[i].line, lines[i]);
  EXPECT_EQ(parsed.refused_lines[0].problem, "prevent_swich is not a setting of Tovali Explorer");
  EXPECT_EQ(parsed.refused_lines[1].problem,
            "daily_minutes takes a whole number of minutes from 0 to 1440");
}

TEST(SystemSettings, RefusedLinesAreToldInFileOrderAndLockNothing) {
  TempDir dir;
  dir.write("settings.conf", "oops\nprevent_swich=1\nreq_pw_close=yes\n=x\nbedtime=late\n");
  const SystemSettingsLoad load = load_system_settings(dir.path());
  EXPECT_EQ(load.locked, TextList{"req_pw_close=1"});
  EXPECT_FALSE(load.unreadable);
  const std::string path = dir.path() + "settings.conf";
  EXPECT_EQ(load.problems,
            path + ": line 1 is not name=value and locks nothing\n" + path +
                ": line 2: prevent_swich is not a setting of Tovali Explorer; it locks nothing\n" +
                path + ": line 4 is not name=value and locks nothing\n" + path +
                ": line 5: bedtime takes two different times HH:MM-HH:MM (24-hour), such as "
                "20:30-07:00; it locks nothing\n");
}

TEST(SystemSettings, AMissingFileOrFolderLocksNothingSilently) {
  TempDir dir;
  for (const std::string& folder : {std::string(), dir.path(), dir.path() + "absent/"}) {
    const SystemSettingsLoad load = load_system_settings(folder);
    EXPECT_TRUE(load.locked.empty()) << folder;
    EXPECT_EQ(load.problems, "") << folder;
  }
}

TEST(SystemSettings, ReadsTheFileAndNamesItsBadLines) {
  TempDir dir;
  dir.write("settings.conf", "req_pw_close=1\r\noops\r\n");
  const SystemSettingsLoad load = load_system_settings(dir.path());
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
    const SystemSettingsLoad load = load_system_settings(dir.path() + folder);
    EXPECT_TRUE(load.locked.empty()) << folder;
    EXPECT_TRUE(load.unreadable) << folder;
    EXPECT_NE(load.problems.find(dir.path() + folder + "settings.conf: cannot be read"),
              std::string::npos)
        << load.problems;
  }
}

}  // namespace
}  // namespace tovali
