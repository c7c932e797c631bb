#pragma once

#include <string>

#include <gtkmm/drawingarea.h>

#include "ui/AccessibleButton.h"

namespace tovali {

// A picture button: a dark blue star-burst with one white word, 180 by 100
// pixels drawn at the left of its area (not stretched), a hand cursor over
// it. A click (button released over it) raises signal_clicked; so does the
// "click" action of its accessible object, a button named by the word.
class StarBurstPicture : public AccessibleButton<Gtk::DrawingArea> {
 public:
  StarBurstPicture(std::string word, int width, int height);

  sigc::signal<void>& signal_clicked() { return m_clicked; }

  static constexpr int kPictureWidth = 180;
  static constexpr int kPictureHeight = 100;

 protected:
  bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;
  void on_realize() override;
  bool on_button_press_event(GdkEventButton* event) override;
  bool on_button_release_event(GdkEventButton* event) override;

 private:
  std::string m_word;
  bool m_pressed = false;
  sigc::signal<void> m_clicked;
};

}  // namespace tovali
