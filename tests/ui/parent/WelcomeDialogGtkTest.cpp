#include <gtest/gtest.h>

#include <string>

#include "FakeSetupHost.h"
#include "GtkFixture.h"
#include "WelcomeDialogTestAccess.h"
#include "models/PasswordChange.h"
#include "ui/parent/WelcomeDialog.h"

namespace tovali {
namespace {

using test::FakeSetupHost;
using test::find_window;
using test::Script;

Settings fresh_settings() {
  return Settings({"password=marigold", "req_pw_close=0", "req_pw_config=0", "download_config=1",
                   "welcome_done=0"});
}

// A short password is refused inside the dialog; a good one with "Sites I
// choose here" writes the answers and ends it as Done.
TEST(WelcomeDialog, RefusesThenWritesTheAnswers) {
  FakeSetupHost host;
  host.m_settings = fresh_settings();
  Gtk::Window parent;
  parent.show();
  std::string refusal;
  bool both_ticked = false;
  Script script({
      [&] {
        auto* dialog = find_window<WelcomeDialog>();
        if (!dialog || !dialog->get_mapped()) return false;
        WelcomeDialogTestAccess parts(*dialog);
        both_ticked = parts.ask_to_close().get_active() && parts.ask_for_setup().get_active();
        test::screenshot("welcome_dialog");
        parts.new_password().set_text("abc");
        parts.password_again().set_text("abc");
        parts.done_button().clicked();
        return true;
      },
      [&] {
        auto* dialog = find_window<WelcomeDialog>();
        if (!dialog) return false;
        WelcomeDialogTestAccess parts(*dialog);
        if (!parts.message().get_visible()) return false;
        refusal = parts.message().get_text();
        parts.new_password().set_text("tulip");
        parts.password_again().set_text("tulip");
        parts.daily_minutes().set_text("30");
        parts.done_button().clicked();
        return true;
      },
  });
  WelcomeDialog dialog(parent, host);
  EXPECT_EQ(dialog.run_modal(), WelcomeResult::Done);
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(both_ticked);
  EXPECT_EQ(refusal, kWelcomePasswordTooShort);
  const Settings saved(host.saved_lines);
  EXPECT_EQ(saved.value("password"), "tulip");
  EXPECT_EQ(saved.value("req_pw_close"), "1");
  EXPECT_EQ(saved.value("req_pw_config"), "1");
  EXPECT_EQ(saved.value("local_menu"), "1");
  EXPECT_EQ(saved.value("download_config"), "0");
  EXPECT_EQ(saved.value("daily_minutes"), "30");
  EXPECT_EQ(saved.value("welcome_done"), "1");
}

// Typing the home site's address chooses "The menu of a home site": "Done"
// answers with the home site, whose configuration the program then fetches.
TEST(WelcomeDialog, TypingAnAddressChoosesTheHomeSite) {
  FakeSetupHost host;
  host.m_settings = fresh_settings();
  Gtk::Window parent;
  parent.show();
  bool own_sites_first = false;
  Script script({
      [&] {
        auto* dialog = find_window<WelcomeDialog>();
        if (!dialog || !dialog->get_mapped()) return false;
        WelcomeDialogTestAccess parts(*dialog);
        own_sites_first = parts.own_sites().get_active();
        parts.new_password().set_text("tulip");
        parts.password_again().set_text("tulip");
        parts.home_address().set_text("http://home.example");
        parts.done_button().clicked();
        return true;
      },
  });
  WelcomeDialog dialog(parent, host);
  EXPECT_EQ(dialog.run_modal(), WelcomeResult::HomeSiteChosen);
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(own_sites_first);
  const Settings saved(host.saved_lines);
  EXPECT_EQ(saved.value("local_menu"), "0");
  EXPECT_EQ(saved.value("download_config"), "1");
  EXPECT_EQ(saved.value("site-0"), "http://home.example");
}

// "Later" writes nothing.
TEST(WelcomeDialog, LaterChangesNothing) {
  FakeSetupHost host;
  host.m_settings = fresh_settings();
  Gtk::Window parent;
  parent.show();
  Script script({[&] {
    auto* dialog = find_window<WelcomeDialog>();
    if (!dialog || !dialog->get_mapped()) return false;
    WelcomeDialogTestAccess parts(*dialog);
    // The password goes into the account's own files: the welcome says so.
    EXPECT_TRUE(parts.own_files_note().get_visible());
    EXPECT_EQ(parts.own_files_note().get_text(), kOwnFilesPasswordNote);
    parts.new_password().set_text("tulip");
    parts.password_again().set_text("tulip");
    parts.later_button().clicked();
    return true;
  }});
  WelcomeDialog dialog(parent, host);
  EXPECT_EQ(dialog.run_modal(), WelcomeResult::Later);
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(host.m_settings.lines(), fresh_settings().lines());
}

// The administrator's keys are greyed with the reason; the password part
// is not shown at all under the administrator's password hash.
TEST(WelcomeDialog, TheAdministratorsKeysAreGreyed) {
  FakeSetupHost host;
  host.m_settings = fresh_settings();
  host.m_settings.set_locked({"password_hash=$6$x$y", "req_pw_close=1", "num-sites=1"});
  Gtk::Window parent;
  parent.show();
  WelcomeDialog dialog(parent, host);
  WelcomeDialogTestAccess parts(dialog);
  EXPECT_FALSE(parts.new_password().get_visible());
  EXPECT_FALSE(parts.password_again().get_visible());
  EXPECT_FALSE(parts.own_files_note().get_visible());
  EXPECT_FALSE(parts.ask_to_close().get_sensitive());
  EXPECT_TRUE(parts.ask_to_close().get_active());
  EXPECT_EQ(parts.ask_to_close().get_tooltip_text(), kSetByAdministrator);
  EXPECT_TRUE(parts.ask_for_setup().get_sensitive());
  for (Gtk::Widget* widget : {static_cast<Gtk::Widget*>(&parts.own_sites()),
                              static_cast<Gtk::Widget*>(&parts.home_site())}) {
    EXPECT_FALSE(widget->get_sensitive());
    EXPECT_EQ(widget->get_tooltip_text(), kSetByAdministrator);
  }
  EXPECT_TRUE(parts.daily_minutes().get_sensitive());
}

}  // namespace
}  // namespace tovali
