// Text widgets of the program open no context menu (or emoji chooser) from
// the keyboard once block_widget_menus has run.
#include "ui/widgets/WidgetMenus.h"

#include <gtest/gtest.h>
#include <gtkmm/box.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/textview.h>
#include <gtkmm/window.h>

#include "GtkFixture.h"

namespace tovali {
namespace {

int visible_toplevels() {
  int n = 0;
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) n += window->get_visible() ? 1 : 0;
  return n;
}

TEST(WidgetMenus, KeyboardOpensNoMenuInAnyTextWidget) {
  block_widget_menus();
  Gtk::Window window;
  Gtk::Box box(Gtk::ORIENTATION_VERTICAL);
  Gtk::Entry entry;
  Gtk::Entry password;
  password.set_visibility(false);
  Gtk::TextView memo;
  Gtk::Label label("selectable");
  label.set_selectable(true);
  for (Gtk::Widget* w : std::initializer_list<Gtk::Widget*>{&entry, &password, &memo, &label})
    box.pack_start(*w);
  window.add(box);
  window.show_all();
  test::pump();
  const int shown = visible_toplevels();
  for (Gtk::Widget* w : std::initializer_list<Gtk::Widget*>{&entry, &password, &memo, &label}) {
    w->grab_focus();
    gboolean handled = FALSE;
    // What Shift+F10 and the Menu key do: the widget's "popup-menu" signal.
    g_signal_emit_by_name(w->gobj(), "popup-menu", &handled);
    if (GTK_IS_ENTRY(w->gobj()) || GTK_IS_TEXT_VIEW(w->gobj()))
      g_signal_emit_by_name(w->gobj(), "insert-emoji");
    test::pump();
    EXPECT_TRUE(handled);
    EXPECT_EQ(visible_toplevels(), shown);
  }
}

}  // namespace
}  // namespace tovali
