#include "ui/parent/SetupLayout.h"

#include <gtkmm/frame.h>

#include "base/Translate.h"
#include "models/PasswordChange.h"

namespace tovali {

Gtk::Label& SetupLayout::label(const char* text, Wrap wrap) {
  auto* label = Gtk::manage(new Gtk::Label(text));
  label->set_halign(Gtk::ALIGN_START);
  label->set_xalign(0);
  label->set_line_wrap(wrap == Wrap::On);
  return *label;
}

Gtk::Box& SetupLayout::group(Gtk::Box& parent, const char* title) {
  auto* frame = Gtk::manage(new Gtk::Frame(title));
  auto* column = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4));
  column->set_border_width(6);
  frame->add(*column);
  parent.pack_start(*frame, Gtk::PACK_SHRINK);
  return *column;
}

void SetupLayout::lock(Gtk::Widget& control) {
  control.set_sensitive(false);
  control.set_tooltip_text(tr(kSetByAdministrator));
}

}  // namespace tovali
