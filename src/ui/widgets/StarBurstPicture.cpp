#include "ui/widgets/StarBurstPicture.h"

#include <algorithm>

#include <glibmm/markup.h>

namespace tovali {

namespace {

// The star-burst in full, or its top `height` rows in a lower area.
Glib::RefPtr<Gdk::Pixbuf> burst_picture(int height) {
  auto burst = pictures::picture(pictures::Picture::NavyStarBurst, StarBurstPicture::kPictureWidth,
                                 StarBurstPicture::kPictureHeight);
  if (height >= StarBurstPicture::kPictureHeight || height < 1) return burst;
  return Gdk::Pixbuf::create_subpixbuf(burst, 0, 0, StarBurstPicture::kPictureWidth, height);
}

}  // namespace

StarBurstPicture::StarBurstPicture(const std::string& word, int width, int height)
    : PictureButton(word, MouseClicks::Single, HandCursor::On), m_burst(burst_picture(height)) {
  set_size_request(width, height);
  set_halign(Gtk::ALIGN_START);
  set_valign(Gtk::ALIGN_START);
  set_name(word);
  set_tooltip_text(word);
  // The word in white, 22 pixels high, in the middle of the whole star
  // even when its bottom rows are cut off.
  m_word.set_margin_top(std::max(kPictureHeight - height, 0));
  m_word.set_markup("<span font_desc=\"Sans Bold 22px\" foreground=\"#ffffff\">" +
                    Glib::Markup::escape_text(word) + "</span>");
  m_overlay.set_halign(Gtk::ALIGN_START);
  m_overlay.set_valign(Gtk::ALIGN_START);
  m_overlay.add(m_burst);
  m_overlay.add_overlay(m_word);
  m_overlay.show_all();
  add(m_overlay);
}

}  // namespace tovali
