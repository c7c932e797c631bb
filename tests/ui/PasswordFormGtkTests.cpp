#include <gtest/gtest.h>

#include "GtkFixture.h"
#include "ui/PasswordForm.h"

namespace tovali {
namespace {

using test::find_window;
using test::Script;

Settings with_password(const char* password) {
  Settings s;
  if (password) s.set_value("password", password);
  return s;
}

TEST(PasswordForm, LooksAsDesigned) {
  PasswordForm form(nullptr);
  form.show();
  test::pump();
  EXPECT_EQ(form.get_title(), "Enter Password");
  EXPECT_FALSE(form.get_deletable());
  int w = 0, h = 0;
  form.get_size(w, h);
  EXPECT_EQ(w, 149);
  EXPECT_EQ(h, 186);
  EXPECT_FALSE(form.PasswordEdit().get_visibility());
  EXPECT_EQ(form.PasswordEdit().get_invisible_char(), static_cast<gunichar>('*'));
  EXPECT_FALSE(form.WrongPassword().get_visible());
  EXPECT_EQ(form.WrongPassword().get_text(), "Wrong Password");
  EXPECT_EQ(form.OkButton().get_label(), "OK");
  EXPECT_EQ(form.CancelButton().get_label(), "Cancel");
  EXPECT_TRUE(form.OkButton().has_default());
  test::screenshot("password_form");
}

TEST(PasswordForm, WrongThenRightWithEnter) {
  const Settings settings = with_password("marigold");
  bool wrong_seen = false;
  Script script({
      [] {
        auto* form = find_window<PasswordForm>();
        if (!form) return false;
        form->PasswordEdit().set_text("Marigold");  // differs in case only
        form->OkButton().clicked();
        return true;
      },
      [&] {
        auto* form = find_window<PasswordForm>();
        if (!form || !form->WrongPassword().get_visible()) return false;
        wrong_seen = form->PasswordEdit().get_text().empty() && form->PasswordEdit().has_focus();
        test::screenshot("password_form_wrong");
        form->PasswordEdit().set_text("marigold");
        form->PasswordEdit().activate();  // Enter presses the default button
        return true;
      },
  });
  EXPECT_TRUE(GetPassword(nullptr, settings));
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(wrong_seen);
}

TEST(PasswordForm, CancelGivesFalseAfterAnyNumberOfAttempts) {
  const Settings settings = with_password("marigold");
  int attempts = 0;
  std::vector<std::function<bool()>> steps;
  for (int i = 0; i < 3; ++i) {
    steps.push_back([&attempts, i] {
      auto* form = find_window<PasswordForm>();
      if (!form || (i > 0 && !form->PasswordEdit().get_text().empty())) return false;
      if (i > 0 && !form->WrongPassword().get_visible()) return false;
      form->PasswordEdit().set_text("wrong");
      form->OkButton().clicked();
      ++attempts;
      return true;
    });
  }
  steps.push_back([] {
    auto* form = find_window<PasswordForm>();
    if (!form || !form->PasswordEdit().get_text().empty()) return false;
    form->CancelButton().clicked();
    return true;
  });
  Script script(steps);
  EXPECT_FALSE(GetPassword(nullptr, settings));
  EXPECT_EQ(attempts, 3);
}

TEST(PasswordForm, EmptyPasswordAcceptsEmptyEntry) {
  const Settings settings = with_password(nullptr);
  Script script({[] {
    auto* form = find_window<PasswordForm>();
    if (!form) return false;
    form->OkButton().clicked();
    return true;
  }});
  EXPECT_TRUE(GetPassword(nullptr, settings));
}

}  // namespace
}  // namespace tovali
