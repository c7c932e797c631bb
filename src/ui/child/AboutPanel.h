#pragma once

#include <functional>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/fixed.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include "base/Translate.h"
#include "ui/widgets/PictureButton.h"

namespace tovali {

// The about panel (353 by 218): the star-burst picture, the logo, the maker's
// lines, the version line and a Close button. Add it as an overlay child; it
// centres itself and starts hidden.
class AboutPanel : public Gtk::Fixed {
 public:
  static constexpr int kWidth = 353;
  static constexpr int kHeight = 218;

  AboutPanel();

  // A click on the large picture, a button named "Hide the message" (the
  // main window hides its message panel then).
  Glib::SignalProxy<void> signal_picture_clicked() { return m_picture.signal_clicked(); }
  Gtk::Label& version_label() { return m_version; }
  // Centres the panel in a window of the given size and shows it.
  void show_centred(int window_width, int window_height);

 private:
  PictureButton m_picture;
  Gtk::Image m_logo;
  Gtk::Label m_maker;
  Gtk::Label m_version;
  Gtk::Button m_close{tr("Close")};
};

}  // namespace tovali
