#pragma once

#include <initializer_list>

#include <cairomm/context.h>
#include <gdkmm/pixbuf.h>

namespace tovali {

// The pictures of the main window, the pop-up window and the control panel.
namespace pictures {

// The program's own pictures, SVG files in src/ui/widgets/pictures compiled into the
// program.
enum class Picture {
  // The yellow star-burst behind the message panel and the about panel.
  StarBurst,
  // The dark blue star-burst of the control panel's pictures (180 by 100).
  NavyStarBurst,
  // The program's logo: the name in playful colours (108 by 44).
  Logo,
  // A black X on a grey raised square: the main window's close button (16 by 14).
  CloseBox,
  // Tools (a hammer in front of a crossed wrench and screwdriver) on a clear
  // background: the status line's picture that opens the control panel (18 by 18).
  Tools,
  // Shaded balls for the status line (17 by 17).
  RedDot,
  GreenDot,
};

// `picture` drawn `width` by `height` pixels, stretched when those differ
// from its own proportions. When the picture cannot be drawn (the SVG loader
// of the system is missing) the reason goes to standard error and the
// answer is a clear picture of that size. Sizes below 1 count as 1.
Glib::RefPtr<Gdk::Pixbuf> picture(Picture picture, int width, int height);

// The status line's progress bar: a sunken white trough filled from the
// left with dark blue for `fill` (0 to 1) of its width.
void progress_bar(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height,
                  double fill);

// `icon` as a disabled toolbar picture: its dark parts etched in grey with a
// white edge, its light parts left out; no colour.
Glib::RefPtr<Gdk::Pixbuf> greyed(const Glib::RefPtr<Gdk::Pixbuf>& icon);

// An icon of the desktop's icon theme at `size` pixels, or an empty pointer
// when the theme has none of the names given (first match wins).
Glib::RefPtr<Gdk::Pixbuf> theme_icon(std::initializer_list<const char*> names, int size);

}  // namespace pictures
}  // namespace tovali
