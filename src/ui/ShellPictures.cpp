#include "ui/ShellPictures.h"

#include <algorithm>
#include <cmath>

#include <gtkmm/icontheme.h>

namespace tovali::pictures {

namespace {
const double kPi = std::acos(-1.0);
}

void star_burst(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) {
  cr->save();
  cr->set_source_rgb(1.0, 1.0, 1.0);
  cr->paint();
  const int spikes = 16;
  const double cx = width / 2;
  const double cy = height / 2;
  for (int i = 0; i < 2 * spikes; ++i) {
    const double angle = kPi * i / spikes - kPi / 2;
    const double scale = (i % 2 == 0) ? ((i % 4 == 0) ? 0.98 : 0.88) : 0.62;
    const double x = cx + (width / 2) * scale * std::cos(angle);
    const double y = cy + (height / 2) * scale * std::sin(angle);
    if (i == 0)
      cr->move_to(x, y);
    else
      cr->line_to(x, y);
  }
  cr->close_path();
  auto gradient = Cairo::RadialGradient::create(cx, cy, 0, cx, cy, std::max(width, height) / 2);
  gradient->add_color_stop_rgb(0.0, 1.0, 1.0, 0.75);
  gradient->add_color_stop_rgb(0.6, 1.0, 0.85, 0.1);
  gradient->add_color_stop_rgb(1.0, 1.0, 0.55, 0.0);
  cr->set_source(gradient);
  cr->fill_preserve();
  cr->set_line_width(2.0);
  cr->set_source_rgb(0.85, 0.35, 0.0);
  cr->stroke();
  cr->restore();
}

void logo(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) {
  cr->save();
  cr->scale(width / 108.0, height / 44.0);
  static const double colours[][3] = {{0.85, 0.1, 0.1}, {0.95, 0.55, 0.0}, {0.1, 0.6, 0.15},
                                      {0.1, 0.3, 0.85}, {0.55, 0.15, 0.7}, {0.9, 0.2, 0.5}};
  cr->select_font_face("Sans", Cairo::FONT_SLANT_NORMAL, Cairo::FONT_WEIGHT_BOLD);
  cr->set_font_size(22);
  const std::string word = "Tovali";
  double x = 4;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const std::string letter(1, word[i]);
    Cairo::TextExtents extents;
    cr->get_text_extents(letter, extents);
    cr->move_to(x, 23 + ((i % 2) ? 2 : -1));
    cr->set_source_rgb(colours[i][0], colours[i][1], colours[i][2]);
    cr->show_text(letter);
    x += extents.x_advance;
  }
  cr->set_font_size(12);
  cr->move_to(22, 39);
  cr->set_source_rgb(0.1, 0.1, 0.35);
  cr->show_text("Explorer");
  cr->restore();
}

void dot(const Cairo::RefPtr<Cairo::Context>& cr, double size, DotColour colour) {
  cr->save();
  const double r = size / 2 - 1;
  auto gradient = Cairo::RadialGradient::create(size * 0.35, size * 0.35, 1, size / 2, size / 2, r);
  if (colour == DotColour::Red) {
    gradient->add_color_stop_rgb(0, 1.0, 0.7, 0.7);
    gradient->add_color_stop_rgb(1, 0.75, 0.0, 0.0);
  } else {
    gradient->add_color_stop_rgb(0, 0.75, 1.0, 0.75);
    gradient->add_color_stop_rgb(1, 0.0, 0.55, 0.0);
  }
  cr->arc(size / 2, size / 2, r, 0, 2 * kPi);
  cr->set_source(gradient);
  cr->fill();
  cr->restore();
}

void close_box(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) {
  cr->save();
  cr->set_source_rgb(0.75, 0.75, 0.75);
  cr->paint();
  cr->set_line_width(1);
  cr->set_source_rgb(1, 1, 1);
  cr->move_to(0.5, height - 0.5);
  cr->line_to(0.5, 0.5);
  cr->line_to(width - 0.5, 0.5);
  cr->stroke();
  cr->set_source_rgb(0.3, 0.3, 0.3);
  cr->move_to(width - 0.5, 0.5);
  cr->line_to(width - 0.5, height - 0.5);
  cr->line_to(0.5, height - 0.5);
  cr->stroke();
  cr->set_source_rgb(0, 0, 0);
  cr->set_line_width(2);
  cr->move_to(4, 3);
  cr->line_to(width - 4, height - 3);
  cr->move_to(width - 4, 3);
  cr->line_to(4, height - 3);
  cr->stroke();
  cr->restore();
}

void tools(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) {
  cr->save();
  cr->scale(width / 36.0, height / 36.0);
  cr->set_line_cap(Cairo::LINE_CAP_ROUND);
  // Wrench: from the lower left to an open jaw at the upper right.
  cr->push_group();
  cr->set_source_rgb(0.55, 0.58, 0.63);
  cr->set_line_width(4.5);
  cr->move_to(5, 31);
  cr->line_to(25, 11);
  cr->stroke();
  cr->arc(27.5, 8.5, 7, 0, 2 * kPi);
  cr->fill();
  cr->set_operator(Cairo::OPERATOR_CLEAR);
  cr->translate(27.5, 8.5);
  cr->rotate(-kPi / 4);
  cr->rectangle(-2.6, -9, 5.2, 9);
  cr->fill();
  cr->pop_group_to_source();
  cr->paint();
  // Screwdriver: red handle at the upper left, steel shaft to the lower right.
  cr->set_source_rgb(0.3, 0.32, 0.36);
  cr->set_line_width(2.5);
  cr->move_to(14, 14);
  cr->line_to(31, 31);
  cr->stroke();
  cr->set_source_rgb(0.85, 0.12, 0.1);
  cr->set_line_width(7);
  cr->move_to(5, 5);
  cr->line_to(13, 13);
  cr->stroke();
  // Hammer: wooden handle upright, dark head across the top.
  cr->set_source_rgb(0.62, 0.4, 0.18);
  cr->set_line_width(3.5);
  cr->move_to(18, 34);
  cr->line_to(18, 10);
  cr->stroke();
  cr->set_source_rgb(0.22, 0.22, 0.25);
  cr->rectangle(11, 3, 14, 6.5);
  cr->fill();
  cr->restore();
}

void progress_bar(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height,
                  double fill) {
  cr->save();
  cr->set_source_rgb(1, 1, 1);
  cr->paint();
  const double inner = std::max(width - 2, 0.0);
  const double filled = std::round(inner * std::clamp(fill, 0.0, 1.0));
  if (filled > 0) {
    cr->rectangle(1, 1, filled, std::max(height - 2, 0.0));
    cr->set_source_rgb(0.0, 0.0, 0.5);
    cr->fill();
  }
  cr->set_line_width(1);
  cr->set_source_rgb(0.5, 0.5, 0.5);
  cr->move_to(0.5, height);
  cr->line_to(0.5, 0.5);
  cr->line_to(width, 0.5);
  cr->stroke();
  cr->set_source_rgb(0.88, 0.88, 0.88);
  cr->move_to(width - 0.5, 1);
  cr->line_to(width - 0.5, height - 0.5);
  cr->line_to(1, height - 0.5);
  cr->stroke();
  cr->restore();
}

Glib::RefPtr<Gdk::Pixbuf> greyed(const Glib::RefPtr<Gdk::Pixbuf>& icon) {
  if (!icon) return {};
  const Glib::RefPtr<Gdk::Pixbuf> source = icon->add_alpha(false, 0, 0, 0);
  const int width = source->get_width();
  const int height = source->get_height();
  const int channels = source->get_n_channels();
  const int stride = source->get_rowstride();
  const guint8* in = source->get_pixels();
  // The picture's dark, opaque parts (its outlines and solid shapes) are the
  // ink of the etched picture; its light parts drop out.
  auto ink = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const guint8* p = in + y * stride + x * channels;
    const int lightness = (p[0] * 30 + p[1] * 59 + p[2] * 11) / 100;
    return p[3] >= 128 && lightness < 170;
  };
  Glib::RefPtr<Gdk::Pixbuf> grey = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, width, height);
  grey->fill(0x00000000);
  const int out_channels = grey->get_n_channels();
  const int out_stride = grey->get_rowstride();
  guint8* out = grey->get_pixels();
  auto put = [&](int x, int y, guint8 value) {
    guint8* p = out + y * out_stride + x * out_channels;
    p[0] = p[1] = p[2] = value;
    p[3] = 255;
  };
  // Grey ink with a white edge one pixel below and right of it: the etched
  // look of a disabled button.
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (ink(x, y))
        put(x, y, 128);
      else if (ink(x - 1, y - 1))
        put(x, y, 255);
    }
  return grey;
}

Glib::RefPtr<Gdk::Pixbuf> theme_icon(std::initializer_list<const char*> names, int size) {
  auto theme = Gtk::IconTheme::get_default();
  for (const char* name : names) {
    try {
      if (theme->has_icon(name)) return theme->load_icon(name, size, Gtk::ICON_LOOKUP_FORCE_SIZE);
    } catch (const Glib::Error&) {
    }
  }
  return {};
}

}  // namespace tovali::pictures
