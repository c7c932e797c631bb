#include "ui/widgets/LinesField.h"

namespace tovali {

LinesField::LinesField(const char* name) {
  set_name(name);
  m_view.set_name(name);
  m_view.set_wrap_mode(Gtk::WRAP_NONE);
  m_view.set_accepts_tab(false);
  set_shadow_type(Gtk::SHADOW_IN);
  set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  add(m_view);
}

void LinesField::set_lines(const TextList& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  m_view.get_buffer()->set_text(text);
}

TextList LinesField::lines() const {
  const auto buffer = m_view.get_buffer();
  return split_lines(buffer->get_text(buffer->begin(), buffer->end(), true).raw());
}

}  // namespace tovali
