#pragma once

#include <functional>

#include <gtkmm/drawingarea.h>

namespace tovali {

// A picture drawn by a function, stretched over its area: a picture whose
// look follows the program's state (the progress bar). It takes no clicks.
class PictureArea : public Gtk::DrawingArea {
 public:
  using Painter = std::function<void(const Cairo::RefPtr<Cairo::Context>&, double, double)>;

  PictureArea(Painter painter, int width, int height);

 protected:
  bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;

 private:
  Painter m_painter;
};

}  // namespace tovali
