#include "ui/widgets/ShellPictures.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include <gtkmm/icontheme.h>

// The pictures' GResource, generated from src/ui/widgets/pictures/pictures.gresource.xml.
extern "C" GResource* tovali_pictures_get_resource(void);

namespace tovali::pictures {

namespace {

const char* resource_path(Picture picture) {
  switch (picture) {
    case Picture::StarBurst:
      return "/org/tovali/Explorer/pictures/star-burst.svg";
    case Picture::NavyStarBurst:
      return "/org/tovali/Explorer/pictures/navy-star-burst.svg";
    case Picture::Logo:
      return "/org/tovali/Explorer/pictures/logo.svg";
    case Picture::CloseBox:
      return "/org/tovali/Explorer/pictures/close-box.svg";
    case Picture::Tools:
      return "/org/tovali/Explorer/pictures/tools.svg";
    case Picture::RedDot:
      return "/org/tovali/Explorer/pictures/dot-red.svg";
    case Picture::GreenDot:
      return "/org/tovali/Explorer/pictures/dot-green.svg";
  }
  return "";
}

}  // namespace

Glib::RefPtr<Gdk::Pixbuf> picture(Picture picture, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  // Naming the resource links its object file into the program; its
  // constructor registers the pictures before main() runs.
  static GResource* const resource = tovali_pictures_get_resource();
  try {
    if (resource)
      return Gdk::Pixbuf::create_from_resource(resource_path(picture), width, height, false);
  } catch (const Glib::Error& e) {
    std::cerr << "tovali-explorer: picture " << resource_path(picture) << ": " << e.what() << "\n";
  }
  Glib::RefPtr<Gdk::Pixbuf> clear =
      Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, width, height);
  clear->fill(0x00000000);
  return clear;
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
