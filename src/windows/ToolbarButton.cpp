#include "windows/ToolbarButton.h"

#include "windows/ShellPictures.h"

namespace tovali {

ToolbarButton::ToolbarButton(const std::string& caption,
                             std::initializer_list<const char*> icon_names)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 1), m_caption(caption) {
  if (auto icon = pictures::theme_icon(icon_names, 24)) m_image.set(icon);
  m_button.set_image(m_image);
  m_button.set_always_show_image(true);
  m_button.set_relief(Gtk::RELIEF_NONE);
  m_button.set_focus_on_click(false);
  m_button.set_size_request(kWidth, kHeight);
  m_button.set_tooltip_text(caption);
  m_button.set_name(caption);
  // The caption is a label of its own beside the picture: name the button.
  m_button.get_accessible()->set_name(caption);
  m_caption.set_size_request(kWidth, kCaptionHeight);
  m_caption.set_justify(Gtk::JUSTIFY_CENTER);
  pack_start(m_button, Gtk::PACK_SHRINK);
  pack_start(m_caption, Gtk::PACK_SHRINK);
}

}  // namespace tovali
