#pragma once

#include <optional>
#include <string>

#include <glibmm/signalproxy.h>
#include <gtkmm/box.h>
#include <gtkmm/frame.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/overlay.h>

#include "models/ProgressFill.h"
#include "ui/widgets/PictureArea.h"
#include "ui/widgets/PictureButton.h"

namespace tovali {

// The line along the bottom of the main window: the minutes left today, the
// main frame's progress bar, the status text, the Tools picture (a double
// click opens the control panel) and the dot that turns from red to green
// while the navigation frame shows a menu page.
class StatusLine : public Gtk::Box {
 public:
  StatusLine();

  // Shows `text` as the status text.
  void set_text(const std::string& text);
  // Shows "N minutes left today" for a number, nothing without one.
  void show_minutes_left(std::optional<int> minutes);
  // A load of the main frame began: the progress bar starts over.
  void load_started();
  // The main frame's load reached `progress` of `progress_max`.
  void report_progress(int progress, int progress_max);
  // The green dot shows over the red one while `shown` is true.
  void set_green_dot(bool shown) { m_green_dot.set_visible(shown); }
  // Emitted when the Tools picture is pressed (a double click).
  Glib::SignalProxy<void> signal_tools_clicked() { return m_tools_image.signal_clicked(); }

 private:
  Gtk::Label m_time_left;  // "N minutes left today"
  ProgressFill m_progress_fill;
  PictureArea m_progress;
  Gtk::Frame m_status_frame;
  Gtk::Label m_status_text;
  Gtk::Box m_status_right{Gtk::ORIENTATION_HORIZONTAL};
  PictureButton m_tools_image;
  Gtk::Overlay m_dots;
  Gtk::Image m_red_dot;
  Gtk::Image m_green_dot;
};

}  // namespace tovali
