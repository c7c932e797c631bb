#include "ui/child/FrameSplitter.h"

#include <glibmm/main.h>

namespace tovali {

FrameSplitter::FrameSplitter(Gtk::Widget& nav_frame, Gtk::Widget& main_frame, int nav_frame_width)
    : Gtk::Paned(Gtk::ORIENTATION_HORIZONTAL),
      m_nav_frame(nav_frame),
      m_pending_nav_frame_width(nav_frame_width) {
  m_nav_frame_panel.pack_start(nav_frame, Gtk::PACK_EXPAND_WIDGET);
  m_nav_frame_panel.set_size_request(1, -1);
  m_main_panel.pack_start(main_frame, Gtk::PACK_EXPAND_WIDGET);
  pack1(m_nav_frame_panel, false, false);
  pack2(m_main_panel, true, false);
  set_wide_handle(true);
  signal_size_allocate().connect([this](Gtk::Allocation& allocation) {
    if (m_nav_frame_placed || allocation.get_width() <= 1) return;
    m_nav_frame_placed = true;
    Glib::signal_idle().connect_once(
        [this] { set_position(m_nav_frame_hidden ? 1 : m_pending_nav_frame_width); });
  });
  // While the administrator hides the navigation frame the splitter stays at
  // the left edge, and a drag of it uncovers nothing.
  property_position().signal_changed().connect([this] {
    if (m_nav_frame_hidden && get_position() > 1) set_position(1);
  });
}

void FrameSplitter::hide_nav_frame(NavFrameState state) {
  const bool hidden = state == NavFrameState::Hidden;
  if (hidden == m_nav_frame_hidden) return;
  if (hidden && m_nav_frame_placed) m_pending_nav_frame_width = get_position();
  m_nav_frame_hidden = hidden;
  m_nav_frame.set_visible(!hidden);
  if (m_nav_frame_placed) set_position(hidden ? 1 : m_pending_nav_frame_width);
}

void FrameSplitter::set_nav_frame_width(int pixels) {
  if (!m_nav_frame_placed || m_nav_frame_hidden) {
    m_pending_nav_frame_width = pixels;
    return;
  }
  set_position(pixels);
}

void FrameSplitter::fold() {
  m_saved_nav_frame_width = get_position();
  set_position(1);
}

void FrameSplitter::unfold() {
  set_position(m_saved_nav_frame_width > 0 ? m_saved_nav_frame_width : 150);
}

}  // namespace tovali
