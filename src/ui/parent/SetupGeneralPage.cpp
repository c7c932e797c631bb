#include "ui/parent/SetupGeneralPage.h"

#include "base/Translate.h"
#include "settings/SettingsKeys.h"
#include "ui/parent/SetupLayout.h"

namespace tovali {

SetupGeneralPage::SetupGeneralPage(SetupSwitches& switches)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4) {
  set_border_width(10);
  switches.add_checks(*this, SetupPlace::General);
  auto& main_group = SetupLayout::group(*this, "");
  main_group.pack_start(SetupLayout::label(tr("Load main frame (right frame) from this URL:")),
                        Gtk::PACK_SHRINK);
  main_group.pack_start(switches.add_entry(keys::load_main_url), Gtk::PACK_SHRINK);
  switches.add_checks(main_group, SetupPlace::MainFrame);
  switches.add_checks(*this, SetupPlace::PageLoads);
}

}  // namespace tovali
