#include "models/MessagePanelModel.h"

namespace tovali {

void MessagePanelModel::show(const std::string& text) {
  m_stay_timer = false;
  m_label_visible = false;
  m_text = text;
  m_width = 0;
  m_height = 0;
  m_visible = true;
  m_hide_timer = false;  // a shrink still running would hide the new message
  m_size_timer = true;
  m_stay_timer = true;
}

void MessagePanelModel::hide() {
  m_label_visible = false;
  m_hide_timer = true;
}

void MessagePanelModel::size_tick() {
  m_width += kGrowWidth;
  if (m_width == kFullWidth) {
    m_size_timer = false;
    m_label_visible = true;
  }
  m_height += kGrowHeight;
}

void MessagePanelModel::hide_tick() {
  m_width -= kShrinkWidth;
  m_height -= kShrinkHeight;
  if (m_width <= 0) {
    m_visible = false;
    m_hide_timer = false;
  }
}

void MessagePanelModel::stay_timer_fired() {
  m_stay_timer = false;
  hide();
}

PanelPlace centre_in_window(int window_width, int window_height, int width, int height) {
  PanelPlace place;
  place.left = static_cast<int>(window_width / 2.0 - width / 2.0);
  place.top = static_cast<int>(window_height / 2.0 - height / 2.0);
  return place;
}

PanelPlace MessagePanelModel::locate(int window_width, int window_height) const {
  return centre_in_window(window_width, window_height, m_width, m_height);
}

std::string message_lines(const std::string& text) {
  std::string result = text;
  for (char& c : result)
    if (c == '\r') c = '\n';
  return result;
}

}  // namespace tovali
