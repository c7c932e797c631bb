#include "ui/PictureArea.h"

#include <gdkmm/cursor.h>
#include <gdkmm/window.h>

namespace tovali {

PictureArea::PictureArea(Painter painter, int width, int height, HandCursor cursor)
    : m_painter(std::move(painter)), m_cursor(cursor) {
  set_size_request(width, height);
  add_events(Gdk::BUTTON_PRESS_MASK);
}

bool PictureArea::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
  if (m_painter) m_painter(cr, get_allocated_width(), get_allocated_height());
  return true;
}

void PictureArea::on_realize() {
  Gtk::DrawingArea::on_realize();
  if (m_cursor == HandCursor::On && get_window())
    get_window()->set_cursor(Gdk::Cursor::create(get_display(), "pointer"));
}

bool PictureArea::on_button_press_event(GdkEventButton* event) {
  if (event->button != 1) return false;
  if (event->type == GDK_BUTTON_PRESS) m_clicked.emit();
  if (event->type == GDK_2BUTTON_PRESS) m_double_clicked.emit();
  return true;
}

}  // namespace tovali
