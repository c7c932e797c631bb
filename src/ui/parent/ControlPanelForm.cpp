#include "ui/parent/ControlPanelForm.h"

#include "models/ControlPanelActions.h"
#include "ui/widgets/TitleBar.h"

namespace tovali {

ControlPanelForm::ControlPanelForm(Gtk::Window* parent, ControlPanelHost& host) : m_host(host) {
  set_title("Tovali Explorer");
  set_name("ControlPanelForm");
  TitleBar::keep_fixed_modal(*this, parent);
  set_size_request(247, 325);
  override_background_color(Gdk::RGBA("white"));
  m_background.override_background_color(Gdk::RGBA("white"));

  m_column.set_border_width(4);
  m_setup_image.set_halign(Gtk::ALIGN_END);
  m_column.pack_start(m_close_image, Gtk::PACK_SHRINK);
  m_column.pack_start(m_setup_image, Gtk::PACK_EXPAND_PADDING);
  m_column.pack_end(m_ok_image, Gtk::PACK_SHRINK);
  m_background.add(m_column);
  get_content_area()->pack_start(m_background, Gtk::PACK_EXPAND_WIDGET);
  get_content_area()->set_border_width(0);
  get_action_area()->hide();

  m_close_image.signal_clicked().connect([this] { on_close_picture_clicked(); });
  m_setup_image.signal_clicked().connect([this] { on_setup_picture_clicked(); });
  m_ok_image.signal_clicked().connect([this] { on_ok_picture_clicked(); });
  show_all_children();
  // The pictures take the keyboard too: it starts on OK, which only goes
  // back to browsing, rather than on the first picture, which closes the
  // program.
  m_ok_image.grab_focus();
}

void ControlPanelForm::on_close_picture_clicked() {
  if (tovali::close_picture_clicked(m_host) == PanelAfterClick::Close) response(Gtk::RESPONSE_OK);
}

void ControlPanelForm::on_setup_picture_clicked() {
  if (tovali::setup_picture_clicked(m_host) == PanelAfterClick::Close) response(Gtk::RESPONSE_OK);
}

void ControlPanelForm::on_ok_picture_clicked() {
  if (tovali::ok_picture_clicked() == PanelAfterClick::Close) response(Gtk::RESPONSE_OK);
}

void ControlPanelForm::run_modal() {
  run();
  hide();
}

void open_control_panel(Gtk::Window* parent, ControlPanelHost& host) {
  ControlPanelForm panel(parent, host);
  panel.run_modal();
}

}  // namespace tovali
