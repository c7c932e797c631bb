#include "ui/child/StatusLine.h"

#include "activity/TimeBudget.h"
#include "base/Translate.h"
#include "ui/widgets/ShellPictures.h"

namespace tovali {

StatusLine::StatusLine()
    : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL),
      m_progress([this](const auto& cr, double w,
                        double h) { pictures::progress_bar(cr, w, h, m_progress_fill.fill()); },
                 85, 14),
      m_tools_image(tr("Tools"), pictures::Picture::Tools, 18, 18, MouseClicks::Double),
      m_red_dot(pictures::picture(pictures::Picture::RedDot, 17, 17)),
      m_green_dot(pictures::picture(pictures::Picture::GreenDot, 17, 17)) {
  set_size_request(-1, 20);
  m_progress.set_valign(Gtk::ALIGN_CENTER);
  m_progress.set_name("progress_bar");
  m_status_frame.set_shadow_type(Gtk::SHADOW_IN);
  m_status_text.set_xalign(0.0);
  m_status_text.set_ellipsize(Pango::ELLIPSIZE_END);
  m_status_text.set_name("StatusText");
  m_status_frame.add(m_status_text);
  m_tools_image.set_valign(Gtk::ALIGN_CENTER);
  m_tools_image.set_name("ToolsImage");
  m_dots.add(m_red_dot);
  m_dots.add_overlay(m_green_dot);
  m_green_dot.set_no_show_all(true);
  m_dots.set_valign(Gtk::ALIGN_CENTER);
  m_status_right.set_size_request(40, -1);
  m_time_left.set_name("TimeLeft");
  m_time_left.set_no_show_all(true);
  pack_start(m_time_left, Gtk::PACK_SHRINK, 4);
  m_status_right.pack_start(m_tools_image, Gtk::PACK_SHRINK, 2);
  m_status_right.pack_start(m_dots, Gtk::PACK_SHRINK);
  pack_start(m_progress, Gtk::PACK_SHRINK, 2);
  pack_start(m_status_frame, Gtk::PACK_EXPAND_WIDGET);
  pack_start(m_status_right, Gtk::PACK_SHRINK);
}

void StatusLine::set_text(const std::string& text) {
  m_status_text.set_text(tr(text.c_str()));
}

void StatusLine::show_minutes_left(std::optional<int> minutes) {
  if (minutes) m_time_left.set_text(TimeBudget::minutes_left_text(*minutes));
  m_time_left.set_visible(minutes.has_value());
}

void StatusLine::load_started() {
  m_progress_fill.load_started();
}

void StatusLine::report_progress(int progress, int progress_max) {
  if (m_progress_fill.report(progress, progress_max)) m_progress.queue_draw();
}

}  // namespace tovali
