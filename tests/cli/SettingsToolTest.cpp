// Runs the real tovali-settings executable against private settings folders.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "Polling.h"
#include "RunCommand.h"
#include "TempDir.h"
#include "activity/ActivityStore.h"
#include "crypto/PasswordHash.h"
#include "settings/ConfigStore.h"
#include "settings/SystemSettings.h"

namespace tovali {
namespace {

using testing::CommandResult;
using testing::TempDir;

class SettingsToolTest : public ::testing::Test {
 protected:
  // The administrator's folder is a private one, so the machine's own
  // /etc/tovali-explorer never takes part.
  CommandResult tool(std::vector<std::string> args) {
    args.insert(args.begin(), TOVALI_SETTINGS_EXE);
    return testing::run_command(args, {{"XDG_CONFIG_HOME", m_home.path() + "cfg"},
                                       {"XDG_STATE_HOME", m_home.path() + "state"},
                                       {"TOVALI_SYSTEM_DIR", system_dir()}});
  }
  // `tovali-settings hash-password` reading `input` from standard input.
  CommandResult hash_password(const std::string& input) {
    m_home.write("input", input);
    return testing::run_command({"/bin/sh", "-c", std::string("exec \"$0\" hash-password < \"$1\""),
                                 TOVALI_SETTINGS_EXE, m_home.path() + "input"});
  }
  // `tovali-settings --system ARGS` for the administrator's folder
  // `system_folder`, reading `input` from standard input.
  CommandResult system_tool(const std::vector<std::string>& args, const std::string& input = "",
                            const std::string& system_folder = "") {
    m_home.write("input", input);
    std::vector<std::string> argv = {"/bin/sh", "-c",
                                     "exec \"$0\" --system \"$@\" < \"$TOVALI_TEST_INPUT\"",
                                     TOVALI_SETTINGS_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::run_command(
        argv, {{"XDG_CONFIG_HOME", m_home.path() + "cfg"},
               {"TOVALI_SYSTEM_DIR", system_folder.empty() ? system_dir() : system_folder},
               {"TOVALI_TEST_INPUT", m_home.path() + "input"}});
  }
  std::string dir() const { return m_home.path() + "cfg/tovali-explorer/"; }
  std::string system_dir() const { return m_home.path() + "system/"; }

  TempDir m_home;
};

TEST_F(SettingsToolTest, ReadsDefaultsWithoutWritingAndSavesEveryChangeToAllCopies) {
  auto r = tool({"list"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.out.substr(0, 18), "password=marigold\n");
  EXPECT_EQ(ConfigStore(dir()).first_usable_copy(), -1);  // reading wrote nothing

  r = tool({"paths"});
  EXPECT_EQ(r.out, "  " + dir() + "finalg.dat\n  " + dir() + "system/stlber.dat\n  " + dir() +
                       "config/rushol.dat\n");

  EXPECT_EQ(tool({"set", "Req_Pw_Close", "1"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "REQ_PW_CLOSE"}).out, "1\n");
  EXPECT_EQ(tool({"set", "ms_desc-0", "a=b \xE9"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "ms_desc-0"}).out, "a=b \xE9\n");
  EXPECT_EQ(tool({"paths"}).out.substr(0, 2), "* ");

  // All three copies hold the change: damage the first two and read again.
  const auto paths = ConfigStore(dir()).copy_paths();
  for (int i = 0; i < 2; ++i) {
    FILE* f = std::fopen(paths[static_cast<std::size_t>(i)].c_str(), "w");
    std::fputs("junk\r\n", f);
    std::fclose(f);
  }
  EXPECT_EQ(tool({"get", "req_pw_close"}).out, "1\n");
  EXPECT_EQ(tool({"paths"}).out.find("* "), tool({"paths"}).out.find("* " + dir() + "config"));

  EXPECT_EQ(tool({"unset", "ms_desc-0"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "ms_desc-0"}).exit_status, 1);
  EXPECT_EQ(tool({"set", "req_pw_close", ""}).exit_status, 0);
  EXPECT_EQ(tool({"get", "req_pw_close"}).exit_status, 1);
}

TEST_F(SettingsToolTest, KeysLockedByTheAdministratorShowTheirValueAndCannotBeChanged) {
  ASSERT_EQ(tool({"set", "req_pw_close", "0"}).exit_status, 0);
  ASSERT_EQ(tool({"set", "ms_desc-0", "mine"}).exit_status, 0);
  m_home.write("system/settings.conf",
               "# school kiosks\r\nREQ_PW_CLOSE=1\r\nsite-9=http://school.test\r\n");

  EXPECT_EQ(tool({"get", "req_pw_close"}).out, "1\n");
  EXPECT_EQ(tool({"get", "Site-9"}).out, "http://school.test\n");
  const auto list = tool({"list"});
  EXPECT_NE(list.out.find("REQ_PW_CLOSE=1\n"), std::string::npos) << list.out;
  EXPECT_EQ(list.out.find("req_pw_close=0"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("site-9=http://school.test\n"), std::string::npos) << list.out;

  for (const std::vector<std::string>& call :
       std::vector<std::vector<std::string>>{{"set", "req_pw_close", "0"},
                                             {"unset", "Req_Pw_Close"},
                                             {"set", "site-9", "http://other.test"}}) {
    const auto r = tool(call);
    EXPECT_EQ(r.exit_status, 1) << call[0] << " " << call[1];
    EXPECT_NE(r.err.find(call[1] + " is set by the administrator"), std::string::npos) << r.err;
  }
  EXPECT_EQ(tool({"set", "ms_desc-0", "other"}).exit_status, 0);  // other keys as before
  EXPECT_EQ(tool({"get", "ms_desc-0"}).out, "other\n");

  // The copies keep the user's own value: without the lock it is back.
  std::remove((system_dir() + "settings.conf").c_str());
  EXPECT_EQ(tool({"get", "req_pw_close"}).out, "0\n");
}

TEST_F(SettingsToolTest, SetRefusesUnknownNamesAndValuesTheirKeyCannotHold) {
  ASSERT_EQ(tool({"set", "bedtime", "20:30-07:00"}).exit_status, 0);
  const std::string before = tool({"list"}).out;
  const struct {
    std::vector<std::string> call;
    std::string err;  // the whole of standard error
  } refused[] = {
      {{"set", "daily_minutes", "soon"},
       "tovali-settings: daily_minutes takes a whole number of minutes from 0 to 1440\n"},
      {{"set", "daily_minutes", "1441"},
       "tovali-settings: daily_minutes takes a whole number of minutes from 0 to 1440\n"},
      {{"set", "prevent_switch", "maybe"},
       "tovali-settings: prevent_switch takes 1 or 0 (or yes/no, true/false, on/off)\n"},
      {{"set", "bedtime", "25:99-xx"},
       "tovali-settings: bedtime takes two different times HH:MM-HH:MM (24-hour), such as "
       "20:30-07:00\n"},
      {{"set", "ms_url-3", "ftp://files.test/"},
       "tovali-settings: ms_url-3 takes a web address beginning with http:// or https://\n"},
      {{"set", "mu-0", "zoo.test"},
       "tovali-settings: mu-0 takes a web address beginning with http:// or https://\n"},
      {{"set", "local_menu", "menu"},
       "tovali-settings: local_menu takes 1 or 0 (or yes/no, true/false, on/off)\n"},
      {{"set", "req_pw_clsoe", "1"},
       "tovali-settings: req_pw_clsoe is not a setting of Tovali Explorer\n"},
      {{"unset", "req_pw_clsoe"},
       "tovali-settings: req_pw_clsoe is not a setting of Tovali Explorer\n"},
      {{"set", "pext-01", "bat"}, "tovali-settings: pext-01 is not a setting of Tovali Explorer\n"},
  };
  for (const auto& c : refused) {
    const auto r = tool(c.call);
    EXPECT_EQ(r.exit_status, 2) << c.call[1];
    EXPECT_EQ(r.err, c.err) << c.call[1];
    EXPECT_TRUE(r.out.empty()) << c.call[1];
  }
  EXPECT_EQ(tool({"list"}).out, before);  // nothing was written

  const struct {
    std::vector<std::string> call;
    const char* key;
    const char* stored;
  } accepted[] = {
      {{"set", "prevent_switch", "yes"}, "prevent_switch", "1"},
      {{"set", "Req_Pw_Close", "TRUE"}, "req_pw_close", "1"},
      {{"set", "silent_mode", "On"}, "silent_mode", "1"},
      {{"set", "prevent_switch", "No"}, "prevent_switch", "0"},
      {{"set", "allow_new_window", "false"}, "allow_new_window", "0"},
      {{"set", "hide_navframe", "OFF"}, "hide_navframe", "0"},
      {{"set", "daily_minutes", "0090"}, "daily_minutes", "90"},
      {{"set", "pext-0", "bat"}, "pext-0", "bat"},
      {{"set", "site-1", "https://school.test"}, "site-1", "https://school.test"},
      {{"set", "ms_url-3", "http://zoo.test/my page.html"},
       "ms_url-3",
       "http://zoo.test/my page.html"},
      {{"set", "local_menu", "yes"}, "local_menu", "1"},
      {{"set", "num_menu_sites", "2"}, "num_menu_sites", "2"},
      {{"set", "mt-1", "Zoo & Friends"}, "mt-1", "Zoo & Friends"},
      {{"set", "mu-1", "https://zoo.test/"}, "mu-1", "https://zoo.test/"},
      {{"set", "md-1", "pics.test cdn.test:8080"}, "md-1", "pics.test cdn.test:8080"},
  };
  for (const auto& c : accepted) {
    const auto r = tool(c.call);
    EXPECT_EQ(r.exit_status, 0) << c.call[1] << ": " << r.err;
    EXPECT_EQ(tool({"get", c.key}).out, std::string(c.stored) + "\n") << c.call[1];
  }

  // A line of a name the program does not know, stored by an older version,
  // can still be deleted.
  Settings stored;
  ConfigStore(dir()).read_config(stored);
  stored.set_value("old_key", "1");
  ASSERT_TRUE(ConfigStore(dir()).SaveConfig(stored).ok());
  EXPECT_EQ(tool({"unset", "old_key"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "old_key"}).exit_status, 1);
}

TEST_F(SettingsToolTest, ASettingsConfThatCannotBeReadAllowsReadingButNoChange) {
  ASSERT_EQ(tool({"set", "req_pw_close", "0"}).exit_status, 0);
  const std::string conf = system_dir() + "settings.conf";
  // A folder where the file belongs, and a file too large to be a settings
  // list (a file the user may not read cannot be made while tests run as root).
  const std::function<void()> make_unreadable[] = {
      [&] { m_home.write("system/settings.conf/inside", "a folder where the file belongs"); },
      [&] {
        std::filesystem::remove_all(conf);
        m_home.write("system/settings.conf",
                     "req_pw_close=1\n" + std::string(kMaxSystemSettingsBytes, '#') + "\n");
      }};
  for (const auto& make : make_unreadable) {
    make();
    const auto get = tool({"get", "req_pw_close"});
    EXPECT_EQ(get.exit_status, 0);
    EXPECT_EQ(get.out, "0\n");
    EXPECT_NE(get.err.find(conf + ": cannot be read"), std::string::npos) << get.err;
    const auto list = tool({"list"});
    EXPECT_EQ(list.exit_status, 0);
    EXPECT_NE(list.out.find("req_pw_close=0\n"), std::string::npos) << list.out;
    EXPECT_NE(list.err.find(conf + ": cannot be read"), std::string::npos) << list.err;
    for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
             {"set", "req_pw_close", "1"}, {"unset", "req_pw_close"}, {"set", "password", ""}}) {
      const auto r = tool(call);
      EXPECT_EQ(r.exit_status, 1) << call[0] << " " << call[1];
      EXPECT_NE(r.err.find("the administrator's " + conf +
                           " cannot be read, so no setting can be changed until it is mended"),
                std::string::npos)
          << r.err;
    }
    EXPECT_EQ(tool({"get", "req_pw_close"}).out, "0\n");
    EXPECT_EQ(tool({"get", "password"}).out, "marigold\n");
  }
}

TEST_F(SettingsToolTest, HashPasswordPrintsAYescryptHashOfTheFirstLine) {
  const auto r = hash_password("Tulip 7\r\nsecond line\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  ASSERT_EQ(r.out.back(), '\n');
  const std::string hash = r.out.substr(0, r.out.size() - 1);
  EXPECT_EQ(hash.rfind("$y$", 0), 0u) << hash;
  EXPECT_TRUE(password_matches_hash("Tulip 7", hash));
  EXPECT_FALSE(password_matches_hash("Tulip 7\r", hash));
  // A line without an end is read too.
  const auto unended = hash_password("last");
  ASSERT_EQ(unended.exit_status, 0) << unended.err;
  EXPECT_TRUE(password_matches_hash("last", unended.out.substr(0, unended.out.size() - 1)));

  const auto nothing = hash_password("");
  EXPECT_EQ(nothing.exit_status, 1);
  EXPECT_TRUE(nothing.out.empty());
  EXPECT_NE(nothing.err.find("no password"), std::string::npos);
  EXPECT_EQ(tool({"hash-password", "extra"}).exit_status, 2);
  EXPECT_NE(tool({"--help"}).out.find("hash-password"), std::string::npos);
}

TEST_F(SettingsToolTest, ReportPrintsTheActivityOfTheLastDaysNewestFirst) {
  EXPECT_EQ(tool({"report"}).exit_status, 0);  // no record yet
  EXPECT_EQ(tool({"report"}).out, "");
  // The column names come even when no line follows them.
  EXPECT_EQ(tool({"report", "--header"}).out,
            "DATE\tHOST\tOPENED\tREFUSED\tASKED\tONCE\tALWAYS\tDECLINED\tBLOCKED\n");

  const ActivityStore store(m_home.path() + "state/tovali-explorer/");
  // Dates are the machine's local ones; a run that crosses midnight retries.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const LocalDate today = local_moment_now().date;
    const auto before = [&](long days) {
      return LocalDate::from_days(today.days_since_epoch() - days);
    };
    ActivityRecord record;
    record.add_opened(today, "http://zoo.test/");
    record.add_refused(today, "http://ads.test/");
    record.add_request(today, "http://ads.test/", RequestAnswer::Declined);
    record.add_request(today, "http://zoo.test/lions", RequestAnswer::AllowedOnce);
    record.add_request(today, "http://zoo.test/bears", RequestAnswer::AllowedAlways);
    record.add_blocked(today, "http://ads.test/banner.png");
    record.day(today).seconds_used = 125;
    record.add_opened(before(20), "http://old.test/");
    for (const LocalDate& date : {today, before(20)}) ASSERT_TRUE(store.save_day(record, date));
    m_home.write("state/tovali-explorer/activity/" + before(1).text() + ".txt", "damaged");

    const auto recent = tool({"report"});
    const auto month = tool({"report", "--days", "21"});
    const auto headed = tool({"report", "--header", "--days", "1"});
    if (local_moment_now().date != today) continue;
    const std::string today_lines = today.text() + "\tads.test\t0\t1\t1\t0\t0\t1\t1\n" +
                                    today.text() + "\tzoo.test\t1\t0\t2\t1\t1\t0\t0\n" +
                                    today.text() + "\t*\t2\t0\t0\t0\t0\t0\t0\n";
    EXPECT_EQ(recent.exit_status, 0);
    EXPECT_EQ(recent.out, today_lines);
    EXPECT_NE(recent.err.find(before(1).text() + ".txt: damaged"), std::string::npos) << recent.err;
    EXPECT_EQ(month.out, today_lines + before(20).text() + "\told.test\t1\t0\t0\t0\t0\t0\t0\n" +
                             before(20).text() + "\t*\t0\t0\t0\t0\t0\t0\t0\n");
    EXPECT_EQ(headed.exit_status, 0);
    EXPECT_EQ(headed.out, "DATE\tHOST\tOPENED\tREFUSED\tASKED\tONCE\tALWAYS\tDECLINED\tBLOCKED\n" +
                              today_lines);
    // Reporting never moves the damaged file: the program sets it aside.
    EXPECT_EQ(m_home.read("state/tovali-explorer/activity/" + before(1).text() + ".txt"),
              "damaged");
    return;
  }
  FAIL() << "the date changed during both attempts";
}

TEST_F(SettingsToolTest, WrongCallsPrintUsageAndExitTwo) {
  const std::vector<std::vector<std::string>> calls = {{},
                                                       {"frobnicate"},
                                                       {"get"},
                                                       {"set", "k"},
                                                       {"list", "extra"},
                                                       {"set", "a=b", "c"},
                                                       {"report", "--days"},
                                                       {"report", "--days", "0"},
                                                       {"report", "--days", "-3"},
                                                       {"report", "--days", "2x"},
                                                       {"report", "2"},
                                                       {"report", "--day", "2"},
                                                       {"report", "--days", "2", "--days", "3"},
                                                       {"--system"},
                                                       {"--system", "list"},
                                                       {"--system", "lock", "req_pw_close"},
                                                       {"--system", "unlock"},
                                                       {"--system", "show", "extra"},
                                                       {"--system", "--help"},
                                                       {"show"},
                                                       {"lock", "req_pw_close", "1"},
                                                       {"report", "--header", "1"},
                                                       {"report", "--header", "--header"}};
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

// --help, -h and help print the usage text with every command on standard
// output; nothing else may follow them.
TEST_F(SettingsToolTest, HelpPrintsEveryCommand) {
  for (const std::vector<std::string>& call :
       {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
    const auto r = tool(call);
    EXPECT_EQ(r.exit_status, 0) << call[0];
    EXPECT_EQ(r.out.rfind("Usage: tovali-settings COMMAND [ARGUMENTS]\n", 0), 0u) << r.out;
    for (const char* command :
         {"list", "get KEY", "set KEY VALUE", "unset KEY", "paths", "download", "hash-password",
          "report [--days N]", "--system show", "--help"}) {
      EXPECT_NE(r.out.find("\n  " + std::string(command) + " "), std::string::npos) << command;
    }
    EXPECT_EQ(r.err, "") << call[0];
  }
  for (const std::vector<std::string>& call :
       {std::vector<std::string>{"--help", "list"}, {"-h", "-h"}, {"help", "list"}}) {
    const auto r = tool(call);
    EXPECT_EQ(r.exit_status, 2) << call[0] << " " << call[1];
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("Usage: tovali-settings"), std::string::npos);
  }
}

// An option the tool does not know is named in the error, before the usage
// text; a command's arguments that start with "-" are its own, not options.
TEST_F(SettingsToolTest, AnUnknownOptionIsNamedAndExitsTwo) {
  const struct {
    std::vector<std::string> call;
    const char* named;
  } cases[] = {
      {{"--frobnicate"}, "Unknown option --frobnicate"},
      {{"-x", "list"}, "Unknown option -x"},
      {{"--days", "3", "report"}, "Unknown option --days"},
      {{"report", "--weeks", "2"}, "Unknown option --weeks"},
      {{"report", "--days=2", "--days=3"}, "--days given twice"},
  };
  for (const auto& c : cases) {
    const auto r = tool(c.call);
    EXPECT_EQ(r.exit_status, 2) << c.named;
    EXPECT_EQ(r.err.rfind(std::string("tovali-settings: ") + c.named + "\n", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("Usage: tovali-settings"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << c.named;
  }
  ASSERT_EQ(tool({"set", "pext-4", "-odd"}).exit_status, 0);
  EXPECT_EQ(tool({"get", "pext-4"}).out, "-odd\n");
  EXPECT_EQ(tool({"report", "--days=3"}).exit_status, 0);
}

TEST_F(SettingsToolTest, AFailedSaveNamesTheCopyAndExitsOne) {
  ASSERT_EQ(tool({"set", "pext-5", "old"}).exit_status, 0);
  std::filesystem::remove_all(dir() + "system");
  m_home.write("cfg/tovali-explorer/system", "a file where the folder belongs");
  const auto r = tool({"set", "pext-5", "v"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.err.find("stlber.dat"), std::string::npos) << r.err;
  EXPECT_EQ(tool({"get", "pext-5"}).out, "old\n");  // the other copies were kept as they were
}

TEST_F(SettingsToolTest, SystemSetPasswordLocksTheHashOfTwoEqualLines) {
  const std::string before = "# school kiosks\nreq_pw_close=1\n";
  const struct {
    const char* name;
    std::string input;
    int exit_status;
    const char* told;  // on standard error when refused
  } cases[] = {
      {"two equal lines", "Tulip 7\r\nTulip 7\n", 0, ""},
      {"four characters of two bytes each",
       "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\n"
       "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\n",
       0, ""},
      {"lines that differ", "Tulip 7\nTulip 8\n", 1, "not the same"},
      {"three characters", "abc\nabc\n", 1, "at least 4 characters"},
      {"three characters of two bytes each", "\xC3\xA9\xC3\xA9\xC3\xA9\n\xC3\xA9\xC3\xA9\xC3\xA9\n",
       1, "at least 4 characters"},
      {"one line only", "Tulip 7\n", 1, "two lines"},
      {"nothing", "", 1, "two lines"},
  };
  for (const auto& c : cases) {
    m_home.write("system/settings.conf", before);
    const auto r = system_tool({"set-password"}, c.input);
    EXPECT_EQ(r.exit_status, c.exit_status) << c.name << ": " << r.err;
    const std::string after = m_home.read("system/settings.conf");
    if (c.exit_status != 0) {
      EXPECT_NE(r.err.find(c.told), std::string::npos) << c.name << ": " << r.err;
      EXPECT_EQ(after, before) << c.name;
      continue;
    }
    ASSERT_EQ(after.rfind(before + "password_hash=$y$", 0), 0u) << c.name << ": " << after;
    const std::string hash = after.substr(before.size() + 14, after.size() - before.size() - 15);
    const std::string password = c.input.substr(0, c.input.find_first_of("\r\n"));
    EXPECT_TRUE(password_matches_hash(password, hash)) << c.name;
    // The user's tool shows the lock, and cannot undo it.
    EXPECT_EQ(tool({"get", "password_hash"}).out, hash + "\n") << c.name;
    EXPECT_EQ(tool({"unset", "password_hash"}).exit_status, 1) << c.name;
    struct stat st {};
    ASSERT_EQ(::stat((system_dir() + "settings.conf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u) << c.name;
  }
  // A second password replaces the first one's line.
  ASSERT_EQ(system_tool({"set-password"}, "first!\nfirst!\n").exit_status, 0);
  ASSERT_EQ(system_tool({"set-password"}, "second\nsecond\n").exit_status, 0);
  const TextList locked = load_system_settings(system_dir()).locked;
  ASSERT_EQ(locked.size(), 2u);
  EXPECT_TRUE(password_matches_hash("second", locked[1].substr(14)));
}

TEST_F(SettingsToolTest, SystemLockUnlockAndShowEditTheFileInPlace) {
  const std::string text = "# school kiosks\r\nreq_pw_close=0\r\n\r\n# the end\r\n";
  m_home.write("system/settings.conf", text);
  EXPECT_EQ(system_tool({"show"}).out, text);

  auto r = system_tool({"lock", "Req_Pw_Close", "yes"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(system_tool({"lock", "email_url", "http://school.test/mail"}).exit_status, 0);
  EXPECT_EQ(m_home.read("system/settings.conf"),
            "# school kiosks\r\nReq_Pw_Close=1\r\n\r\n# the end\r\n"
            "email_url=http://school.test/mail\r\n");
  EXPECT_EQ(tool({"get", "req_pw_close"}).out, "1\n");
  EXPECT_EQ(tool({"set", "req_pw_close", "0"}).exit_status, 1);

  // Refused names and values: told, exit 2, the file as it was.
  const std::string locked_text = m_home.read("system/settings.conf");
  for (const std::vector<std::string>& call :
       {std::vector<std::string>{"lock", "req_pw_close", "maybe"},
        {"lock", "no_such_setting", "1"},
        {"lock", "email_url", "ftp://school.test/"}}) {
    r = system_tool(call);
    EXPECT_EQ(r.exit_status, 2) << call[1];
    EXPECT_NE(r.err.find(call[1]), std::string::npos) << r.err;
    EXPECT_EQ(m_home.read("system/settings.conf"), locked_text) << call[1];
  }

  EXPECT_EQ(system_tool({"unlock", "REQ_PW_CLOSE"}).exit_status, 0);
  EXPECT_EQ(m_home.read("system/settings.conf"),
            "# school kiosks\r\n\r\n# the end\r\nemail_url=http://school.test/mail\r\n");
  EXPECT_EQ(tool({"set", "req_pw_close", "0"}).exit_status, 0);
  r = system_tool({"unlock", "req_pw_close"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(r.err.find("req_pw_close is not locked"), std::string::npos) << r.err;

  // show tells what locks nothing.
  m_home.write("system/settings.conf", "req_pw_close=maybe\n");
  r = system_tool({"show"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.out, "req_pw_close=maybe\n");
  EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;
  // A missing file shows nothing; a lock creates the folder and the file.
  std::filesystem::remove_all(system_dir());
  r = system_tool({"show"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(system_tool({"lock", "prevent_switch", "1"}).exit_status, 0);
  EXPECT_EQ(m_home.read("system/settings.conf"), "prevent_switch=1\n");
}

// On a terminal the password is asked for twice, and what is typed is not
// shown. Each line is typed only after its prompt, which comes once the echo
// is off.
TEST_F(SettingsToolTest, SystemSetPasswordAsksTwiceOnATerminalWithoutEcho) {
  const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  const std::string child_side = ::ptsname(terminal);
  // Everything the child needs is made before fork.
  std::vector<std::string> env = {"PATH=/usr/bin:/bin", "XDG_CONFIG_HOME=" + m_home.path() + "cfg",
                                  "TOVALI_SYSTEM_DIR=" + system_dir()};
  std::vector<char*> envp;
  for (auto& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string exe = TOVALI_SETTINGS_EXE;
  std::string system_option = "--system";
  std::string command = "set-password";
  char* argv[] = {exe.data(), system_option.data(), command.data(), nullptr};
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setsid();
    const int fd = ::open(child_side.c_str(), O_RDWR);
    if (fd < 0) ::_exit(127);
    ::dup2(fd, 0);
    ::dup2(fd, 1);
    ::dup2(fd, 2);
    ::execve(argv[0], argv, envp.data());
    ::_exit(127);
  }
  struct Reap {
    pid_t pid;
    int fd;
    int status = -1;
    ~Reap() {
      if (status == -1) ::kill(pid, SIGKILL);
      if (status == -1) ::waitpid(pid, &status, 0);
      ::close(fd);
    }
  } child{pid, terminal};

  std::string shown;
  const auto read_until = [&](const std::string& marker) {
    const auto deadline =
        std::chrono::steady_clock::now() +
        std::chrono::milliseconds(static_cast<int>(20000 * testing::time_factor()));
    while (shown.find(marker) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd ready{terminal, POLLIN, 0};
      if (::poll(&ready, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(terminal, buffer, sizeof buffer);
      if (n <= 0) return false;  // the child side closed
      shown.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
  };
  ASSERT_TRUE(read_until("New password: ")) << shown;
  ASSERT_EQ(::write(terminal, "Tulip 7\n", 8), 8);
  ASSERT_TRUE(read_until("Repeat the new password: ")) << shown;
  ASSERT_EQ(::write(terminal, "Tulip 7\n", 8), 8);
  ASSERT_TRUE(read_until("The password is set in " + system_dir() + "settings.conf")) << shown;
  ASSERT_EQ(::waitpid(pid, &child.status, 0), pid);
  EXPECT_TRUE(WIFEXITED(child.status) && WEXITSTATUS(child.status) == 0) << child.status;
  EXPECT_EQ(shown.find("Tulip"), std::string::npos) << shown;
  const TextList locked = load_system_settings(system_dir()).locked;
  ASSERT_EQ(locked.size(), 1u);
  EXPECT_TRUE(password_matches_hash("Tulip 7", locked[0].substr(14)));
}

// Root may write anywhere; a folder below a regular file cannot be made by
// anyone, so it stands for a folder the caller may not write.
TEST_F(SettingsToolTest, SystemCommandsWithoutTheRightToTheFolderChangeNothing) {
  m_home.write("plain", "not a folder\n");
  const std::string folder = m_home.path() + "plain/tovali-explorer";
  for (const std::vector<std::string>& call : {std::vector<std::string>{"set-password"},
                                               {"lock", "req_pw_close", "1"},
                                               {"unlock", "req_pw_close"}}) {
    const auto r = system_tool(call, "Tulip 7\nTulip 7\n", folder);
    EXPECT_EQ(r.exit_status, 1) << call[0];
    EXPECT_NE(r.err.find("no permission to write in " + folder + "/"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << call[0];
  }
  EXPECT_EQ(m_home.read("plain"), "not a folder\n");
  // A settings.conf that cannot be read is not replaced either.
  std::filesystem::create_directories(system_dir() + "settings.conf");
  const auto r = system_tool({"lock", "req_pw_close", "1"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << r.err;
  EXPECT_TRUE(std::filesystem::is_directory(system_dir() + "settings.conf"));
}

}  // namespace
}  // namespace tovali
