#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupHost.h"
#include "base/TextList.h"
#include "models/SetupApply.h"
#include "policy/AdmissionRules.h"
#include "policy/ParentLists.h"

namespace tovali {
namespace {

using test::FakeSetupHost;

// A model as a parent would leave it, every URL filled.
SetupModel filled_model() {
  SetupModel m;
  m.email_url = "http://mail.test/";
  m.load_main_url = "http://main.test/";
  m.home_button_url = "http://home.test/";
  return m;
}

struct Recorder {
  std::vector<std::string> messages;
  MessageSink sink() {
    return [this](std::string_view text) { messages.emplace_back(text); };
  }
};

TEST(ApplySetup, StoresSwitchesAsOneOrZero) {
  FakeSetupHost host;
  SetupModel m = filled_model();
  m.silent_mode = true;
  m.req_pw_close = true;
  m.download_config = false;
  m.enable_email_button = true;
  Recorder r;
  apply_setup(m, host, r.sink());
  const Settings& s = host.settings();
  const std::pair<const char*, const char*> expected[] = {
      {"silent_mode", "1"},
      {"req_pw_close", "1"},
      {"req_pw_config", "0"},
      {"download_config", "0"},
      {"enable_email_button", "1"},
      {"use_global_meta_data", "0"},
      {"show_print_settings", "0"},
      {"enable_print_button", "0"},
      {"allow_new_window", "0"},
      {"prevent_switch", "0"},
      {"show_close_main", "0"},
      {"hide_navframe", "0"},
      {"disable_ctrl_alt_del", "0"},
      {"load_main_default", "0"},
      {"default_home_location", "0"},
      {"email_url", "http://mail.test/"},
      {"pw", "marigold"},
  };
  for (const auto& [key, value] : expected) EXPECT_EQ(s.value(key), value) << key;
}

// Lines missing from the settings are appended in one fixed order, which is
// what the stored copies show.
TEST(ApplySetup, AppendsMissingLinesInTheirFixedOrder) {
  Settings s;
  SetupModel m;
  store_setup_model(m, s);
  const TextList expected = {
      "pw=marigold",
      "use_global_meta_data=0",
      "silent_mode=0",
      "show_print_settings=0",
      "req_pw_close=0",
      "req_pw_config=0",
      "enable_email_button=0",
      "enable_print_button=0",
      "allow_new_window=0",
      "prevent_switch=0",
      "show_close_main=0",
      "download_config=0",
      "hide_navframe=0",
      "disable_ctrl_alt_del=0",
      "load_main_default=1",
      "default_home_location=1",
      "strict_page_loads=0",
      "num_moresites=0",
      "num_cust_prohibited_domains=0",
      "num_cust_prohibited_urls=0",
      "num_prohibited_file_exts=0",
  };
  EXPECT_EQ(s.lines(), expected);
}

TEST(ApplySetup, LineBreaksFromAPasteNeverSplitAValue) {
  FakeSetupHost host;
  host.settings().assign({"req_pw_close=1"});
  SetupModel m = filled_model();
  m.req_pw_close = true;
  m.email_url = "http://mail.test/\nreq_pw_close=0";
  m.load_main_url = "http://main.test/\r\n";
  m.home_button_url = "\n";  // nothing but a line break: empty
  m.moresites_grid = {{"Zoo\n", "http://zoo.test/\r"}, {"\r\n", "http://half.test/"}};
  Recorder r;
  apply_setup(m, host, r.sink());
  // What is saved reads back as the same lines.
  EXPECT_EQ(split_lines(join_crlf(host.saved_lines)), host.saved_lines);
  const Settings& s = host.settings();
  EXPECT_EQ(s.value("email_url"), "http://mail.test/req_pw_close=0");
  EXPECT_EQ(s.value("req_pw_close"), "1");
  EXPECT_EQ(s.value("load_main_url"), "http://main.test/");
  EXPECT_FALSE(s.has("home_button_url"));
  EXPECT_EQ(s.value("default_home_location"), "1");
  EXPECT_EQ(s.value("num_moresites"), "1");
  EXPECT_EQ(s.value("ms_desc-0"), "Zoo");
  EXPECT_EQ(s.value("ms_url-0"), "http://zoo.test/");
}

TEST(ApplySetup, PwWrittenOnlyWhenMissing) {
  FakeSetupHost host;
  host.settings().set_value("pw", "other");
  SetupModel m = filled_model();
  apply_setup(m, host, {});
  EXPECT_EQ(host.settings().value("pw"), "other");
}

TEST(ApplySetup, EmptyUrlsForceTheirSwitches) {
  struct Case {
    std::string email_url, load_main_url, home_button_url;
    const char *email_button, *main_default, *home_default;
  };
  const Case cases[] = {
      {"", "", "", "0", "1", "1"},
      {"http://m/", "", "http://h/", "1", "1", "0"},
      {"", "http://l/", "", "0", "0", "1"},
      {" ", "http://l/", "http://h/", "1", "0", "0"},  // a blank is not empty
  };
  for (const auto& c : cases) {
    FakeSetupHost host;
    host.settings().assign(
        {"email_url=http://old/", "load_main_url=http://old/", "home_button_url=http://old/"});
    SetupModel m;
    m.enable_email_button = true;
    m.email_url = c.email_url;
    m.load_main_url = c.load_main_url;
    m.home_button_url = c.home_button_url;
    apply_setup(m, host, {});
    const Settings& s = host.settings();
    EXPECT_EQ(s.value("enable_email_button"), c.email_button);
    EXPECT_EQ(s.value("load_main_default"), c.main_default);
    EXPECT_EQ(s.value("default_home_location"), c.home_default);
    EXPECT_EQ(s.has("email_url"), !c.email_url.empty());
    EXPECT_EQ(s.has("load_main_url"), !c.load_main_url.empty());
    EXPECT_EQ(s.has("home_button_url"), !c.home_button_url.empty());
    // The dialog shows the forced state.
    EXPECT_EQ(m.enable_email_button, !c.email_url.empty());
    EXPECT_EQ(m.load_main_default, c.load_main_url.empty());
    EXPECT_EQ(m.default_home_location, c.home_button_url.empty());
  }
}

TEST(ApplySetup, LeavesTheAdministratorsLockedKeysAlone) {
  FakeSetupHost host;
  const TextList user = {"req_pw_close=0", "email_url=http://old/", "num_cust_prohibited_urls=1",
                         "cust_pu-0=http://old/", "pext-0=exe"};
  host.settings().assign(user);
  host.settings().set_locked({"req_pw_close=1", "enable_email_button=1", "email_url=",
                              "load_main_default=0", "default_home_location=0", "num_moresites=1",
                              "ms_url-0=http://school/", "cust_pu-3=x", "pw=", "silent_mode="});
  SetupModel m = filled_model();
  m.req_pw_close = false;  // a locked control cannot be changed, but a model could say so
  m.enable_email_button = true;
  m.email_url = "";
  m.load_main_url = "";
  m.home_button_url = "";
  m.load_main_default = false;
  m.default_home_location = false;
  m.moresites_grid = {{"Zoo", "http://zoo/"}};
  m.prohibited_urls_memo = {"http://bad/"};
  m.prohibited_domains_memo = {"bad.test"};
  apply_setup(m, host, {});
  const Settings& s = host.settings();
  // The user's lines of locked keys and lists are as they were.
  EXPECT_EQ(s.lines()[0], "req_pw_close=0");
  EXPECT_EQ(s.lines()[1], "email_url=http://old/");
  EXPECT_EQ(s.lines()[2], "num_cust_prohibited_urls=1");
  EXPECT_EQ(s.lines()[3], "cust_pu-0=http://old/");
  for (const char* key : {"pw", "silent_mode", "load_main_default", "default_home_location",
                          "enable_email_button", "num_moresites", "ms_desc-0"}) {
    EXPECT_EQ(Settings(s.lines()).has(key), false) << key;
  }
  // A locked switch is not forced by its empty URL, in the model either.
  EXPECT_TRUE(m.enable_email_button);
  EXPECT_FALSE(m.load_main_default);
  EXPECT_FALSE(m.default_home_location);
  // Unlocked keys and lists are stored as always.
  EXPECT_EQ(s.value("cust_pd-0"), "bad.test");
  EXPECT_EQ(s.value("num_cust_prohibited_domains"), "1");
  EXPECT_EQ(s.value("req_pw_config"), "0");
  EXPECT_EQ(s.value("num_prohibited_file_exts"), "0");
}

TEST(ApplySetup, ListsAreLockedByTheirCountOrAnyEntry) {
  Settings s;
  s.set_locked({"num_moresites=0", "Cust_PD-7=x"});
  EXPECT_TRUE(list_locked(s, "num_moresites", {"ms_desc-", "ms_url-"}));
  EXPECT_TRUE(list_locked(s, "num_cust_prohibited_domains", {"cust_pd-"}));
  EXPECT_FALSE(list_locked(s, "num_cust_prohibited_urls", {"cust_pu-"}));
}

TEST(ApplySetup, AProblemWithTheAdministratorsFileIsToldToTheParent) {
  EXPECT_EQ(system_settings_problem_message(""), "");
  const auto text = system_settings_problem_message(
      "/etc/tovali-explorer/settings.conf: cannot be read (Permission denied); none of its "
      "settings is in force\n");
  EXPECT_NE(text.find("administrator"), std::string::npos);
  EXPECT_NE(text.find("settings.conf: cannot be read (Permission denied)"), std::string::npos);
}

TEST(ApplySetup, GridRowsWithBothCellsFilled) {
  FakeSetupHost host;
  host.settings().assign({"num_moresites=5", "ms_desc-2=old", "ms_url-2=old"});
  SetupModel m = filled_model();
  m.moresites_grid = {{"A", "x"}, {"", "y"}, {"B", "z"}, {"C", ""}, {"", ""}};
  apply_setup(m, host, {});
  const Settings& s = host.settings();
  EXPECT_EQ(s.value("num_moresites"), "2");
  EXPECT_EQ(s.value("ms_desc-0"), "A");
  EXPECT_EQ(s.value("ms_url-0"), "x");
  EXPECT_EQ(s.value("ms_desc-1"), "B");
  EXPECT_EQ(s.value("ms_url-1"), "z");
  EXPECT_EQ(s.value("ms_desc-2"), "old");  // beyond the count: left, unread
}

TEST(MenuSites, StoredInOrderWithoutRowsLackingAnAddressAndLoadedBack) {
  struct Case {
    const char* what;
    std::vector<MenuSiteRow> rows;
    TextList locked;
    std::vector<MenuSiteRow> loaded;
  };
  const Case cases[] = {
      {"rows in order, one line each",
       {{"Zoo", "http://zoo.test/", "pics.test"}, {"Farm\r\n", "http://farm\n.test/", "a\nb"}},
       {},
       {{"Zoo", "http://zoo.test/", "pics.test"}, {"Farm", "http://farm.test/", "ab"}}},
      {"rows without an address are dropped",
       {{"Empty", "", "x.test"}, {"Blank", " \t", ""}, {"", "http://untitled.test/", ""}},
       {},
       {{"", "http://untitled.test/", ""}}},
      {"no rows", {}, {}, {}},
      {"a locked entry keeps the administrator's list",
       {{"Zoo", "http://zoo.test/", ""}},
       {"mu-0=http://locked.test/"},
       {{"old", "http://locked.test/", ""}, {"", "", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Settings s;
    s.assign({"num_menu_sites=2", "mt-0=old", "mu-0=http://old.test/"});
    s.set_locked(c.locked);
    EXPECT_EQ(menu_sites_locked(s), !c.locked.empty());
    store_menu_sites(c.rows, s);
    EXPECT_EQ(load_menu_sites(s), c.loaded);
  }
}

TEST(ApplySetup, EmptyGridStoresZero) {
  FakeSetupHost host;
  SetupModel m = filled_model();
  m.moresites_grid.assign(4, {});
  apply_setup(m, host, {});
  EXPECT_EQ(host.settings().value("num_moresites"), "0");
}

// A prohibited domain typed as the site's domain or as the host of one of its
// pages refuses the same site once stored.
TEST(ApplySetup, AProhibitedDomainRefusesItsSiteWrittenEitherWay) {
  for (const char* line : {"www.badsite.co.uk", "badsite.co.uk", " Badsite.Co.Uk "}) {
    FakeSetupHost host;
    SetupModel m = filled_model();
    m.prohibited_domains_memo = {line};
    apply_setup(m, host, {});
    ParentLists lists;
    lists.UpdateLists(host.settings());
    EXPECT_FALSE(Cust_Allow_B_URL(lists, "http://www.badsite.co.uk/")) << line;
    EXPECT_FALSE(Cust_Allow_B_URL(lists, "http://badsite.co.uk/")) << line;
    EXPECT_TRUE(Cust_Allow_B_URL(lists, "http://www.goodsite.co.uk/")) << line;
  }
}

TEST(ApplySetup, MemoLinesNotEmptyKeptUntrimmed) {
  FakeSetupHost host;
  SetupModel m = filled_model();
  m.prohibited_domains_memo = {"a", "", " b"};
  m.prohibited_urls_memo = {"", ""};
  m.prohibited_file_exts_memo = {"exe ", "zip"};
  apply_setup(m, host, {});
  const Settings& s = host.settings();
  EXPECT_EQ(s.value("num_cust_prohibited_domains"), "2");
  EXPECT_EQ(s.value("cust_pd-0"), "a");
  EXPECT_EQ(s.value("cust_pd-1"), " b");
  EXPECT_EQ(s.value("num_cust_prohibited_urls"), "0");
  EXPECT_FALSE(s.has("cust_pu-0"));
  EXPECT_EQ(s.value("num_prohibited_file_exts"), "2");
  EXPECT_EQ(s.value("pext-0"), "exe ");
}

TEST(ApplySetup, RestartOrUpdateControlsThenLists) {
  struct Case {
    const char* stored;  // prevent_switch before, nullptr = missing
    bool box;
    Restart restart;
  };
  const Case cases[] = {
      {"1", true, Restart::NotNeeded},    {"0", false, Restart::NotNeeded},
      {"1", false, Restart::Needed},      {"0", true, Restart::Needed},
      {nullptr, true, Restart::Needed},   {nullptr, false, Restart::NotNeeded},
      {"yes", false, Restart::NotNeeded},
  };
  for (const auto& c : cases) {
    FakeSetupHost host;
    if (c.stored) host.settings().set_value("prevent_switch", c.stored);
    SetupModel m = filled_model();
    m.prevent_switch = c.box;
    Recorder r;
    const auto outcome = apply_setup(m, host, r.sink());
    EXPECT_EQ(outcome.restart, c.restart);
    if (c.restart == Restart::Needed) {
      EXPECT_EQ(r.messages, std::vector<std::string>{kRestartMessage});
      EXPECT_EQ(host.calls, (std::vector<std::string>{"SaveConfig", "UpdateLists"}));
    } else {
      EXPECT_TRUE(r.messages.empty());
      EXPECT_EQ(host.calls,
                (std::vector<std::string>{"SaveConfig", "UpdateControls", "UpdateLists"}));
    }
    EXPECT_EQ(host.settings().value("prevent_switch"), c.box ? "1" : "0");
  }
}

TEST(ApplySetup, SavesTheStoredValues) {
  FakeSetupHost host;
  SetupModel m = filled_model();
  m.hide_navframe = true;
  apply_setup(m, host, {});
  EXPECT_EQ(Settings(host.saved_lines).value("hide_navframe"), "1");
}

TEST(ApplySetup, FailedSaveIsToldAndTheRestStillApplies) {
  FakeSetupHost host;
  host.next_save.failures.push_back({"/ro/finalg.dat", "Permission denied"});
  SetupModel m = filled_model();
  Recorder r;
  apply_setup(m, host, r.sink());
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_NE(r.messages[0].find("could not be saved"), std::string::npos);
  EXPECT_NE(r.messages[0].find("/ro/finalg.dat"), std::string::npos);
  EXPECT_EQ(host.calls.back(), "UpdateLists");
}

TEST(ApplySetup, CopiesUnwrittenAtStartUpAreToldToTheParent) {
  EXPECT_EQ(startup_save_failure_message(SaveReport{}), "");
  SaveReport report;
  report.failures.push_back({"/ro/system/stlber.dat", "Permission denied"});
  const auto text = startup_save_failure_message(report);
  EXPECT_NE(text.find("could not write its settings files"), std::string::npos);
  EXPECT_NE(text.find("/ro/system/stlber.dat: Permission denied"), std::string::npos);
}

TEST(ApplySetup, LoadThenApplyKeepsTheSettings) {
  FakeSetupHost host;
  host.settings().assign({"password=marigold",
                          "pw=marigold",
                          "req_pw_close=0",
                          "req_pw_config=1",
                          "enable_email_button=1",
                          "email_url=http://m/",
                          "allow_new_window=1",
                          "prevent_switch=1",
                          "disable_ctrl_alt_del=1",
                          "show_close_main=0",
                          "download_config=1",
                          "hide_navframe=0",
                          "load_main_default=1",
                          "silent_mode=0",
                          "use_global_meta_data=1",
                          "enable_print_button=1",
                          "default_home_location=1",
                          "num_prohibited_file_exts=2",
                          "pext-0=exe",
                          "pext-1=zip",
                          "show_print_settings=0",
                          "num_moresites=1",
                          "ms_desc-0=A",
                          "ms_url-0=x",
                          "num_cust_prohibited_domains=0",
                          "num_cust_prohibited_urls=0",
                          "strict_page_loads=0"});
  const TextList before = host.settings().lines();
  SetupModel m = load_setup_model(host.settings()).model;
  const auto outcome = apply_setup(m, host, {});
  EXPECT_EQ(outcome.restart, Restart::NotNeeded);
  EXPECT_EQ(host.settings().lines(), before);
}

}  // namespace
}  // namespace tovali
