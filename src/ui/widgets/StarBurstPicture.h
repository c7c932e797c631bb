#pragma once

#include <string>

#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/overlay.h>

#include "ui/widgets/PictureButton.h"

namespace tovali {

// A picture button of the control panel: a dark blue star-burst with one
// white word, 180 by 100 pixels at the left of its area (not stretched), a
// hand cursor over it. A click (button released over it), the keyboard and
// the "click" action of its accessible object, a button named by the word,
// emit signal_clicked().
class StarBurstPicture : public PictureButton {
 public:
  StarBurstPicture(const std::string& word, int width, int height);

  static constexpr int kPictureWidth = 180;
  static constexpr int kPictureHeight = 100;

 private:
  Gtk::Overlay m_overlay;
  Gtk::Image m_burst;
  Gtk::Label m_word;
};

}  // namespace tovali
