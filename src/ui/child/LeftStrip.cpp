#include "ui/child/LeftStrip.h"

#include <string>

#include "base/Translate.h"

namespace tovali {

namespace {

// One word written one letter per line, with an empty first line.
std::string vertical_word(const std::string& word) {
  std::string text;
  for (char byte : word) {
    // A new line before each letter: before every byte that does not
    // continue a UTF-8 sequence.
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) text += '\n';
    text += byte;
  }
  return text;
}

const Gdk::RGBA kSilver("#c0c0c0");

}  // namespace

LeftStrip::LeftStrip() {
  override_background_color(kSilver);
  set_size_request(16, -1);
  m_loading_label.set_text(vertical_word(tr("loading")));
  m_hide_label.set_text(vertical_word(tr("hide")));
  m_show_label.set_text(vertical_word(tr("show")));
  m_loading_label.set_size_request(16, 128);
  m_hide_label.set_size_request(16, 80);
  m_show_label.set_size_request(16, 80);
  for (Gtk::Label* label : {&m_loading_label, &m_hide_label, &m_show_label}) {
    label->set_valign(Gtk::ALIGN_START);
    label->set_justify(Gtk::JUSTIFY_CENTER);
  }
  m_loading_label.set_no_show_all(true);
  m_hide_box.add(m_hide_label);
  m_show_box.add(m_show_label);
  m_hide_box.set_name("hide_label");
  m_show_box.set_name("show_label");
  m_show_box.set_no_show_all(true);
  m_show_label.show();
  m_hide_box.signal_clicked().connect([this] { on_hide_clicked(); });
  m_show_box.signal_clicked().connect([this] { on_show_clicked(); });
  m_loading_box.pack_start(m_loading_label, Gtk::PACK_SHRINK);
  m_loading_box.pack_start(m_hide_box, Gtk::PACK_SHRINK);
  m_loading_box.pack_start(m_show_box, Gtk::PACK_SHRINK);
  add(m_loading_box);
}

void LeftStrip::show_loading() {
  m_hide_box.hide();
  m_loading_label.show();
}

void LeftStrip::hide_loading() {
  m_loading_label.hide();
  if (!m_show_box.get_visible()) m_hide_box.show();
}

void LeftStrip::on_hide_clicked() {
  if (on_hide) on_hide();
  m_hide_box.hide();
  m_show_box.show();
}

void LeftStrip::on_show_clicked() {
  if (on_show) on_show();
  m_show_box.hide();
  m_hide_box.show();
}

}  // namespace tovali
