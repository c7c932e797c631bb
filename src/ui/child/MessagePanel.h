#pragma once

#include <functional>
#include <string>

#include <gdkmm/pixbuf.h>
#include <gtkmm/button.h>

#include "models/MessagePanelModel.h"
#include "ui/widgets/PictureButton.h"

namespace tovali {

// The message panel of a window: a star-burst picture with a short red text
// that grows out of the window's centre, stays five seconds and shrinks away,
// or goes at once when clicked. Add it as an overlay child over the whole
// window; the steps themselves are MessagePanelModel's. It is a picture
// button: assistive technologies see a button named by its text that hides
// it, and the keyboard presses it when it has the focus.
//
// A message can come with the button "Ask a grown-up" under its text, shown
// while the text shows; add `ask_button()` as an overlay child after the
// panel. Pressing it hides the panel and calls `on_ask`.
enum class PanelButton { None, AskGrownUp };

class MessagePanel : public PictureButton {
 public:
  explicit MessagePanel(HandCursor cursor);
  ~MessagePanel() override;

  void ShowMsgPanel(const std::string& text, PanelButton button = PanelButton::None);
  void HideMsgPanel();
  // Turns the five-second timer that hides the panel off or on again.
  void set_msg_panel_timer(bool on);
  bool panel_visible() const { return m_model.visible(); }
  const MessagePanelModel& model() const { return m_model; }
  Gtk::Button& ask_button() { return m_ask; }
  std::function<void()> on_ask;

 protected:
  bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;

 private:
  void apply();
  void LocateMsgPanel();
  void place_ask_button();
  bool on_size_timer();
  bool on_hide_timer();
  bool on_stay_timer();
  void restart_stay_timer();

  MessagePanelModel m_model;
  // The star-burst at the panel's current size.
  Glib::RefPtr<Gdk::Pixbuf> m_burst;
  PanelButton m_button = PanelButton::None;
  Gtk::Button m_ask;
  sigc::connection m_size_timer;
  sigc::connection m_hide_timer;
  sigc::connection m_stay_timer;
};

}  // namespace tovali
