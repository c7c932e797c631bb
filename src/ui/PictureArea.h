#pragma once

#include <functional>

#include <gtkmm/drawingarea.h>

#include "ui/AccessibleButton.h"

namespace tovali {

enum class HandCursor { Off, On };

// A picture drawn by a function, stretched over its area, with click and
// double-click signals (left button only). A picture that reacts to them is
// given a name and an action with present_as_button().
class PictureArea : public AccessibleButton<Gtk::DrawingArea> {
 public:
  using Painter = std::function<void(const Cairo::RefPtr<Cairo::Context>&, double, double)>;

  PictureArea(Painter painter, int width, int height, HandCursor cursor = HandCursor::Off);

  sigc::signal<void>& signal_clicked() { return m_clicked; }
  sigc::signal<void>& signal_double_clicked() { return m_double_clicked; }

 protected:
  bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;
  void on_realize() override;
  bool on_button_press_event(GdkEventButton* event) override;

 private:
  Painter m_painter;
  HandCursor m_cursor;
  sigc::signal<void> m_clicked;
  sigc::signal<void> m_double_clicked;
};

}  // namespace tovali
