#pragma once

#include <string>

#include <cairomm/context.h>
#include <gdkmm/pixbuf.h>

namespace tovali {

// The pictures of the main window and the pop-up window, drawn at any size
// so that they stretch with the space their widgets get.
namespace pictures {

// The yellow star-burst behind the message panel and the about panel.
void star_burst(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height);
// The program's logo: the name in playful colours.
void logo(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height);
// A shaded ball, red or green, for the status line.
enum class DotColour { Red, Green };
void dot(const Cairo::RefPtr<Cairo::Context>& cr, double size, DotColour colour);
// A black X on a grey raised square: the main window's close button.
void close_box(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height);

// Tools (a hammer in front of a crossed wrench and screwdriver) on a clear
// background: the status line's picture that opens the control panel.
void tools(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height);

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
