#pragma once

#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>

#include "base/TextList.h"

namespace tovali {

// A scrolled multi-line text field read and written as lines.
class LinesField : public Gtk::ScrolledWindow {
 public:
  explicit LinesField(const char* name);

  // Replaces the text with `lines`, one per line (already UTF-8).
  void set_lines(const TextList& lines);
  // The lines as typed, untrimmed; a final line break starts no line.
  TextList lines() const;

  Gtk::TextView& text_view() { return m_view; }

 private:
  mutable Gtk::TextView m_view;  // reading its buffer is not const in gtkmm
};

}  // namespace tovali
