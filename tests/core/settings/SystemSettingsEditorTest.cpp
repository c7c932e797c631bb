// Editing the administrator's settings.conf, and writing it back.
#include "settings/SystemSettingsEditor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"
#include "settings/SystemSettings.h"

namespace tovali {
namespace {

using testing::TempDir;

TEST(SystemSettingsEditor, LockKeepsCommentsAndReplacesTheKeysLine) {
  const struct {
    const char* name;
    std::string text;
    const char* key;
    const char* value;
    std::string edited;
  } cases[] = {
      {"a new key goes to the end, comments and blank lines stay",
       "# the school's kiosks\n\nreq_pw_close=1\n", "prevent_switch", "yes",
       "# the school's kiosks\n\nreq_pw_close=1\nprevent_switch=1\n"},
      {"an existing line is replaced where it stands",
       "# lock\nemail_url=http://old.test/\n# after\n", "email_url", "http://new.test/",
       "# lock\nemail_url=http://new.test/\n# after\n"},
      {"the name matches without case and blanks; later lines of it go",
       "  REQ_PW_CLOSE = 0\nprevent_switch=1\nreq_pw_close=1\n", "req_pw_close", "on",
       "req_pw_close=1\nprevent_switch=1\n"},
      {"a commented-out line of the key is only a comment", "#req_pw_close=0\n", "req_pw_close",
       "1", "#req_pw_close=0\nreq_pw_close=1\n"},
      {"CR LF endings and the byte order mark are kept; a missing last end is added",
       "\xEF\xBB\xBF# kiosk\r\nprevent_switch=0", "prevent_switch", "1",
       "\xEF\xBB\xBF# kiosk\r\nprevent_switch=1\r\n"},
      {"an empty file gets its first line", "", "password_hash", "$y$j9T$salt$hash",
       "password_hash=$y$j9T$salt$hash\n"},
  };
  for (const auto& c : cases) {
    SystemSettingsEditor editor(c.text);
    EXPECT_EQ(editor.lock(c.key, c.value).check, ValueCheck::Accepted) << c.name;
    EXPECT_EQ(editor.text(), c.edited) << c.name;
    // What the program reads back holds the new value.
    const SystemSettingsText parsed = parse_system_settings(editor.text());
    EXPECT_TRUE(
        holds(parsed.locked, std::string(c.key) + "=" + check_setting_value(c.key, c.value).value))
        << c.name;
  }
}

TEST(SystemSettingsEditor, RefusedNameOrValueLeavesTheTextAsItWas) {
  const std::string text = "# keep\nreq_pw_close=1\n";
  const struct {
    const char* key;
    const char* value;
    ValueCheck check;
  } cases[] = {
      {"req_pw_close", "maybe", ValueCheck::WrongForm},
      {"daily_minutes", "9999", ValueCheck::WrongForm},
      {"email_url", "ftp://m.test/", ValueCheck::WrongForm},
      {"no_such_setting", "1", ValueCheck::UnknownName},
      {"req_pw_close=1", "1", ValueCheck::UnknownName},
  };
  for (const auto& c : cases) {
    SystemSettingsEditor editor(text);
    const CheckedValue checked = editor.lock(c.key, c.value);
    EXPECT_EQ(checked.check, c.check) << c.key << " " << c.value;
    EXPECT_FALSE(checked.problem.empty()) << c.key;
    EXPECT_EQ(editor.text(), text) << c.key << " " << c.value;
  }
}

TEST(SystemSettingsEditor, UnlockRemovesEveryLineOfTheKeyOnly) {
  SystemSettingsEditor editor(
      "# the lock below stays a comment\n#req_pw_close=1\nreq_pw_close=1\nprevent_switch=1\n"
      "Req_Pw_Close = 0\n");
  EXPECT_EQ(editor.unlock("req_pw_close"), 2u);
  EXPECT_EQ(editor.text(), "# the lock below stays a comment\n#req_pw_close=1\nprevent_switch=1\n");
  EXPECT_EQ(editor.unlock("req_pw_close"), 0u);
  EXPECT_EQ(editor.unlock(""), 0u);
  EXPECT_EQ(editor.text(), "# the lock below stays a comment\n#req_pw_close=1\nprevent_switch=1\n");
}

TEST(SystemSettingsFile, SavedWithMode644AndReadBack) {
  TempDir dir;
  const std::string system_dir = dir.path() + "etc/tovali-explorer/";
  EXPECT_EQ(read_system_settings_file(system_dir).state, SystemFileRead::Missing);
  std::string error;
  ASSERT_TRUE(save_system_settings_file(system_dir, "# kiosk\nreq_pw_close=1\n", error)) << error;
  struct stat st {};
  ASSERT_EQ(::stat((system_dir + kSystemSettingsFile).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  const SystemSettingsFile file = read_system_settings_file(system_dir);
  EXPECT_EQ(file.state, SystemFileRead::Read);
  EXPECT_EQ(file.text, "# kiosk\nreq_pw_close=1\n");
}

TEST(SystemSettingsFile, NoWriteWithoutTheRightToTheFolder) {
  TempDir dir;
  dir.write("plain", "a regular file, not a folder\n");
  // Root may write anywhere; a folder below a regular file cannot exist for
  // anyone.
  for (const std::string& system_dir : {dir.path() + "plain/", dir.path() + "plain/tovali/"}) {
    EXPECT_FALSE(may_write_folder(system_dir)) << system_dir;
    std::string error;
    EXPECT_FALSE(save_system_settings_file(system_dir, "req_pw_close=1\n", error)) << system_dir;
    EXPECT_NE(error.find(system_dir), std::string::npos) << error;
  }
  EXPECT_EQ(dir.read("plain"), "a regular file, not a folder\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_TRUE(may_write_folder(dir.path() + "missing/below/"));
}

TEST(SystemSettingsFile, AFolderInPlaceOfTheFileIsUnreadable) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() + kSystemSettingsFile);
  EXPECT_EQ(read_system_settings_file(dir.path()).state, SystemFileRead::Unreadable);
}

}  // namespace
}  // namespace tovali
