#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "GtkFixture.h"
#include "models/PasswordChange.h"
#include "ui/AllowSiteDialog.h"
#include "ui/PasswordForm.h"

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
          form->PasswordEdit().set_text("marigold");
          form->OkButton().clicked();
          return true;
        },
        [&] {
          auto* dialog = find_window<AllowSiteDialog>();
          if (!dialog) return false;
          sensitive = dialog->always_button().get_sensitive();
          tooltip = dialog->always_button().get_tooltip_text();
          test::screenshot(c.offered ? "allow_site_dialog" : "allow_site_dialog_locked");
          dialog->response(Gtk::RESPONSE_DELETE_EVENT);
          return true;
        },
    });
    const std::optional<AllowSiteChoice> choice =
        AskGrownUp(parent, settings, "http://Zoo.example:8080/lions?x=1");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(choice, AllowSiteChoice::NotNow);  // closing it
    EXPECT_EQ(sensitive, c.offered);
    EXPECT_EQ(tooltip, c.offered ? "" : kSetByAdministrator);
  }
}

}  // namespace
}  // namespace tovali
