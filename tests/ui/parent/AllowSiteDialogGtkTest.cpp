#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "AllowSiteDialogTestAccess.h"
#include "GtkFixture.h"
#include "PasswordFormTestAccess.h"
#include "models/PasswordChange.h"
#include "ui/parent/AllowSiteDialog.h"
#include "ui/parent/PasswordForm.h"

namespace tovali {
namespace {

using test::find_window;
using test::Script;

// After the right password, "Allow this site?" offers "Always" unless the
// administrator locked the "More Sites" list; then the button stays but
// cannot be pressed, and says why.
TEST(AllowSiteDialog, AlwaysIsOfferedUnlessTheAdministratorLockedMoreSites) {
  struct Case {
    const char* locked_line;  // nullptr: nothing locked
    bool offered;
  };
  for (const Case& c : {Case{nullptr, true}, Case{"num_moresites=0", false},
                        Case{"ms_url-3=http://school.test/", false}}) {
    SCOPED_TRACE(c.locked_line ? c.locked_line : "no lock");
    Settings settings;
    settings.set_value("password", "marigold");
    if (c.locked_line) settings.set_locked({c.locked_line});
    Gtk::Window parent;
    parent.show();
    std::optional<bool> sensitive;
    std::string tooltip;
    Script script({
        [] {
          auto* form = find_window<PasswordForm>();
          if (!form) return false;
          PasswordFormTestAccess parts(*form);
          parts.password_edit().set_text("marigold");
          parts.ok_button().clicked();
          return true;
        },
        [&] {
          auto* dialog = find_window<AllowSiteDialog>();
          if (!dialog) return false;
          AllowSiteDialogTestAccess parts(*dialog);
          sensitive = parts.always_button().get_sensitive();
          tooltip = parts.always_button().get_tooltip_text();
          test::screenshot(c.offered ? "allow_site_dialog" : "allow_site_dialog_locked");
          dialog->response(Gtk::RESPONSE_DELETE_EVENT);
          return true;
        },
    });
    const std::optional<AllowSiteChoice> choice =
        ask_grown_up(parent, settings, "http://Zoo.example:8080/lions?x=1");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(choice, AllowSiteChoice::NotNow);  // closing it
    EXPECT_EQ(sensitive, c.offered);
    EXPECT_EQ(tooltip, c.offered ? "" : kSetByAdministrator);
  }
}

// A 6,000-character address (a long user name before the real host) keeps
// the dialog on the screen: the host it opens shows first, the address is
// one line shortened in the middle, and the three buttons lie inside the
// dialog.
TEST(AllowSiteDialog, ALongAddressKeepsTheHostAndTheButtonsOnTheScreen) {
  const std::string url =
      "http://www.kids.example%2Fgames%2F" + std::string(5960, 'a') + "@evil.localhost/";
  ASSERT_GE(url.size(), 6000u);
  Gtk::Window parent;
  parent.show();
  AllowSiteDialog dialog(parent, url, AlwaysOffer::Offered);
  AllowSiteDialogTestAccess parts(dialog);
  dialog.show();
  ASSERT_TRUE(test::pump_until([&] { return dialog.get_mapped(); }));
  test::pump();
  test::screenshot("allow_site_dialog_long_address");

  EXPECT_EQ(parts.host_label().get_text(), "evil.localhost");
  EXPECT_EQ(parts.address_label().get_ellipsize(), Pango::ELLIPSIZE_MIDDLE);
  EXPECT_TRUE(parts.address_label().get_layout()->is_ellipsized());
  const Glib::RefPtr<Gdk::Screen> screen = dialog.get_screen();
  int width = 0;
  int height = 0;
  dialog.get_size(width, height);
  EXPECT_LE(width, screen->get_width());
  EXPECT_LE(height, screen->get_height());
  EXPECT_LE(height, 400);  // a fixed size, not one that grows with the address
  int x = 0;
  int y = 0;
  dialog.get_position(x, y);
  EXPECT_GE(x, 0);
  EXPECT_GE(y, 0);
  EXPECT_LE(x + width, screen->get_width());
  EXPECT_LE(y + height, screen->get_height());

  // The host label sits above the address, and every button inside the
  // dialog, shown.
  int host_y = 0;
  int address_y = 0;
  int ignored = 0;
  ASSERT_TRUE(parts.host_label().translate_coordinates(dialog, 0, 0, ignored, host_y));
  ASSERT_TRUE(parts.address_label().translate_coordinates(dialog, 0, 0, ignored, address_y));
  EXPECT_LT(host_y, address_y);
  for (Gtk::Button* button :
       {&parts.once_button(), &parts.always_button(), &parts.not_now_button()}) {
    SCOPED_TRACE(button->get_label());
    EXPECT_TRUE(button->get_mapped());
    int left = 0;
    int top = 0;
    ASSERT_TRUE(button->translate_coordinates(dialog, 0, 0, left, top));
    const Gtk::Allocation size = button->get_allocation();
    EXPECT_GE(left, 0);
    EXPECT_GE(top, 0);
    EXPECT_GT(size.get_width(), 10);
    EXPECT_GT(size.get_height(), 10);
    EXPECT_LE(left + size.get_width(), width);
    EXPECT_LE(top + size.get_height(), height);
  }
}

}  // namespace
}  // namespace tovali
