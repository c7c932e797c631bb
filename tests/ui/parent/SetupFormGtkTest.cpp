#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>
#include <gtkmm/messagedialog.h>

#include "BuildConfig.h"
#include "FactoryLines.h"
#include "FakeSetupHost.h"
#include "GtkFixture.h"
#include "RefusedSitesPageTestAccess.h"
#include "SetupActivityPageTestAccess.h"
#include "SetupFormTestAccess.h"
#include "SetupMenuPageTestAccess.h"
#include "SetupTimePageTestAccess.h"
#include "TempDir.h"
#include "activity/ActivityRecord.h"
#include "activity/LocalDate.h"
#include "browser/EmbeddedWB.h"
#include "models/GeneratedPages.h"
#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "ui/parent/SetupForm.h"

namespace tovali {
namespace {

using test::FakeSetupHost;
using test::find_window;
using test::MessageCatcher;
using test::Script;

// A host with the factory settings.
FakeSetupHost factory_host() {
  FakeSetupHost host;
  host.settings().assign(testing::factory_lines());
  return host;
}

// Every text shown inside `widget`: labels (those of check boxes, buttons and
// group boxes included) and column headings.
void collect_texts(GtkWidget* widget, std::vector<std::string>& texts) {
  if (GTK_IS_TREE_VIEW(widget)) {
    for (GList *c = gtk_tree_view_get_columns(GTK_TREE_VIEW(widget)), *i = c; i; i = i->next) {
      texts.emplace_back(gtk_tree_view_column_get_title(GTK_TREE_VIEW_COLUMN(i->data)));
      if (!i->next) g_list_free(c);
    }
    return;
  }
  if (GTK_IS_LABEL(widget)) {
    if (gtk_widget_is_visible(widget)) texts.emplace_back(gtk_label_get_text(GTK_LABEL(widget)));
    return;
  }
  if (!GTK_IS_CONTAINER(widget)) return;
  gtk_container_forall(
      GTK_CONTAINER(widget),
      [](GtkWidget* child, gpointer data) {
        collect_texts(child, *static_cast<std::vector<std::string>*>(data));
      },
      &texts);
}

// The texts shown inside `widget`, sorted.
// Opens the setup dialog for `host` and cancels it as soon as it shows.
void open_and_cancel_setup(FakeSetupHost& host) {
  Script script({[] {
    auto* form = find_window<SetupForm>();
    if (!form) return false;
    form->response(Gtk::RESPONSE_CANCEL);
    return true;
  }});
  open_setup_form(nullptr, host);
}

std::vector<std::string> texts_in(Gtk::Widget& widget) {
  std::vector<std::string> texts;
  collect_texts(widget.gobj(), texts);
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::vector<std::string> sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::vector<std::string> visible_tab_labels(Gtk::Notebook& tabs) {
  std::vector<std::string> labels;
  for (int i = 0; i < tabs.get_n_pages(); ++i) {
    Gtk::Widget* page = tabs.get_nth_page(i);
    if (page->get_visible()) labels.push_back(tabs.get_tab_label_text(*page));
  }
  return labels;
}

TEST(SetupForm, KeepsItsSizeAndControls) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  EXPECT_EQ(form.get_title(), "Tovali Explorer Setup");
  EXPECT_FALSE(form.get_deletable());
  int w = 0, h = 0;
  form.get_size(w, h);
  EXPECT_EQ(w, SetupForm::kWidth);
  EXPECT_EQ(h, SetupForm::kHeight);
  EXPECT_EQ(visible_tab_labels(parts.tabs()),
            (std::vector<std::string>{"General", "Password", "Buttons", "Site Access", "Downloads",
                                      "Refused Sites", "Time", "Menu", "Activity"}));
  EXPECT_EQ(parts.tabs().get_current_page(), 0);

  const std::pair<const char*, const char*> captions[] = {
      {"silent_mode", "Prevent Browser From Showing Dialog Popups"},
      {"allow_new_window", "Allow New Windows To Popup"},
      {"prevent_switch", "Prevent Switching To Other Programs (Requires Restart)"},
      {"disable_ctrl_alt_del", "Disable Ctrl-Alt-Del (N/A for Windows NT)"},
      {"download_config", "Download Configuration File On Startup"},
      {"use_global_meta_data", "Use Site Include/Exclude Settings From Downloaded Config"},
      {"hide_navframe", "Hide Navigation Frame"},
      {"load_main_default", "Check here to use default location"},
      {"req_pw_close", "Require Password To Close Program"},
      {"req_pw_config", "Require Password To Enter Setup"},
      {"default_home_location", "Check here to use default location"},
      {"enable_email_button", "Enable Email Button (For Web-based Email)"},
      {"enable_print_button", "Enable Print Button"},
      {"show_print_settings", "Show Print Settings"},
      {"show_close_main", "Show Close Button In Main Window"},
  };
  for (const auto& [name, caption] : captions) {
    EXPECT_EQ(parts.check(name).get_label(), caption) << name;
  }
  auto& grid = parts.moresites_grid();
  EXPECT_EQ(grid.get_column(0)->get_title(), "Link Description");
  EXPECT_EQ(grid.get_column(1)->get_title(), "URL (http://...)");
  EXPECT_EQ(grid.get_column(0)->get_fixed_width(), 220);
  EXPECT_EQ(grid.get_column(1)->get_fixed_width(), 224);
  EXPECT_TRUE(grid.get_column(0)->get_resizable());
  EXPECT_EQ(grid.row_count(), 4);
  test::screenshot("setup_general");
  for (int page = 1; page < 5; ++page) {
    parts.tabs().set_current_page(page);
    test::screenshot("setup_tab" + std::to_string(page));
  }
  parts.tabs().set_current_page(6);
  test::screenshot("setup_refused");
}

// Every tab's label lies inside the notebook without scrolling it, with the
// Browser tab shown too, and the dialog fits the smallest screen it is made
// for (the tests' X server is 1024x768).
TEST(SetupForm, EveryTabShowsWithoutScrollingOnA1024x768Screen) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  Gtk::Notebook& tabs = parts.tabs();
  EXPECT_FALSE(tabs.get_scrollable());
  const auto expect_every_label_inside = [&tabs](int shown) {
    // The labels are placed once the notebook has been laid out.
    ASSERT_TRUE(test::pump_until([&tabs] {
      for (int i = 0; i < tabs.get_n_pages(); ++i) {
        Gtk::Widget* page = tabs.get_nth_page(i);
        if (page->get_visible() && !tabs.get_tab_label(*page)->get_mapped()) return false;
      }
      return true;
    }));
    int seen = 0;
    for (int i = 0; i < tabs.get_n_pages(); ++i) {
      Gtk::Widget* page = tabs.get_nth_page(i);
      if (!page->get_visible()) continue;
      ++seen;
      Gtk::Widget* label = tabs.get_tab_label(*page);
      const std::string text = tabs.get_tab_label_text(*page);
      ASSERT_NE(label, nullptr) << text;
      EXPECT_TRUE(label->get_mapped()) << text;
      int x = -1, y = -1;
      ASSERT_TRUE(label->translate_coordinates(tabs, 0, 0, x, y)) << text;
      const Gtk::Allocation area = label->get_allocation();
      EXPECT_GT(area.get_width(), 1) << text;
      EXPECT_GE(x, 0) << text;
      EXPECT_GE(y, 0) << text;
      EXPECT_LE(x + area.get_width(), tabs.get_allocated_width()) << text;
      EXPECT_LE(y + area.get_height(), tabs.get_allocated_height()) << text;
      // The whole text shows: the label got the width it asks for.
      int minimum = 0, natural = 0;
      label->get_preferred_width(minimum, natural);
      EXPECT_GE(area.get_width(), natural) << text;
    }
    EXPECT_EQ(seen, shown);
  };
  expect_every_label_inside(9);
  parts.on_feedback_clicked();  // the widest label, on a tenth tab
  test::pump();
  expect_every_label_inside(10);
  parts.browser_view()->Stop();

  int w = 0, h = 0;
  form.get_size(w, h);
  EXPECT_EQ(w, SetupForm::kWidth);
  EXPECT_EQ(h, SetupForm::kHeight);
  const Glib::RefPtr<Gdk::Screen> screen = form.get_screen();
  EXPECT_LE(w, 1024);
  EXPECT_LE(h, 768 - 80);  // room for a title bar and a panel
  EXPECT_LE(w, screen->get_width());
  EXPECT_LE(h, screen->get_height());
}

TEST(SetupForm, EveryTextOfEveryTab) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  const char* const kNoCaption = "";
  const std::vector<std::vector<std::string>> pages = {
      {"Prevent Browser From Showing Dialog Popups", "Allow New Windows To Popup",
       "Prevent Switching To Other Programs (Requires Restart)",
       "Disable Ctrl-Alt-Del (N/A for Windows NT)", "Download Configuration File On Startup",
       "Use Site Include/Exclude Settings From Downloaded Config", "Hide Navigation Frame",
       kNoCaption,
       "Load main frame (right frame) from this URL:", "Check here to use default location",
       "Pages may load only from the sites their link allows"},
      {"Require Password To Close Program", "Require Password To Enter Setup",
       "Change Password: ", "Enter the current password and the new password twice:",
       "Current Password:", "New Password:", "New Password Again:", "Set Password",
       "The initial password set upon installation is \"marigold\".  Please enter it for "
       "\"Current Password\" in order to change it. If you enable passwords, it is recommended "
       "that you change the password.",
       kOwnFilesPasswordNote},
      {"Home Site: ",
       "On startup and when Home button is clicked, load\nnavigation frame (left frame) from "
       "this URL:",
       "Check here to use default location",
       "E-mail Button: ", "Enable Email Button (For Web-based Email)",
       "When email button is clicked, load this URL:", "Print Button: ", "Enable Print Button",
       "Show Print Settings", "Close Button: ", "Show Close Button In Main Window"},
      {"Customize the sites you want to add or prohibit here.",
       "Include these sites in the \"More Sites\" category:", "Link Description",
       "URL (http://...)", "Prohibit access to these domains:", "Prohibit access to these URL's:"},
      {"Prohibit access to URL's that end with these file extensions:",
       "(Enter one per line, and do not include the preceding period)"},
  };
  for (std::size_t page = 0; page < pages.size(); ++page) {
    EXPECT_EQ(texts_in(*parts.tabs().get_nth_page(static_cast<int>(page))), sorted(pages[page]))
        << "tab " << page;
  }
  // The bottom bar (Apply is there but never shown) and the Browser tab.
  parts.on_feedback_clicked();
  test::pump();
  std::vector<std::string> expected{"OK",
                                    "Cancel",
                                    "Help",
                                    "Are you having problems or do you want additional features?",
                                    "Send Feedback",
                                    "Feedback Browser",
                                    parts.feedback_label().get_text(),
                                    "< Back",
                                    "Forward >",
                                    "Refused Sites",
                                    "Time",
                                    "Menu",
                                    "Activity"};
  for (const auto& page : pages) expected.insert(expected.end(), page.begin(), page.end());
  for (const char* tab : {"General", "Password", "Buttons", "Site Access", "Downloads"}) {
    expected.push_back(tab);
  }
  auto all = texts_in(*form.get_content_area());
  // The Refused Sites, Time, Menu and Activity tabs' own texts are checked
  // with those tabs.
  for (Gtk::Widget* tab :
       std::initializer_list<Gtk::Widget*>{&parts.refused_sites(), &parts.time_page(),
                                           &parts.menu_page(), &parts.activity_page()}) {
    for (const auto& text : texts_in(*tab)) {
      if (auto it = std::find(all.begin(), all.end(), text); it != all.end()) all.erase(it);
    }
  }
  EXPECT_EQ(all, sorted(expected));
  parts.browser_view()->Stop();
}

TEST(SetupForm, FillsEveryControl) {
  auto host = factory_host();
  host.settings().set_value("req_pw_close", "1");
  host.settings().set_value("load_main_url", "http://main.test/");
  host.settings().set_value("num_moresites", "2");
  host.settings().set_value("ms_desc-0", "Zoo");
  host.settings().set_value("ms_url-0", "http://zoo.test/");
  host.settings().set_value("ms_url-1", "http://half.test/");
  host.settings().set_value("num_cust_prohibited_domains", "2");
  host.settings().set_value("cust_pd-0", "bad.test");
  host.settings().set_value("cust_pd-1", " worse.test");
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  EXPECT_TRUE(parts.check("req_pw_close").get_active());
  EXPECT_FALSE(parts.check("req_pw_config").get_active());
  EXPECT_TRUE(parts.check("prevent_switch").get_active());
  EXPECT_EQ(parts.entry("load_main_url").get_text(), "http://main.test/");
  EXPECT_EQ(parts.entry("email_url").get_text(), build::kEmailUrl);
  EXPECT_EQ(parts.moresites_grid().rows(),
            (std::vector<MoreSitesRow>{{"Zoo", "http://zoo.test/"}, {"", "http://half.test/"}}));
  EXPECT_EQ(parts.memo("prohibited_domains_memo").lines(), (TextList{"bad.test", " worse.test"}));
  EXPECT_EQ(parts.memo("prohibited_file_exts_memo").lines(), (TextList{"exe", "zip"}));
  EXPECT_EQ(parts.pending_configuration_warnings(), 0);
}

TEST(SetupForm, LockedControlsAreInsensitiveAndApplyLeavesThemAlone) {
  auto host = factory_host();
  host.settings().set_locked({"req_pw_close=1", "email_url=http://school.test/",
                              "cust_pd-0=locked.test", "password_hash=$y$x"});
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  EXPECT_TRUE(parts.check("req_pw_close").get_active());  // the value in force
  EXPECT_EQ(parts.entry("email_url").get_text(), "http://school.test/");
  std::vector<Gtk::Widget*> locked = {&parts.check("req_pw_close"),
                                      &parts.entry("email_url"),
                                      &parts.memo("prohibited_domains_memo"),
                                      &parts.current_password(),
                                      &parts.new_password(),
                                      &parts.new_password_again(),
                                      &parts.set_password_button()};
  for (Gtk::Widget* control : locked) {
    EXPECT_FALSE(control->get_sensitive()) << control->get_name();
    EXPECT_EQ(control->get_tooltip_text(), kSetByAdministrator) << control->get_name();
  }
  for (Gtk::Widget* control :
       std::vector<Gtk::Widget*>{&parts.check("req_pw_config"), &parts.entry("home_button_url"),
                                 &parts.memo("prohibited_urls_memo"), &parts.moresites_grid()}) {
    EXPECT_TRUE(control->get_sensitive()) << control->get_name();
    EXPECT_EQ(control->get_tooltip_text(), "") << control->get_name();
  }
  parts.on_apply_clicked();
  EXPECT_EQ(host.saved_lines[1], "req_pw_close=0");  // the user's line, untouched
  EXPECT_EQ(Settings(host.saved_lines).value("email_url"), build::kEmailUrl);
  EXPECT_FALSE(Settings(host.saved_lines).has("num_cust_prohibited_domains"));
  EXPECT_TRUE(parts.check("req_pw_close").get_active());
}

TEST(SetupForm, AProblemWithTheAdministratorsFileIsToldBeforeTheDialogShows) {
  auto host = factory_host();
  host.system_problems = "/etc/tovali-explorer/settings.conf: cannot be read (Is a directory)\n";
  MessageCatcher messages;
  open_and_cancel_setup(host);
  ASSERT_EQ(messages.texts().size(), 1u);
  EXPECT_EQ(
      messages.texts()[0].rfind("Tovali Explorer could not use all of the administrator's", 0), 0u);
  EXPECT_NE(messages.texts()[0].find("\n" + host.system_problems), std::string::npos);
}

TEST(SetupForm, TimeTabStoresGoodValuesAndRefusesBadOnes) {
  struct Case {
    const char* minutes;
    const char* bedtime;
    bool stored;
    const char* problem;  // a part of the message when refused
  };
  const Case cases[] = {
      {" 45 ", "20:30-07:00", true, ""},
      {"0", "", true, ""},
      {"", "", true, ""},
      {"ninety", "", false, "Minutes per day must be a whole number from 0 to 1440."},
      {"1441", "", false, "Minutes per day"},
      {"30", "21:00-21:00", false, "Bedtime must be written HH:MM-HH:MM"},
      {"30", "9pm", false, "Bedtime must be written HH:MM-HH:MM"},
  };
  for (const Case& c : cases) {
    auto host = factory_host();
    host.settings().set_value("daily_minutes", "60");
    SetupForm form(nullptr, host);
    SetupFormTestAccess parts(form);
    form.show();
    test::pump();
    SetupTimePageTestAccess time(parts.time_page());
    EXPECT_EQ(time.daily_minutes().get_text(), "60");
    time.daily_minutes().set_text(c.minutes);
    time.bedtime().set_text(c.bedtime);
    MessageCatcher messages;
    parts.on_apply_clicked();
    test::pump();
    if (c.stored) {
      EXPECT_TRUE(messages.texts().empty()) << c.minutes;
      EXPECT_EQ(Settings(host.saved_lines).value("daily_minutes"),
                c.minutes[0] == ' ' ? "45" : c.minutes);
      EXPECT_EQ(Settings(host.saved_lines).value("bedtime"), c.bedtime);
      EXPECT_EQ(host.daily_limit_updates, 1);
    } else {
      ASSERT_EQ(messages.texts().size(), 1u) << c.minutes << " " << c.bedtime;
      EXPECT_EQ(messages.texts()[0].rfind("The time settings were not saved.", 0), 0u);
      EXPECT_NE(messages.texts()[0].find(c.problem), std::string::npos) << messages.texts()[0];
      EXPECT_TRUE(host.calls.empty());  // nothing else applied either
      EXPECT_EQ(host.settings().value("daily_minutes"), "60");
      EXPECT_EQ(host.daily_limit_updates, 0);
    }
  }
}

// "Add 15 minutes today" would stretch a limit the administrator set: it is
// greyed, with the locked controls' tooltip, while either limit is locked.
TEST(SetupForm, AddMinutesIsLockedWithEitherDailyLimit) {
  struct Case {
    const char* locked_line;  // nullptr: nothing locked
    bool offered;
  };
  for (const Case& c :
       {Case{nullptr, true}, Case{"daily_minutes=60", false}, Case{"bedtime=20:30-07:00", false}}) {
    SCOPED_TRACE(c.locked_line ? c.locked_line : "no lock");
    auto host = factory_host();
    if (c.locked_line) host.settings().set_locked({c.locked_line});
    SetupForm form(nullptr, host);
    SetupFormTestAccess parts(form);
    form.show();
    test::pump();
    Gtk::Button& add = SetupTimePageTestAccess(parts.time_page()).add_minutes_button();
    EXPECT_EQ(add.get_sensitive(), c.offered);
    EXPECT_EQ(add.get_tooltip_text(), c.offered ? "" : kSetByAdministrator);
  }
}

TEST(SetupForm, ActivityTabShowsTheLastFourteenDaysAndTheHostsOfOne) {
  const LocalDate today = local_moment_now().date;
  const LocalDate yesterday = LocalDate::from_days(today.days_since_epoch() - 1);
  ActivityRecord record;
  record.day(today).seconds_used = 20 * 60;
  record.add_opened(today, "http://zoo.example/");
  record.add_refused(today, "http://shop.example/");
  record.add_blocked(today, "http://shop.example/banner.png");
  record.add_blocked(today, "http://shop.example/track.js");
  record.add_blocked(today, "http://ads.example/pixel.gif");
  record.day(yesterday).seconds_used = 40 * 60;
  record.add_opened(yesterday, "http://games.example/");
  record.add_request(yesterday, "http://games.example/race", RequestAnswer::AllowedOnce);
  record.add_request(yesterday, "http://games.example/race", RequestAnswer::NoAnswer);
  record.add_request(yesterday, "http://chat.example/", RequestAnswer::Declined);
  record.add_request(yesterday, "http://paint.example/", RequestAnswer::AllowedAlways);
  record.add_opened(yesterday, "file:///usr/share/tovali-explorer/welcome.html");
  auto host = factory_host();
  host.record = &record;
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();

  // Each row's cells as text, separated by spaces.
  const auto rows = [](Gtk::TreeView& view, std::initializer_list<int> columns) {
    std::vector<std::string> texts;
    GtkTreeModel* model = view.get_model()->gobj();
    for (const auto& row : view.get_model()->children()) {
      std::string line;
      for (int column : columns) {
        GValue value = G_VALUE_INIT;
        GValue as_text = G_VALUE_INIT;
        gtk_tree_model_get_value(model, const_cast<GtkTreeIter*>(row.gobj()), column, &value);
        g_value_init(&as_text, G_TYPE_STRING);
        g_value_transform(&value, &as_text);
        line += std::string(line.empty() ? "" : " ") + g_value_get_string(&as_text);
        g_value_unset(&as_text);
        g_value_unset(&value);
      }
      texts.push_back(line);
    }
    return texts;
  };
  SetupActivityPage& page = parts.activity_page();
  SetupActivityPageTestAccess lists(page);
  const auto days = rows(lists.days_view(), {0, 1, 2});
  ASSERT_EQ(days.size(), 14u);
  // Newest first: today at the top, selected.
  EXPECT_EQ(days[0], today.text() + " 20 50");
  EXPECT_EQ(days[1], yesterday.text() + " 40 100");
  EXPECT_EQ(days[13], LocalDate::from_days(today.days_since_epoch() - 13).text() + " 0 0");
  // A host with only blocked items has its row.
  EXPECT_EQ(
      rows(lists.hosts_view(), {0, 1, 2, 3}),
      (std::vector<std::string>{"ads.example 0 0 1", "shop.example 0 1 2", "zoo.example 1 0 0"}));
  std::vector<std::string> host_headings;
  for (Gtk::TreeViewColumn* column : lists.hosts_view().get_columns())
    host_headings.push_back(column->get_title());
  EXPECT_EQ(host_headings,
            (std::vector<std::string>{"Site", "Opened", "Refused", "Blocked items"}));
  EXPECT_TRUE(rows(lists.requests_view(), {0}).empty());
  // The requests of a day show under it, with their answers; the program's
  // own page counts under no site.
  page.select_day(1);
  EXPECT_EQ(rows(lists.hosts_view(), {0, 1, 2, 3}),
            std::vector<std::string>{"games.example 1 0 0"});
  EXPECT_EQ(rows(lists.requests_view(), {0, 1, 2, 3, 4}),
            (std::vector<std::string>{"chat.example 1 0 0 1", "games.example 2 1 0 0",
                                      "paint.example 1 0 1 0"}));
  std::vector<std::string> headings;
  for (Gtk::TreeViewColumn* column : lists.requests_view().get_columns())
    headings.push_back(column->get_title());
  EXPECT_EQ(headings,
            (std::vector<std::string>{"Site", "Asked", "Just this time", "Always", "Not now"}));
  parts.tabs().set_current_page(parts.tabs().page_num(page));
  test::pump();
  test::screenshot("setup_activity");
  // The lists fit the dialog's size.
  int w = 0, h = 0;
  form.get_size(w, h);
  EXPECT_EQ(w, SetupForm::kWidth);
  EXPECT_EQ(h, SetupForm::kHeight);
  page.select_day(13);
  EXPECT_TRUE(rows(lists.hosts_view(), {0}).empty());
  EXPECT_TRUE(rows(lists.requests_view(), {0}).empty());

  SetupTimePageTestAccess(parts.time_page()).add_minutes_button().clicked();
  EXPECT_EQ(host.extra_minutes_added, 1);
  EXPECT_TRUE(host.calls.empty());  // the button applies nothing else
}

TEST(SetupForm, DamagedActivityFilesAreToldBeforeTheDialogShows) {
  auto host = factory_host();
  host.damaged_activity = "2026-12-01.txt: line 3 is not a number\n";
  MessageCatcher messages;
  open_and_cancel_setup(host);
  ASSERT_EQ(messages.texts().size(), 1u);
  EXPECT_NE(messages.texts()[0].find("damaged"), std::string::npos);
  EXPECT_NE(messages.texts()[0].find(host.damaged_activity), std::string::npos);
}

TEST(SetupForm, ConfigurationWarningBeforeTheDialogShows) {
  auto host = factory_host();
  host.settings().set_value("download_config", "0");
  MessageCatcher messages;
  open_and_cancel_setup(host);
  ASSERT_EQ(messages.texts(), std::vector<std::string>{kConfigurationWarning});
  EXPECT_FALSE(messages.caught[0].parent_visible);
  EXPECT_TRUE(host.calls.empty());  // Cancel applies nothing
}

TEST(SetupForm, ConfigurationWarningOnClicks) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  MessageCatcher messages;
  parts.check("download_config").set_active(false);       // warns
  parts.check("use_global_meta_data").set_active(false);  // warns: download still off
  parts.check("download_config").set_active(true);        // no warning
  parts.check("use_global_meta_data").set_active(true);   // no warning
  test::pump_until([&] { return messages.caught.size() >= 2; });
  test::pump();
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{kConfigurationWarning, kConfigurationWarning}));
  EXPECT_EQ(messages.caught[0].parent_title, "Tovali Explorer Setup");
}

TEST(SetupForm, ApplyTurnsOffSwitchesWithoutTheirTextAndDropsEmptyRows) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  parts.check("enable_email_button").set_active(true);
  parts.entry("email_url").set_text("");
  parts.check("load_main_default").set_active(false);
  parts.entry("load_main_url").set_text("");
  parts.check("default_home_location").set_active(false);
  parts.entry("home_button_url").set_text("");
  parts.moresites_grid().set_rows({{"A", "x"}, {"", "y"}, {"B", "z"}, {}});
  parts.memo("prohibited_domains_memo").set_lines({"a", "", " b"});
  MessageCatcher messages;
  parts.on_apply_clicked();
  const Settings& s = host.settings();
  EXPECT_EQ(s.value("enable_email_button"), "0");
  EXPECT_FALSE(s.has("email_url"));
  EXPECT_EQ(s.value("load_main_default"), "1");
  EXPECT_EQ(s.value("default_home_location"), "1");
  EXPECT_EQ(s.value("num_moresites"), "2");
  EXPECT_EQ(s.value("ms_desc-1"), "B");
  EXPECT_EQ(s.value("ms_url-1"), "z");
  EXPECT_EQ(s.value("num_cust_prohibited_domains"), "2");
  EXPECT_EQ(s.value("cust_pd-1"), " b");
  EXPECT_EQ(s.value("pw"), "marigold");
  EXPECT_TRUE(messages.caught.empty());
  EXPECT_EQ(host.calls, (std::vector<std::string>{"SaveConfig", "UpdateControls", "UpdateLists"}));
  // The forced switches show in the dialog.
  EXPECT_FALSE(parts.check("enable_email_button").get_active());
  EXPECT_TRUE(parts.check("load_main_default").get_active());
}

TEST(SetupForm, ChangingPreventSwitchShowsTheRestartMessage) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  parts.check("prevent_switch").set_active(false);
  MessageCatcher messages;
  Script script({[&] {
    // OK: apply, the restart message, then the dialog closes.
    parts.on_ok_clicked();
    return true;
  }});
  const int response = form.run();
  EXPECT_EQ(response, Gtk::RESPONSE_OK);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{kRestartMessage});
  EXPECT_EQ(host.calls, (std::vector<std::string>{"SaveConfig", "UpdateLists"}));
  EXPECT_EQ(host.settings().value("prevent_switch"), "0");
}

TEST(SetupForm, SetPasswordMessagesAndFields) {
  struct Case {
    const char *current, *new1, *new2;
    const char* message;
    const char* stored;  // nullptr: no password line
    bool fields_emptied;
  };
  const Case cases[] = {
      {"wrong", "a", "a", kCurrentPasswordIncorrect, "marigold", false},
      {"marigold", "a", "b", kNewPasswordsDiffer, "marigold", true},
      {"marigold", "Rose", "Rose", kPasswordChanged, "Rose", false},
      {"marigold", "", "", kPasswordChanged, nullptr, false},
  };
  for (const auto& c : cases) {
    auto host = factory_host();
    SetupForm form(nullptr, host);
    SetupFormTestAccess parts(form);
    form.show();
    test::pump();
    parts.current_password().set_text(c.current);
    parts.new_password().set_text(c.new1);
    parts.new_password_again().set_text(c.new2);
    MessageCatcher messages;
    parts.on_set_password_clicked();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message}) << c.current;
    EXPECT_EQ(host.settings().has("password"), c.stored != nullptr);
    if (c.stored) {
      EXPECT_EQ(host.settings().value("password"), c.stored);
    }
    EXPECT_EQ(parts.new_password().get_text().empty(), c.fields_emptied || !*c.new1);
    if (c.fields_emptied) {
      EXPECT_TRUE(parts.new_password_again().get_text().empty());
      EXPECT_EQ(form.get_focus(), &parts.new_password());
    }
  }
}

TEST(SetupForm, CurrentPasswordIsComparedAsTyped) {
  // Another field shows a Latin-1 value as the very text of the password.
  auto host = factory_host();
  host.settings().set_value("password", "caf\xC3\xA9");
  host.settings().set_value("email_url", "caf\xE9");
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  ASSERT_EQ(parts.entry("email_url").get_text(), "caf\xC3\xA9");
  parts.current_password().set_text("caf\xC3\xA9");
  parts.new_password().set_text("Rose");
  parts.new_password_again().set_text("Rose");
  MessageCatcher messages;
  parts.on_set_password_clicked();
  EXPECT_EQ(messages.texts(), std::vector<std::string>{kPasswordChanged});
  EXPECT_EQ(host.settings().value("password"), "Rose");
}

TEST(SetupForm, GridTabMovesBetweenCellsAndGrows) {
  auto host = factory_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  parts.tabs().set_current_page(3);
  test::pump();
  auto& grid = parts.moresites_grid();
  grid.edit_cell(2, 0);
  test::pump();
  EXPECT_EQ(grid.row_count(), 4);
  // Type into the cell, Tab to the URL cell, type, Tab into the last row.
  auto type_and_tab = [&](const char* text) {
    auto* entry = dynamic_cast<Gtk::Entry*>(form.get_focus());
    ASSERT_NE(entry, nullptr);
    entry->set_text(text);
    GdkEvent* key = gdk_event_new(GDK_KEY_PRESS);
    key->key.window = GDK_WINDOW(g_object_ref(form.get_window()->gobj()));
    key->key.keyval = GDK_KEY_Tab;
    key->key.send_event = TRUE;
    gdk_event_set_device(
        key, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_widget_event(GTK_WIDGET(entry->gobj()), key);
    gdk_event_free(key);
    test::pump();
  };
  type_and_tab("Zoo");
  type_and_tab("http://zoo.test/");
  EXPECT_EQ(grid.row_count(), 5);  // entering row 3, the last, added one
  type_and_tab("Farm");
  type_and_tab("http://farm.test/");
  EXPECT_EQ(grid.row_count(), 6);
  const auto rows = grid.rows();
  EXPECT_EQ(rows[2], (MoreSitesRow{"Zoo", "http://zoo.test/"}));
  EXPECT_EQ(rows[3], (MoreSitesRow{"Farm", "http://farm.test/"}));
  test::screenshot("setup_grid_editing");
  // An edit in progress is kept by Apply.
  auto* entry = dynamic_cast<Gtk::Entry*>(form.get_focus());
  ASSERT_NE(entry, nullptr);
  entry->set_text("Pond");
  grid.edit_cell(4, 1);
  test::pump();
  MessageCatcher messages;
  parts.on_apply_clicked();
  EXPECT_EQ(host.settings().value("num_moresites"), "2");
  EXPECT_EQ(grid.rows()[4].description, "Pond");
}

// Long URLs and domains do not push the count column out of sight: it
// stays whole inside the visible part of the list.
TEST(SetupForm, RefusedSitesKeepTheirCountColumnInView) {
  auto host = factory_host();
  const std::string long_host = "www." + std::string(80, 'g') + ".test";
  host.log.append("http://" + long_host + "/" + std::string(200, 'p'));
  host.log.append("http://" + long_host + "/" + std::string(200, 'p'));
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  parts.tabs().set_current_page(6);
  test::pump();
  auto& view = RefusedSitesPageTestAccess(parts.refused_sites()).view();
  Gtk::TreeViewColumn* count = view.get_column(2);
  ASSERT_NE(count, nullptr);
  ASSERT_TRUE(test::pump_until([&] { return count->get_width() > 0; }));
  Gdk::Rectangle visible;
  view.get_visible_rect(visible);
  EXPECT_LE(count->get_x_offset() + count->get_width(), visible.get_x() + visible.get_width());
  EXPECT_GE(count->get_x_offset(), visible.get_x());
  int title_width = 0;
  int title_height = 0;
  view.create_pango_layout(count->get_title())->get_pixel_size(title_width, title_height);
  EXPECT_GE(count->get_width(), title_width);
  test::screenshot("setup_refused_long");
}

TEST(SetupForm, RefusedSitesAddToMoreSites) {
  auto host = factory_host();
  host.log.append("http://www.games.test/play");
  host.log.append("http://ads.test/banner");
  host.log.append("http://www.games.test/play");
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  parts.tabs().set_current_page(6);
  test::pump();
  auto& page = parts.refused_sites();
  RefusedSitesPageTestAccess page_parts(page);
  ASSERT_EQ(page.sites().size(), 2u);
  EXPECT_EQ(page.sites()[0].url, "http://www.games.test/play");
  EXPECT_EQ(page.sites()[0].domain, "GAMES.TEST");
  EXPECT_EQ(page.sites()[0].count, 2);
  EXPECT_EQ(page.sites()[1].url, "http://ads.test/banner");
  EXPECT_FALSE(page_parts.add_button().get_sensitive());
  page.select(0);
  test::pump();
  EXPECT_TRUE(page_parts.add_button().get_sensitive());
  test::screenshot("setup_refused_selected");
  page_parts.add_button().clicked();
  EXPECT_EQ(parts.moresites_grid().rows()[0],
            (MoreSitesRow{"games.test", "http://www.games.test/play"}));
  MessageCatcher messages;
  parts.on_apply_clicked();
  EXPECT_EQ(host.settings().value("num_moresites"), "1");
  EXPECT_EQ(host.settings().value("ms_desc-0"), "games.test");
  EXPECT_EQ(host.settings().value("ms_url-0"), "http://www.games.test/play");
}

TEST(SetupForm, TheAdministratorsLocksGreyAddToMoreSitesAndTellWhoSetsThePassword) {
  const struct {
    const char* name;
    TextList locked;
    bool add_offered;
    const char* note;
    bool own_files;  // the password is in the user's files, and the way out is told
  } cases[] = {
      {"no locks", {}, true, kFactoryPasswordNote, true},
      {"More Sites locked", {"ms_url-0=http://school.test/"}, false, kFactoryPasswordNote, true},
      {"a password hash", {"password_hash=$y$x"}, true, kAdministratorPasswordNote, false},
      {"an empty password hash", {"password_hash="}, true, kFactoryPasswordNote, true},
      {"the password locked", {"password=school"}, true, kAdministratorPasswordNote, false},
  };
  for (const auto& c : cases) {
    auto host = factory_host();
    host.log.append("http://www.games.test/play");
    host.settings().set_locked(c.locked);
    SetupForm form(nullptr, host);
    SetupFormTestAccess parts(form);
    form.show();
    test::pump();
    EXPECT_EQ(parts.password_note().get_text(), c.note) << c.name;
    EXPECT_EQ(parts.password_note().get_text().find("marigold") == Glib::ustring::npos,
              c.note == kAdministratorPasswordNote)
        << c.name;
    EXPECT_EQ(parts.own_files_password_note().get_visible(), c.own_files) << c.name;
    EXPECT_EQ(parts.own_files_password_note().get_text(), kOwnFilesPasswordNote) << c.name;
    if (c.locked.empty()) {
      parts.tabs().set_current_page(1);
      test::screenshot("setup_password_own_files");
    }
    auto& page = parts.refused_sites();
    RefusedSitesPageTestAccess page_parts(page);
    page.select(0);
    test::pump();
    EXPECT_EQ(page_parts.add_button().get_sensitive(), c.add_offered) << c.name;
    EXPECT_EQ(page_parts.add_button().get_tooltip_text(), c.add_offered ? "" : kSetByAdministrator)
        << c.name;
    // Even a press that reached the button adds nothing under the lock.
    page_parts.add_button().clicked();
    const auto rows = parts.moresites_grid().rows();
    const bool added = std::any_of(rows.begin(), rows.end(), [](const MoreSitesRow& row) {
      return row.url == "http://www.games.test/play";
    });
    EXPECT_EQ(added, c.add_offered) << c.name;
  }
}

// Puts the supplied setup help page into a test's program folder; a page
// that fails to load in the Browser tab writes the error page there, not
// into the sources.
void copy_setup_help(const testing::TempDir& program) {
  std::ifstream help(std::string(TOVALI_DATA_DIR) + "/setuphelp/setuphelp.html", std::ios::binary);
  program.write("setuphelp/setuphelp.html", std::string(std::istreambuf_iterator<char>(help),
                                                        std::istreambuf_iterator<char>()));
}

TEST(SetupForm, HelpAndFeedbackShowTheBrowserTab) {
  auto host = factory_host();
  const testing::TempDir program;
  copy_setup_help(program);
  host.program_dir = program.path();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  EXPECT_FALSE(parts.browser_page().get_visible());
  parts.on_help_clicked();
  test::pump();
  EXPECT_TRUE(parts.browser_page().get_visible());
  EXPECT_EQ(parts.tabs().get_tab_label_text(parts.browser_page()), "Help");
  EXPECT_EQ(parts.tabs().get_current_page(), 5);
  EXPECT_EQ(visible_tab_labels(parts.tabs()),
            (std::vector<std::string>{"General", "Password", "Buttons", "Site Access", "Downloads",
                                      "Help", "Refused Sites", "Time", "Menu", "Activity"}));
  EXPECT_FALSE(parts.label_panel().get_visible());
  int w = 0, h = 0;
  form.get_size(w, h);
  EXPECT_EQ(w, SetupForm::kWidth);
  EXPECT_EQ(h, SetupForm::kHeight);
  ASSERT_NE(parts.browser_view(), nullptr);
  EXPECT_TRUE(test::pump_until([&] {
    const std::string url = parts.browser_view()->location_url();
    return url.size() > 15 && url.substr(url.size() - 15) == "/setuphelp.html" &&
           !parts.browser_view()->Busy();
  }));
  test::screenshot("setup_help");

  parts.on_feedback_clicked();
  test::pump();
  EXPECT_EQ(parts.tabs().get_tab_label_text(parts.browser_page()), "Feedback Browser");
  EXPECT_TRUE(parts.label_panel().get_visible());
  EXPECT_EQ(parts.feedback_label().get_text(),
            std::string("Below is a web browser window which will navigate to the Morvek Tovali "
                        "Explorer feedback web page. You can also use your normal web browser to "
                        "go to the feedback page at ") +
                kFeedbackURL + "\n\n");
  EXPECT_EQ(std::string(kFeedbackURL).substr(std::string(kFeedbackURL).size() - 16),
            "/tovali/feedback");
  parts.browser_view()->Stop();
}

// A page of the Browser tab that cannot be loaded gives way to the local
// error page (here the help page, missing from the program folder), written
// into the state folder: the program folder may be read-only.
TEST(SetupForm, BrowserTabShowsTheErrorPageWhenAPageFails) {
  testing::TempDir program;
  testing::TempDir state;
  auto host = factory_host();
  host.program_dir = program.path();
  host.state_folder = state.path();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  parts.on_help_clicked();
  ASSERT_TRUE(test::pump_until([&] {
    const std::string url = parts.browser_view()->location_url();
    return url.size() > 11 && url.substr(url.size() - 11) == "/error.html" &&
           !parts.browser_view()->Busy();
  })) << parts.browser_view()->location_url();
  EXPECT_EQ(state.read("error.html"), error_page_text());
  EXPECT_FALSE(std::filesystem::exists(program.path() + "error.html"));
  EXPECT_EQ(parts.tabs().get_tab_label_text(parts.browser_page()), "Help");
  test::screenshot("setup_error_page");
}

TEST(SetupForm, PagesInTheBrowserTabOpenNoNewWindow) {
  auto host = factory_host();
  const testing::TempDir program;
  copy_setup_help(program);
  host.program_dir = program.path();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  parts.on_help_clicked();
  ASSERT_TRUE(test::pump_until([&] {
    return !parts.browser_view()->Busy() && !parts.browser_view()->location_url().empty();
  }));
  const auto windows_before = Gtk::Window::list_toplevels().size();
  // A page asks for two new windows, then marks that it has asked.
  parts.browser_view()->run_script(
      "window.open('about:blank'); var a = document.createElement('a');"
      "a.href = 'about:blank'; a.target = '_blank'; document.body.appendChild(a); a.click();"
      "document.title = 'asked';");
  ASSERT_TRUE(test::pump_until([&] { return parts.browser_view()->LocationName() == "asked"; }));
  test::pump();
  EXPECT_EQ(Gtk::Window::list_toplevels().size(), windows_before);
}

TEST(SetupForm, TextsInAnotherEncodingSurviveAnApply) {
  auto host = factory_host();
  host.settings().set_value("email_url", "http://mail.test/caf\xE9");
  host.settings().set_value("num_cust_prohibited_urls", "1");
  host.settings().set_value("cust_pu-0", "http://x.test/\xFC");
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  EXPECT_EQ(parts.entry("email_url").get_text(), "http://mail.test/caf\xC3\xA9");
  MessageCatcher messages;
  parts.on_apply_clicked();
  EXPECT_EQ(host.settings().value("email_url"), "http://mail.test/caf\xE9");
  EXPECT_EQ(host.settings().value("cust_pu-0"), "http://x.test/\xFC");
}

}  // namespace
}  // namespace tovali

namespace tovali {
namespace {

// Three menu entries A, B and C, "local_menu" on.
FakeSetupHost menu_host() {
  auto host = factory_host();
  host.settings().set_value("local_menu", "1");
  host.settings().set_value("num_menu_sites", "3");
  for (const char* letter : {"A", "B", "C"}) {
    const std::string n = std::to_string(letter[0] - 'A');
    host.settings().set_value("mt-" + n, std::string("Site ") + letter);
    host.settings().set_value("mu-" + n, std::string("http://") + letter + ".test/");
    host.settings().set_value("md-" + n, std::string("cdn") + letter + ".test");
  }
  return host;
}

// The letters of the entries "Site A", "Site B", ..., "-" for an untitled one.
std::string titles_of(const std::vector<MenuSiteRow>& rows) {
  std::string out;
  for (const MenuSiteRow& row : rows) out += row.title.empty() ? "-" : row.title.substr(5);
  return out;
}

TEST(SetupMenuPage, ShowsTheStoredMenuAndTheChosenEntry) {
  auto host = menu_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  SetupMenuPageTestAccess menu(parts.menu_page());
  EXPECT_EQ(menu.local_menu().get_label(), SetupMenuPage::kSwitchCaption);
  EXPECT_TRUE(menu.local_menu().get_active());
  EXPECT_EQ(titles_of(parts.menu_page().rows()), "ABC");
  EXPECT_EQ(menu.list().get_column(0)->get_title(), "Title");
  EXPECT_EQ(menu.list().get_column(1)->get_title(), "Address");
  EXPECT_EQ(menu.list().get_column(2)->get_title(), "Other domains");
  EXPECT_EQ(menu.chosen_row(), 0);
  EXPECT_EQ(menu.title().get_text(), "Site A");
  EXPECT_EQ(menu.url().get_text(), "http://A.test/");
  EXPECT_EQ(menu.domains().get_text(), "cdnA.test");
  menu.choose(2);
  test::pump();
  EXPECT_EQ(menu.title().get_text(), "Site C");
  EXPECT_EQ(menu.add().get_label(), "Add");
  EXPECT_EQ(menu.remove().get_label(), "Remove");
  EXPECT_EQ(menu.move_up().get_label(), "Move Up");
  EXPECT_EQ(menu.move_down().get_label(), "Move Down");
  parts.tabs().set_current_page(parts.tabs().page_num(parts.menu_page()));
  test::screenshot("setup_menu");
}

TEST(SetupMenuPage, ButtonsReorderAddAndRemoveEntries) {
  struct Case {
    int chosen;
    const char* button;
    const char* titles;  // "-" for an entry without a title
    int chosen_after;
  };
  const Case cases[] = {
      {1, "Move Up", "BAC", 0},   {1, "Move Down", "ACB", 2}, {0, "Move Up", "ABC", 0},
      {2, "Move Down", "ABC", 2}, {2, "Remove", "AB", 1},     {0, "Remove", "BC", 0},
      {1, "Add", "ABC-", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " on " + std::to_string(c.chosen));
    auto host = menu_host();
    SetupForm form(nullptr, host);
    SetupFormTestAccess parts(form);
    form.show();
    test::pump();
    SetupMenuPageTestAccess menu(parts.menu_page());
    menu.choose(c.chosen);
    test::pump();
    Gtk::Button& button = std::string(c.button) == "Move Up"     ? menu.move_up()
                          : std::string(c.button) == "Move Down" ? menu.move_down()
                          : std::string(c.button) == "Remove"    ? menu.remove()
                                                                 : menu.add();
    // An edge row's move is greyed; pressing it changes nothing.
    const bool moves = std::string(c.titles) != "ABC";
    EXPECT_EQ(button.get_sensitive(), moves);
    button.clicked();
    test::pump();
    EXPECT_EQ(titles_of(parts.menu_page().rows()), c.titles);
    EXPECT_EQ(menu.chosen_row(), c.chosen_after);
  }
}

TEST(SetupMenuPage, EditedEntriesAreStoredInOrderWithoutEmptyAddresses) {
  auto host = menu_host();
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  SetupMenuPageTestAccess menu(parts.menu_page());
  menu.choose(1);
  test::pump();
  menu.title().set_text("Zoo & Friends");
  menu.url().set_text("http://zoo.test/a?b=1");
  menu.domains().set_text("zoo-cdn.test  pics.test");
  menu.add().clicked();  // an entry left without an address is dropped
  test::pump();
  menu.title().set_text("Unfinished");
  menu.choose(2);
  test::pump();
  menu.move_up().clicked();
  menu.local_menu().set_active(false);
  parts.on_apply_clicked();
  test::pump();
  const Settings saved(host.saved_lines);
  EXPECT_EQ(saved.value("local_menu"), "0");
  EXPECT_EQ(saved.value("num_menu_sites"), "3");
  EXPECT_EQ(saved.list("num_menu_sites", "mt-"), (TextList{"Site A", "Site C", "Zoo & Friends"}));
  EXPECT_EQ(saved.list("num_menu_sites", "mu-"),
            (TextList{"http://A.test/", "http://C.test/", "http://zoo.test/a?b=1"}));
  EXPECT_EQ(saved.list("num_menu_sites", "md-"),
            (TextList{"cdnA.test", "cdnC.test", "zoo-cdn.test  pics.test"}));
}

TEST(SetupMenuPage, AdministratorsMenuCannotBeChanged) {
  auto host = menu_host();
  host.settings().set_locked(
      {"num_menu_sites=1", "mt-0=Locked", "mu-0=http://locked.test/", "local_menu=1"});
  SetupForm form(nullptr, host);
  SetupFormTestAccess parts(form);
  form.show();
  test::pump();
  SetupMenuPageTestAccess menu(parts.menu_page());
  ASSERT_EQ(parts.menu_page().rows().size(), 1u);
  EXPECT_EQ(parts.menu_page().rows()[0].title, "Locked");
  EXPECT_EQ(menu.url().get_text(), "http://locked.test/");
  for (Gtk::Widget* control : std::initializer_list<Gtk::Widget*>{
           &menu.local_menu(), &menu.title(), &menu.url(), &menu.domains(), &menu.add(),
           &menu.remove(), &menu.move_up(), &menu.move_down()}) {
    EXPECT_FALSE(control->get_sensitive()) << control->get_name();
    EXPECT_EQ(control->get_tooltip_text(), kSetByAdministrator) << control->get_name();
  }
  parts.on_apply_clicked();
  test::pump();
  const Settings saved(host.saved_lines);
  EXPECT_EQ(saved.value("num_menu_sites"), "3");  // the user's lines stay as they were
  EXPECT_EQ(saved.value("mt-1"), "Site B");
}

}  // namespace
}  // namespace tovali
