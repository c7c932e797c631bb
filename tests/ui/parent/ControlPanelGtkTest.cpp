#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "ControlPanelFormTestAccess.h"
#include "FakePanelHost.h"
#include "GtkFixture.h"
#include "ui/parent/ControlPanelForm.h"

namespace tovali {
namespace {

using test::find_window;
using test::Script;

TEST(ControlPanelForm, KeepsItsSizeAndControls) {
  FakePanelHost host;
  ControlPanelForm panel(nullptr, host);
  ControlPanelFormTestAccess parts(panel);
  panel.show();
  test::pump();
  EXPECT_EQ(panel.get_title(), "Tovali Explorer");
  EXPECT_FALSE(panel.get_deletable());
  int w = 0, h = 0;
  panel.get_size(w, h);
  EXPECT_EQ(w, 247);
  EXPECT_EQ(h, 325);
  EXPECT_EQ(parts.close_image().get_allocated_width(), 239);
  EXPECT_EQ(parts.close_image().get_allocated_height(), 100);
  EXPECT_EQ(parts.setup_image().get_allocated_width(), 180);
  EXPECT_EQ(parts.setup_image().get_allocated_height(), 98);
  EXPECT_EQ(parts.ok_image().get_allocated_width(), 239);
  // Top to bottom: close, setup (right-aligned), OK.
  int x = 0, y_close = 0, y_setup = 0, y_ok = 0, x_setup = 0;
  parts.close_image().translate_coordinates(panel, 0, 0, x, y_close);
  parts.setup_image().translate_coordinates(panel, 0, 0, x_setup, y_setup);
  parts.ok_image().translate_coordinates(panel, 0, 0, x, y_ok);
  EXPECT_LT(y_close, y_setup);
  EXPECT_LT(y_setup, y_ok);
  EXPECT_GT(x_setup, 40);
  test::screenshot("control_panel");
}

// The pictures are buttons for the keyboard too; it starts on OK, and its
// Space goes back to browsing.
TEST(ControlPanelForm, TheKeyboardStartsOnOK) {
  FakePanelHost host;
  bool started_on_ok = false;
  bool pictures_focusable = false;
  bool closed_by_space = false;
  int ticks = 0;
  Script script({[&] {
                   auto* panel = find_window<ControlPanelForm>();
                   if (!panel) return false;
                   ControlPanelFormTestAccess parts(*panel);
                   started_on_ok = panel->get_focus() == &parts.ok_image();
                   pictures_focusable =
                       parts.close_image().get_can_focus() && parts.setup_image().get_can_focus();
                   // The window's key binding presses the widget with the focus.
                   gtk_bindings_activate(G_OBJECT(panel->gobj()), GDK_KEY_space,
                                         static_cast<GdkModifierType>(0));
                   return true;
                 },
                 [&] {
                   // Space presses the button a moment later; a panel still
                   // open after five seconds is closed with a click.
                   auto* panel = find_window<ControlPanelForm>();
                   if (!panel) {
                     closed_by_space = true;
                     return true;
                   }
                   if (++ticks < 250) return false;
                   ControlPanelFormTestAccess(*panel).ok_image().clicked();
                   return true;
                 }});
  open_control_panel(nullptr, host);
  test::pump_until([&] { return script.finished(); });
  EXPECT_TRUE(started_on_ok);
  EXPECT_TRUE(pictures_focusable);
  EXPECT_TRUE(closed_by_space);
  EXPECT_TRUE(host.calls.empty());
}

struct PanelCase {
  const char* picture;
  const char* req_pw_config;
  bool answer;
  std::vector<std::string> calls;
  bool panel_closed;
};

TEST(ControlPanelForm, PicturesDoTheirActions) {
  const PanelCase cases[] = {
      {"Close", "1", false, {"CloseProgram"}, true},
      {"OK", "1", false, {}, true},
      {"Setup", "0", false, {"OpenSetup"}, true},
      {"Setup", "1", true, {"GetPassword", "OpenSetup"}, true},
      {"Setup", "1", false, {"GetPassword"}, false},
  };
  for (const auto& c : cases) {
    FakePanelHost host;
    host.m_settings.set_value("req_pw_config", c.req_pw_config);
    host.password_answer = c.answer;
    bool still_open_after_click = false;
    Script script({
        [&] {
          auto* panel = find_window<ControlPanelForm>();
          if (!panel) return false;
          ControlPanelFormTestAccess parts(*panel);
          StarBurstPicture& picture = std::string(c.picture) == "Close"   ? parts.close_image()
                                      : std::string(c.picture) == "Setup" ? parts.setup_image()
                                                                          : parts.ok_image();
          picture.clicked();
          return true;
        },
        [&] {
          // A click that keeps the panel open: close it with OK to end the test.
          auto* panel = find_window<ControlPanelForm>();
          if (!panel) return true;
          still_open_after_click = true;
          ControlPanelFormTestAccess(*panel).ok_image().clicked();
          return true;
        },
    });
    open_control_panel(nullptr, host);
    test::pump_until([&] { return script.finished(); });
    EXPECT_EQ(host.calls, c.calls) << c.picture;
    EXPECT_EQ(!still_open_after_click, c.panel_closed) << c.picture;
  }
}

}  // namespace
}  // namespace tovali
