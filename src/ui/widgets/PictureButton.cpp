#include "ui/widgets/PictureButton.h"

#include <atkmm/object.h>
#include <gdkmm/cursor.h>
#include <gdkmm/window.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

namespace tovali {

namespace {

// Nothing of the theme's button shows around or over the picture, in any
// state; only the focus outline that the keyboard brings.
constexpr const char* kFlatButtonStyle =
    "button { padding: 0; margin: 0; border: none; border-radius: 0; min-width: 0;"
    " min-height: 0; background: none; box-shadow: none; text-shadow: none;"
    " -gtk-icon-effect: none; -gtk-icon-shadow: none; }";

}  // namespace

PictureButton::PictureButton(const std::string& accessible_name, MouseClicks clicks,
                             HandCursor cursor)
    : m_clicks(clicks), m_cursor(cursor) {
  set_relief(Gtk::RELIEF_NONE);
  set_focus_on_click(false);
  auto style = Gtk::CssProvider::create();
  style->load_from_data(kFlatButtonStyle);
  get_style_context()->add_provider(style, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  set_accessible_name(accessible_name);
}

PictureButton::PictureButton(const std::string& accessible_name, pictures::Picture picture,
                             int width, int height, MouseClicks clicks, HandCursor cursor)
    : PictureButton(accessible_name, clicks, cursor) {
  m_image.set(pictures::picture(picture, width, height));
  // Shown here: a button kept out of its window's show_all() (the close
  // picture) shows its picture when it is shown itself.
  m_image.show();
  add(m_image);
}

void PictureButton::set_accessible_name(const std::string& name) {
  get_accessible()->set_name(name);
}

void PictureButton::on_realize() {
  Gtk::Button::on_realize();
  // The button takes the mouse on an input window of its own.
  if (m_cursor == HandCursor::On) {
    if (Glib::RefPtr<Gdk::Window> input = get_event_window())
      input->set_cursor(Gdk::Cursor::create(get_display(), "pointer"));
  }
}

bool PictureButton::on_button_press_event(GdkEventButton* event) {
  if (m_clicks == MouseClicks::Single || event->button != 1)
    return Gtk::Button::on_button_press_event(event);
  // Kept from the button's own click handling, which would press it on the
  // first release; the second press of a double click presses it.
  if (event->type == GDK_2BUTTON_PRESS) clicked();
  return true;
}

}  // namespace tovali
