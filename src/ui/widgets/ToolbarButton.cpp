#include "ui/widgets/ToolbarButton.h"

#include <gtkmm/cssprovider.h>

#include "ui/widgets/ShellPictures.h"

namespace tovali {

ToolbarButton::ToolbarButton(const std::string& caption,
                             std::initializer_list<const char*> icon_names)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 1), m_caption(caption) {
  m_icon = pictures::theme_icon(icon_names, 24);
  m_greyed_icon = pictures::greyed(m_icon);
  if (m_icon) m_image.set(m_icon);
  // The greyed picture is the whole disabled look; the theme's own dimming
  // on top of it would wash it out.
  auto css = Gtk::CssProvider::create();
  css->load_from_data("image { -gtk-icon-effect: none; }");
  m_image.get_style_context()->add_provider(css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
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

void ToolbarButton::set_enabled(bool enabled) {
  m_button.set_sensitive(enabled);
  const Glib::RefPtr<Gdk::Pixbuf>& picture = enabled ? m_icon : m_greyed_icon;
  if (picture) m_image.set(picture);
}

}  // namespace tovali
