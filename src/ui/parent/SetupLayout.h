#pragma once

#include <gtkmm/box.h>
#include <gtkmm/label.h>

namespace tovali {

// The pieces the tabs of the setup dialog are laid out with.
class SetupLayout {
 public:
  enum class Wrap { Off, On };

  // A label owned by its container that starts at the left and wraps when
  // told to.
  static Gtk::Label& label(const char* text, Wrap wrap = Wrap::Off);
  // A titled group box packed into `parent`; returns its vertical column.
  static Gtk::Box& group(Gtk::Box& parent, const char* title);
  // Makes `control` insensitive, with the tooltip "Set by the administrator".
  static void lock(Gtk::Widget& control);
};

}  // namespace tovali
