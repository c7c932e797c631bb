#pragma once

#include <functional>

#include <gtkmm/box.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/label.h>

#include "base/Translate.h"
#include "ui/widgets/PictureButton.h"

namespace tovali {

// The narrow strip left of the navigation frame: "loading" written down it
// while the frame loads, otherwise the word "hide" that folds the frame away,
// or, once folded, "show" that brings it back. The strip swaps its own words;
// the folding itself is its owner's, through on_hide and on_show.
class LeftStrip : public Gtk::EventBox {
 public:
  LeftStrip();

  // Called when the child presses "hide" and "show".
  std::function<void()> on_hide;
  std::function<void()> on_show;

  // The navigation frame began loading: "loading" takes the place of "hide".
  void show_loading();
  // The navigation frame has loaded: "hide" comes back unless it is folded.
  void hide_loading();

 private:
  void on_hide_clicked();
  void on_show_clicked();

  Gtk::Box m_loading_box{Gtk::ORIENTATION_VERTICAL};
  Gtk::Label m_loading_label;
  PictureButton m_hide_box{tr("Hide"), MouseClicks::Single, HandCursor::On};
  Gtk::Label m_hide_label;
  PictureButton m_show_box{tr("Show"), MouseClicks::Single, HandCursor::On};
  Gtk::Label m_show_label;
};

}  // namespace tovali
