#pragma once

#include <string>

namespace tovali {

// Where the panel sits inside its window.
struct PanelPlace {
  int left = 0;
  int top = 0;
};

// The place of a panel of `width` x `height` centred in a window of
// `window_width` x `window_height`: half the window's size minus half the
// panel's, computed in floating point and truncated towards zero.
PanelPlace centre_in_window(int window_width, int window_height, int width, int height);

// The message panel's state and its animation steps, without any drawing:
// a view shows `visible()`, sizes the panel to width() x height(), shows the
// text when `label_visible()`, and runs the three timers while their flags
// are on, calling the matching step at each tick.
class MessagePanelModel {
 public:
  static constexpr int kFullWidth = 300;
  static constexpr int kGrowWidth = 50;
  static constexpr int kGrowHeight = 37;
  static constexpr int kShrinkWidth = 100;
  static constexpr int kShrinkHeight = 37;
  static constexpr int kTickMs = 50;
  static constexpr int kStayMs = 5000;

  // Shows a message: the panel collapses to 0 x 0 and grows again with the
  // new text, and stays kStayMs from now. A running shrink is stopped, so the
  // new message is seen.
  void show(const std::string& text);
  // Starts hiding: the text goes at once, the shrink timer starts.
  void hide();
  // One growth step (size timer tick).
  void size_tick();
  // One shrink step (hide timer tick).
  void hide_tick();
  // The stay timer has run out: it stops, and hiding starts.
  void stay_timer_fired();
  // Keeps the current message up until the next show (or re-enables the
  // usual stay time).
  void set_stay_timer(bool on) { m_stay_timer = on; }

  // Centre of a window of outer size W x H for the current panel size,
  // truncated towards zero.
  PanelPlace locate(int window_width, int window_height) const;

  const std::string& text() const { return m_text; }
  bool visible() const { return m_visible; }
  bool label_visible() const { return m_label_visible; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  bool size_timer() const { return m_size_timer; }
  bool hide_timer() const { return m_hide_timer; }
  bool stay_timer() const { return m_stay_timer; }

 private:
  std::string m_text;
  bool m_visible = false;
  bool m_label_visible = false;
  int m_width = 0;
  int m_height = 0;
  bool m_size_timer = false;
  bool m_hide_timer = false;
  bool m_stay_timer = false;
};

// Message texts break lines at CR only; a label wants LF.
std::string message_lines(const std::string& text);

}  // namespace tovali
