#include "ui/parent/SetupButtonsPage.h"

#include "base/Translate.h"
#include "settings/SettingsKeys.h"
#include "ui/parent/SetupLayout.h"

namespace tovali {

SetupButtonsPage::SetupButtonsPage(SetupSwitches& switches)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4) {
  set_border_width(10);
  auto& home = SetupLayout::group(*this, tr("Home Site: "));
  home.pack_start(SetupLayout::label(tr("On startup and when Home button is clicked, load\n"
                                        "navigation frame (left frame) from this URL:")),
                  Gtk::PACK_SHRINK);
  home.pack_start(switches.add_entry(keys::home_button_url), Gtk::PACK_SHRINK);
  switches.add_checks(home, SetupPlace::HomeSite);

  auto& email = SetupLayout::group(*this, tr("E-mail Button: "));
  switches.add_checks(email, SetupPlace::EmailButton);
  email.pack_start(SetupLayout::label(tr("When email button is clicked, load this URL:")),
                   Gtk::PACK_SHRINK);
  email.pack_start(switches.add_entry(keys::email_url), Gtk::PACK_SHRINK);

  auto* row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 12));
  pack_start(*row, Gtk::PACK_SHRINK);
  auto& print = SetupLayout::group(*row, tr("Print Button: "));
  switches.add_checks(print, SetupPlace::PrintButton);
  auto& close = SetupLayout::group(*row, tr("Close Button: "));
  switches.add_checks(close, SetupPlace::CloseButton);
  close.set_valign(Gtk::ALIGN_START);
}

}  // namespace tovali
