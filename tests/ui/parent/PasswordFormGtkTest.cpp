#include <gtest/gtest.h>

#include "GtkFixture.h"
#include "PasswordFormTestAccess.h"
#include "ui/parent/PasswordForm.h"

namespace tovali {
namespace {

using test::find_window;
using test::Script;

Settings with_password(const char* password) {
  Settings s;
  if (password) s.set_value("password", password);
  return s;
}

TEST(PasswordForm, KeepsItsSizeAndControls) {
  PasswordForm form(nullptr);
  PasswordFormTestAccess parts(form);
  form.show();
  test::pump();
  EXPECT_EQ(form.get_title(), "Enter Password");
  EXPECT_FALSE(form.get_deletable());
  int w = 0, h = 0;
  form.get_size(w, h);
  EXPECT_EQ(w, 149);
  EXPECT_EQ(h, 186);
  EXPECT_FALSE(parts.password_edit().get_visibility());
  EXPECT_EQ(parts.password_edit().get_invisible_char(), static_cast<gunichar>('*'));
  EXPECT_FALSE(parts.wrong_password().get_visible());
  EXPECT_EQ(parts.wrong_password().get_text(), "Wrong Password");
  EXPECT_EQ(parts.ok_button().get_label(), "OK");
  EXPECT_EQ(parts.cancel_button().get_label(), "Cancel");
  EXPECT_TRUE(parts.ok_button().has_default());
  test::screenshot("password_form");
}

TEST(PasswordForm, WrongThenRightWithEnter) {
  const Settings settings = with_password("marigold");
  bool wrong_seen = false;
  Script script({
      [] {
        auto* form = find_window<PasswordForm>();
        if (!form) return false;
        PasswordFormTestAccess parts(*form);
        parts.password_edit().set_text("Marigold");  // differs in case only
        parts.ok_button().clicked();
        return true;
      },
      [&] {
        auto* form = find_window<PasswordForm>();
        if (!form) return false;
        PasswordFormTestAccess parts(*form);
        if (!parts.wrong_password().get_visible()) return false;
        wrong_seen = parts.password_edit().get_text().empty() && parts.password_edit().has_focus();
        test::screenshot("password_form_wrong");
        parts.password_edit().set_text("marigold");
        parts.password_edit().activate();  // Enter presses the default button
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
      if (!form) return false;
      PasswordFormTestAccess parts(*form);
      if (i > 0 && !parts.password_edit().get_text().empty()) return false;
      if (i > 0 && !parts.wrong_password().get_visible()) return false;
      parts.password_edit().set_text("wrong");
      parts.ok_button().clicked();
      ++attempts;
      return true;
    });
  }
  steps.push_back([] {
    auto* form = find_window<PasswordForm>();
    if (!form) return false;
    PasswordFormTestAccess parts(*form);
    if (!parts.password_edit().get_text().empty()) return false;
    parts.cancel_button().clicked();
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
    PasswordFormTestAccess parts(*form);
    parts.ok_button().clicked();
    return true;
  }});
  EXPECT_TRUE(GetPassword(nullptr, settings));
}

}  // namespace
}  // namespace tovali
