#pragma once

#include <string>

#include <gtkmm/button.h>
#include <gtkmm/image.h>

#include "ui/widgets/ShellPictures.h"

namespace tovali {

enum class HandCursor { Off, On };

// Which mouse clicks press a picture: one click (released over it), or only
// a double click, for the pictures a child should not press by chance.
enum class MouseClicks { Single, Double };

// A picture that works as a button: a Gtk::Button without relief and without
// the theme's padding, frame or hover shading, as large as its picture.
// Besides the mouse (see MouseClicks), the keyboard (Space, Enter, when it
// has the focus; a mouse click does not give it the focus) and assistive
// technologies (the "click" action of its accessible object, a push button
// named `accessible_name`) press it; each press emits signal_clicked().
class PictureButton : public Gtk::Button {
 public:
  PictureButton(const std::string& accessible_name, pictures::Picture picture, int width,
                int height, MouseClicks clicks = MouseClicks::Single,
                HandCursor cursor = HandCursor::Off);

  // A picture button without a picture: its owner adds a child (a word
  // written on the window's background), or its subclass draws itself.
  PictureButton(const std::string& accessible_name, MouseClicks clicks, HandCursor cursor);

  // The name assistive technologies read out.
  void set_accessible_name(const std::string& name);

 protected:
  void on_realize() override;
  bool on_button_press_event(GdkEventButton* event) override;

 private:
  MouseClicks m_clicks;
  HandCursor m_cursor;
  Gtk::Image m_image;
};

}  // namespace tovali
