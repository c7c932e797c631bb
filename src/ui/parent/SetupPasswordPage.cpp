#include "ui/parent/SetupPasswordPage.h"

#include <utility>

#include <gtkmm/grid.h>

#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "ui/parent/SetupLayout.h"

namespace tovali {

SetupPasswordPage::SetupPasswordPage(SetupSwitches& switches, SetupHost& host, MessageSink show)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4), m_host(host), m_show(std::move(show)) {
  set_border_width(10);
  switches.add_checks(*this, SetupPlace::Password);

  auto* row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 12));
  pack_start(*row, Gtk::PACK_SHRINK);
  auto& group = SetupLayout::group(*row, tr("Change Password: "));
  group.pack_start(SetupLayout::label(tr("Enter the current password and the new password twice:")),
                   Gtk::PACK_SHRINK);
  auto* fields = Gtk::manage(new Gtk::Grid());
  fields->set_row_spacing(4);
  fields->set_column_spacing(6);
  const std::pair<const char*, Gtk::Entry*> rows[] = {
      {tr("Current Password:"), &m_current_password},
      {tr("New Password:"), &m_new_password},
      {tr("New Password Again:"), &m_new_password_again},
  };
  int top = 0;
  for (const auto& [caption, field] : rows) {
    fields->attach(SetupLayout::label(caption), 0, top, 1, 1);
    field->set_visibility(false);
    field->set_invisible_char('*');
    fields->attach(*field, 1, top, 1, 1);
    ++top;
  }
  m_current_password.set_name("current_password");
  m_new_password.set_name("new_password");
  m_new_password_again.set_name("new_password_again");
  group.pack_start(*fields, Gtk::PACK_SHRINK);
  m_set_password = Gtk::manage(new Gtk::Button(tr("Set Password")));
  m_set_password->set_name("set_password_button");
  m_set_password->set_halign(Gtk::ALIGN_END);
  m_set_password->signal_clicked().connect([this] { set_password(); });
  group.pack_start(*m_set_password, Gtk::PACK_SHRINK);

  auto& note = SetupLayout::label(tr(kFactoryPasswordNote), SetupLayout::Wrap::On);
  m_password_note = &note;
  note.set_name("password_note");
  note.set_valign(Gtk::ALIGN_START);
  note.set_max_width_chars(22);
  row->pack_start(note, Gtk::PACK_EXPAND_WIDGET);

  auto& own_files = SetupLayout::label(tr(kOwnFilesPasswordNote), SetupLayout::Wrap::On);
  m_own_files_note = &own_files;
  own_files.set_name("own_files_password_note");
  // Two lines within the dialog's 640 pixels, the command whole on the second.
  own_files.set_max_width_chars(75);
  own_files.set_no_show_all(true);
  pack_start(own_files, Gtk::PACK_SHRINK);
}

void SetupPasswordPage::set_password() {
  // The current password is compared as typed (password_matches knows a
  // stored password in another encoding); it shows no stored value, so the
  // display map of the other fields must not rewrite it.
  const auto outcome =
      tovali::set_password(m_host, m_current_password.get_text().raw(),
                           m_new_password.get_text().raw(), m_new_password_again.get_text().raw());
  m_show(outcome.message);
  if (outcome.result == PasswordChangeResult::NewPasswordsDiffer) {
    m_new_password.set_text("");
    m_new_password_again.set_text("");
    m_new_password.grab_focus();
  }
}

void SetupPasswordPage::show_locks(const Settings& settings) {
  m_password_note->set_text(password_note(settings));
  m_own_files_note->set_visible(password_kept_in_own_files(settings));
  if (password_change_locked(settings)) {
    for (Gtk::Widget* control : {static_cast<Gtk::Widget*>(&m_current_password),
                                 static_cast<Gtk::Widget*>(&m_new_password),
                                 static_cast<Gtk::Widget*>(&m_new_password_again),
                                 static_cast<Gtk::Widget*>(m_set_password)}) {
      SetupLayout::lock(*control);
    }
  }
}

}  // namespace tovali
