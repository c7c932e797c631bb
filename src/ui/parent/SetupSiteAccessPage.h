#pragma once

#include <gtkmm/box.h>

#include "models/DisplayText.h"
#include "models/RefusedSites.h"
#include "models/SetupModel.h"
#include "ui/parent/MoreSitesGrid.h"
#include "ui/widgets/LinesField.h"

namespace tovali {

class Settings;

// The Site Access tab of the setup dialog: the "More Sites" grid and the
// lists of prohibited domains and URLs.
class SetupSiteAccessPage : public Gtk::Box {
 public:
  SetupSiteAccessPage();

  // Shows the grid and the lists of `model`, through `display`.
  void show(const SetupModel& model, DisplayTextMap& display);
  // Reads the grid and the lists into `model`, through `display`.
  void read(SetupModel& model, const DisplayTextMap& display) const;
  // Locks the grid and the lists that the administrator keeps.
  void show_locks(const Settings& settings);
  // Adds a refused site to the grid, unless the administrator keeps it.
  void add_site(const RefusedSite& site, DisplayTextMap& display);
  // Ends an edit of the grid still open, keeping its text.
  void commit_pending_edit() { m_moresites_grid.commit_pending_edit(); }

 private:
  // Tests reach the controls through it.
  friend class SetupFormTestAccess;

  MoreSitesGrid m_moresites_grid;
  LinesField m_prohibited_domains_memo{"prohibited_domains_memo"};
  LinesField m_prohibited_urls_memo{"prohibited_urls_memo"};
};

}  // namespace tovali
