#include "ui/child/MessagePanel.h"

#include <algorithm>
#include <iostream>

#include <gdkmm/general.h>
#include <glibmm/main.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>
#include <pangomm/layout.h>

#include "base/Translate.h"
#include "browser/CallbackGuard.h"
#include "models/GrownUpRequest.h"
#include "ui/widgets/ShellPictures.h"

namespace tovali {

namespace {
// The text box inside the panel, fixed relative to the panel.
constexpr int kLabelLeft = 80;
constexpr int kLabelTop = 64;
constexpr int kLabelWidth = 137;
constexpr int kLabelHeight = 97;
constexpr int kFontPixels = 13;
constexpr int kLinePixels = 16;
// The "Ask a grown-up" button's top, below the text box.
constexpr int kAskButtonTop = kLabelTop + kLabelHeight + 4;

}  // namespace

namespace {

// The panel's text on one line: its line breaks become single spaces.
std::string spoken_text(const std::string& text) {
  std::string line;
  bool gap = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      gap = !line.empty();
      continue;
    }
    if (gap && line.back() != ' ' && c != ' ') line += ' ';
    gap = false;
    line += c;
  }
  return line;
}

}  // namespace

MessagePanel::MessagePanel(HandCursor cursor)
    : PictureButton(tr("Message"), MouseClicks::Single, cursor) {
  set_halign(Gtk::ALIGN_START);
  set_valign(Gtk::ALIGN_START);
  set_no_show_all(true);
  set_name("MsgPanel");
  signal_clicked().connect([this] { guarded("message panel", [this] { HideMsgPanel(); }); });
  hide();

  m_ask.set_label(tr(kAskGrownUpCaption));
  m_ask.set_name("AskGrownUp");
  m_ask.set_halign(Gtk::ALIGN_START);
  m_ask.set_valign(Gtk::ALIGN_START);
  m_ask.set_size_request(kLabelWidth, -1);
  m_ask.set_no_show_all(true);
  m_ask.hide();
  m_ask.signal_clicked().connect([this] {
    guarded("ask a grown-up", [this] {
      HideMsgPanel();
      if (on_ask) on_ask();
    });
  });
}

MessagePanel::~MessagePanel() {
  m_size_timer.disconnect();
  m_hide_timer.disconnect();
  m_stay_timer.disconnect();
}

void MessagePanel::ShowMsgPanel(const std::string& message, PanelButton button) {
  // The guard and the session hand over their texts untranslated.
  const std::string text = tr_lines(message);
  m_button = button;
  m_model.show(text);
  set_accessible_name(spoken_text(text));
  restart_stay_timer();
  apply();
}

void MessagePanel::HideMsgPanel() {
  m_button = PanelButton::None;
  m_model.hide();
  apply();
}

void MessagePanel::set_msg_panel_timer(bool on) {
  m_model.set_stay_timer(on);
  if (on)
    restart_stay_timer();
  else
    m_stay_timer.disconnect();
}

void MessagePanel::restart_stay_timer() {
  m_stay_timer.disconnect();
  if (!m_model.stay_timer()) return;
  m_stay_timer = Glib::signal_timeout().connect(sigc::mem_fun(*this, &MessagePanel::on_stay_timer),
                                                MessagePanelModel::kStayMs);
}

bool MessagePanel::on_stay_timer() {
  return guarded_value("message panel", false, [this] {
    m_model.stay_timer_fired();
    apply();
    return false;  // one shot; Show starts it again
  });
}

bool MessagePanel::on_size_timer() {
  return guarded_value("message panel", false, [this] {
    m_model.size_tick();
    apply();
    return m_model.size_timer();
  });
}

bool MessagePanel::on_hide_timer() {
  return guarded_value("message panel", false, [this] {
    m_model.hide_tick();
    apply();
    return m_model.hide_timer();
  });
}

// Brings the widget and the step timers in line with the model.
void MessagePanel::apply() {
  if (m_model.size_timer() && !m_size_timer.connected())
    m_size_timer = Glib::signal_timeout().connect(
        sigc::mem_fun(*this, &MessagePanel::on_size_timer), MessagePanelModel::kTickMs);
  if (!m_model.size_timer()) m_size_timer.disconnect();
  if (m_model.hide_timer() && !m_hide_timer.connected())
    m_hide_timer = Glib::signal_timeout().connect(
        sigc::mem_fun(*this, &MessagePanel::on_hide_timer), MessagePanelModel::kTickMs);
  if (!m_model.hide_timer()) m_hide_timer.disconnect();
  if (!m_model.stay_timer()) m_stay_timer.disconnect();

  if (m_model.visible()) {
    set_size_request(std::max(m_model.width(), 1), std::max(m_model.height(), 1));
    LocateMsgPanel();
    show();
    queue_draw();
  } else {
    hide();
  }
  place_ask_button();
}

// The button shows under the text box, as wide as it, while the text shows.
void MessagePanel::place_ask_button() {
  if (m_button != PanelButton::AskGrownUp || !m_model.visible() || !m_model.label_visible()) {
    m_ask.hide();
    return;
  }
  m_ask.set_margin_start(std::max(get_margin_start() + kLabelLeft, 0));
  m_ask.set_margin_top(std::max(get_margin_top() + kAskButtonTop, 0));
  m_ask.show();
}

void MessagePanel::LocateMsgPanel() {
  auto* window = dynamic_cast<Gtk::Window*>(get_toplevel());
  if (!window) return;
  int width = 0;
  int height = 0;
  window->get_size(width, height);
  const PanelPlace place = m_model.locate(width, height);
  set_margin_start(std::max(place.left, 0));
  set_margin_top(std::max(place.top, 0));
}

bool MessagePanel::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
  const double width = std::max(m_model.width(), 0);
  const double height = std::max(m_model.height(), 0);
  if (width <= 0 || height <= 0) return true;
  if (!m_burst || m_burst->get_width() != m_model.width() ||
      m_burst->get_height() != m_model.height())
    m_burst = pictures::picture(pictures::Picture::StarBurst, m_model.width(), m_model.height());
  Gdk::Cairo::set_source_pixbuf(cr, m_burst, 0, 0);
  cr->paint();
  if (has_visible_focus())
    get_style_context()->render_focus(cr, 0, 0, get_allocated_width(), get_allocated_height());
  if (!m_model.label_visible()) return true;
  cr->save();
  cr->rectangle(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight);
  cr->clip();
  cr->set_source_rgb(1, 1, 1);
  cr->paint();
  auto layout = create_pango_layout(message_lines(m_model.text()));
  // Characters 13 pixels high, lines 16 pixels apart whatever the font's own
  // spacing, so that the longest messages (six lines) fit the box.
  Pango::FontDescription font("Sans");
  font.set_absolute_size(kFontPixels * PANGO_SCALE);
  layout->set_font_description(font);
  auto one_line = create_pango_layout("Ag");
  one_line->set_font_description(font);
  int line_width = 0;
  int line_height = 0;
  one_line->get_pixel_size(line_width, line_height);
  if (line_height > kLinePixels)
    pango_layout_set_line_spacing(
        layout->gobj(), static_cast<float>(kLinePixels) / static_cast<float>(line_height));
  layout->set_width(kLabelWidth * PANGO_SCALE);
  layout->set_wrap(Pango::WRAP_WORD_CHAR);
  layout->set_alignment(Pango::ALIGN_CENTER);
  cr->set_source_rgb(1, 0, 0);
  cr->move_to(kLabelLeft, kLabelTop);
  layout->show_in_cairo_context(cr);
  cr->restore();
  return true;
}

}  // namespace tovali
