#pragma once

#include <gtkmm/box.h>
#include <gtkmm/paned.h>

namespace tovali {

// Whether the administrator's hide_navframe keeps the navigation frame away.
enum class NavFrameState { Shown, Hidden };

// The splitter between the navigation frame (left) and the main frame
// (right). The navigation frame gets its width once the splitter has its
// size; while it is hidden its panel stays, one pixel wide, so that the
// splitter stays visible, and the width it had comes back with it.
class FrameSplitter : public Gtk::Paned {
 public:
  // `nav_frame` and `main_frame` must outlive the splitter; `nav_frame_width`
  // is the navigation frame's first width.
  FrameSplitter(Gtk::Widget& nav_frame, Gtk::Widget& main_frame, int nav_frame_width);

  // Applies hide_navframe: the frame goes, the splitter stays.
  void hide_nav_frame(NavFrameState state);
  // Gives the navigation frame `pixels` of width, now or once it is placed
  // and shown.
  void set_nav_frame_width(int pixels);
  // The child folds the navigation frame away; unfold() brings back the
  // width it had.
  void fold();
  void unfold();

 private:
  Gtk::Widget& m_nav_frame;
  Gtk::Box m_nav_frame_panel{Gtk::ORIENTATION_VERTICAL};
  Gtk::Box m_main_panel{Gtk::ORIENTATION_VERTICAL};
  int m_saved_nav_frame_width = 0;  // the width before the child folded the frame
  bool m_nav_frame_placed = false;
  bool m_nav_frame_hidden = false;  // hide_navframe is on
  int m_pending_nav_frame_width;
};

}  // namespace tovali
