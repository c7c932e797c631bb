#include "ui/parent/PasswordForm.h"

#include "base/Translate.h"
#include "crypto/PasswordHash.h"
#include "models/PasswordChange.h"
#include "ui/widgets/TitleBar.h"

namespace tovali {

PasswordForm::PasswordForm(Gtk::Window* parent) {
  set_title(tr("Enter Password"));
  set_name("PasswordForm");
  TitleBar::keep_fixed_modal(*this, parent);
  set_size_request(149, 186);

  m_password_panel.set_shadow_type(Gtk::SHADOW_IN);
  m_column.set_border_width(8);
  m_label.set_halign(Gtk::ALIGN_START);
  m_password_edit.set_visibility(false);
  m_password_edit.set_invisible_char('*');
  m_password_edit.set_activates_default(true);
  m_password_edit.set_width_chars(8);
  m_password_edit.set_name("PasswordEdit");
  m_wrong_password.set_halign(Gtk::ALIGN_START);
  m_wrong_password.set_name("WrongPassword");
  m_wrong_password.set_no_show_all(true);
  m_wrong_password.hide();

  m_column.pack_start(m_label, Gtk::PACK_SHRINK);
  m_column.pack_start(m_password_edit, Gtk::PACK_SHRINK);
  m_column.pack_start(m_wrong_password, Gtk::PACK_SHRINK);
  m_column.pack_end(m_cancel, Gtk::PACK_SHRINK);
  m_column.pack_end(m_ok, Gtk::PACK_SHRINK);
  m_password_panel.add(m_column);
  get_content_area()->pack_start(m_password_panel, Gtk::PACK_EXPAND_WIDGET);
  get_action_area()->hide();

  m_ok.signal_clicked().connect([this] { response(Gtk::RESPONSE_OK); });
  m_cancel.signal_clicked().connect([this] { response(Gtk::RESPONSE_CANCEL); });
  m_ok.set_can_default(true);
  set_default(m_ok);
  show_all_children();
  m_password_edit.grab_focus();
}

bool PasswordForm::GetPassword(const Settings& settings) {
  for (;;) {
    m_password_edit.grab_focus();
    const int response = run();
    if (response != Gtk::RESPONSE_OK) return false;
    if (password_matches(m_password_edit.get_text().raw(), settings, &password_matches_hash)) {
      return true;
    }
    m_wrong_password.show();
    m_password_edit.set_text("");
  }
}

bool GetPassword(Gtk::Window* parent, const Settings& settings) {
  PasswordForm form(parent);
  const bool right = form.GetPassword(settings);
  form.hide();
  return right;
}

}  // namespace tovali
