#include "ui/StarBurstPicture.h"

#include <cmath>

#include <gdkmm/cursor.h>
#include <gdkmm/window.h>
#include <pangomm/layout.h>

namespace tovali {
namespace {

constexpr int kSpikes = 14;

// Star-burst outline: spikes alternating between an outer and an inner
// ellipse, slightly irregular so that it looks drawn rather than stamped.
void burst_path(const Cairo::RefPtr<Cairo::Context>& cr, double cx, double cy, double rx,
                double ry) {
  const double pi = std::acos(-1.0);
  for (int i = 0; i < 2 * kSpikes; ++i) {
    const double angle = pi * i / kSpikes - pi / 2;
    const double outer = (i % 4 == 0) ? 1.0 : 0.9;
    const double scale = (i % 2 == 0) ? outer : 0.68;
    const double x = cx + rx * scale * std::cos(angle);
    const double y = cy + ry * scale * std::sin(angle);
    if (i == 0) {
      cr->move_to(x, y);
    } else {
      cr->line_to(x, y);
    }
  }
  cr->close_path();
}

}  // namespace

StarBurstPicture::StarBurstPicture(std::string word, int width, int height)
    : m_word(std::move(word)) {
  set_size_request(width, height);
  set_halign(Gtk::ALIGN_START);
  set_valign(Gtk::ALIGN_START);
  add_events(Gdk::BUTTON_PRESS_MASK | Gdk::BUTTON_RELEASE_MASK);
  set_name(m_word);
  set_tooltip_text(m_word);
  present_as_button(m_word, [this] { m_clicked.emit(); });
}

void StarBurstPicture::on_realize() {
  Gtk::DrawingArea::on_realize();
  if (auto window = get_window()) {
    window->set_cursor(Gdk::Cursor::create(get_display(), "pointer"));
  }
}

bool StarBurstPicture::on_button_press_event(GdkEventButton* event) {
  if (event->button == 1 && event->type == GDK_BUTTON_PRESS) m_pressed = true;
  return true;
}

bool StarBurstPicture::on_button_release_event(GdkEventButton* event) {
  const bool inside = event->x >= 0 && event->y >= 0 && event->x < get_allocated_width() &&
                      event->y < get_allocated_height();
  if (event->button == 1 && m_pressed && inside) {
    m_pressed = false;
    m_clicked.emit();
  }
  m_pressed = false;
  return true;
}

bool StarBurstPicture::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
  const double w = kPictureWidth;
  const double h = kPictureHeight;
  const double cx = w / 2;
  const double cy = h / 2;

  // Navy burst with a lighter rim.
  burst_path(cr, cx, cy, w / 2 - 2, h / 2 - 2);
  cr->set_source_rgb(0.0, 0.0, 0.45);
  cr->fill_preserve();
  cr->set_line_width(2.0);
  cr->set_source_rgb(0.25, 0.35, 0.8);
  cr->stroke();

  auto layout = create_pango_layout(m_word);
  Pango::FontDescription font("Sans Bold");
  font.set_absolute_size(22 * PANGO_SCALE);
  layout->set_font_description(font);
  int text_w = 0;
  int text_h = 0;
  layout->get_pixel_size(text_w, text_h);
  cr->set_source_rgb(1.0, 1.0, 1.0);
  cr->move_to(cx - text_w / 2.0, cy - text_h / 2.0);
  layout->show_in_cairo_context(cr);
  return true;
}

}  // namespace tovali
