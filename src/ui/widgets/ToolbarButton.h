#pragma once

#include <initializer_list>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace tovali {

// A flat toolbar button (69 by 31) with a picture from the icon theme and a
// caption label under it. Disabling greys the picture; the caption stays.
class ToolbarButton : public Gtk::Box {
 public:
  static constexpr int kWidth = 69;
  static constexpr int kHeight = 31;
  static constexpr int kCaptionHeight = 16;

  ToolbarButton(const std::string& caption, std::initializer_list<const char*> icon_names);

  Gtk::Button& button() { return m_button; }
  Gtk::Label& caption() { return m_caption; }
  Glib::SignalProxy<void> signal_clicked() { return m_button.signal_clicked(); }
  // A disabled button shows the greyed picture.
  void set_enabled(bool enabled);
  bool enabled() const { return m_button.get_sensitive(); }

 private:
  Gtk::Button m_button;
  Gtk::Image m_image;
  Glib::RefPtr<Gdk::Pixbuf> m_icon;
  Glib::RefPtr<Gdk::Pixbuf> m_greyed_icon;
  Gtk::Label m_caption;
};

}  // namespace tovali
