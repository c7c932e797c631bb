#include "windows/ShellPictures.h"

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
