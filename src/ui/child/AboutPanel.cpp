#include "ui/child/AboutPanel.h"

#include <glibmm/markup.h>

#include <algorithm>

#include "base/Translate.h"
#include "models/MessagePanelModel.h"
#include "models/StartupPlan.h"
#include "ui/widgets/ShellPictures.h"

namespace tovali {

namespace {
constexpr int kMakerWidth = 200;
}

AboutPanel::AboutPanel()
    : m_picture(tr("Hide the message"), pictures::Picture::StarBurst, kWidth, kHeight),
      m_logo(pictures::picture(pictures::Picture::Logo, 108, 44)) {
  set_halign(Gtk::ALIGN_START);
  set_valign(Gtk::ALIGN_START);
  set_size_request(kWidth, kHeight);
  set_no_show_all(true);
  set_name("about_panel");

  // Short lines in a small font, centred on the star: they stay on its
  // body and off the white between its spikes.
  m_maker.set_markup("<b>Tovali Explorer</b>\n<small>" +
                     Glib::Markup::escape_text(
                         tr("A safe web browser for children\nmade by the Tovali Explorer team")) +
                     "</small>");
  m_maker.set_justify(Gtk::JUSTIFY_CENTER);
  m_maker.set_xalign(0.5);
  m_maker.set_size_request(kMakerWidth, -1);
  m_version.set_text(version_label_text());
  put(m_picture, 0, 0);
  put(m_logo, 122, 30);
  put(m_maker, (kWidth - kMakerWidth) / 2, 84);
  put(m_version, 130, 140);
  put(m_close, 146, 170);
  m_close.signal_clicked().connect([this] { hide(); });
  for (Gtk::Widget* child : get_children()) child->show_all();
}

void AboutPanel::show_centred(int window_width, int window_height) {
  const PanelPlace place = centre_in_window(window_width, window_height, kWidth, kHeight);
  set_margin_start(std::max(place.left, 0));
  set_margin_top(std::max(place.top, 0));
  show();
}

}  // namespace tovali
