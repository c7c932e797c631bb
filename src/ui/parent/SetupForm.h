#pragma once

#include <string>
#include <string_view>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/label.h>
#include <gtkmm/notebook.h>

#include "base/Translate.h"
#include "models/DisplayText.h"
#include "models/SetupHost.h"
#include "models/SetupModel.h"
#include "ui/parent/RefusedSitesPage.h"
#include "ui/parent/SetupActivityPage.h"
#include "ui/parent/SetupBrowserPage.h"
#include "ui/parent/SetupButtonsPage.h"
#include "ui/parent/SetupDownloadsPage.h"
#include "ui/parent/SetupGeneralPage.h"
#include "ui/parent/SetupMenuPage.h"
#include "ui/parent/SetupPasswordPage.h"
#include "ui/parent/SetupSiteAccessPage.h"
#include "ui/parent/SetupSwitches.h"
#include "ui/parent/SetupTimePage.h"

namespace tovali {

// The setup dialog "Tovali Explorer Setup": every setting of the program on
// nine tabs (and the refused sites and the child's activity on two more),
// applied by OK.
class SetupForm : public Gtk::Dialog {
 public:
  // The dialog's size: the pages and the column of tabs beside them, well
  // inside a 1024x768 screen with the title bar and a panel.
  static constexpr int kWidth = 840;
  static constexpr int kHeight = 520;

  SetupForm(Gtk::Window* parent, SetupHost& host);
  ~SetupForm() override;

  // Raises the configuration warnings of the filling, then shows the dialog
  // modally until OK or Cancel closes it.
  void run_modal();

 private:
  // Tests reach the handlers and the controls through it.
  friend class SetupFormTestAccess;

  void on_ok_clicked();
  void on_apply_clicked();
  void on_set_password_clicked();
  void on_help_clicked();
  void on_feedback_clicked();

  void build_bottom_bar();

  void fill_controls();
  // Makes the controls of the keys that the administrator locked insensitive,
  // with the tooltip "Set by the administrator".
  void show_locks();
  void show_model(const SetupModel& model);
  SetupModel read_model() const;
  void on_download_config_clicked();
  void show_browser_tab(const char* caption);
  void message(std::string_view text);
  // The whole apply; false when the time settings were refused (nothing
  // applied then).
  bool apply();

  SetupHost& m_host;
  DisplayTextMap m_display;
  int m_load_warnings = 0;
  bool m_filling = true;

  Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Notebook m_tabs;
  SetupSwitches m_switches;
  SetupGeneralPage m_general{m_switches};
  SetupPasswordPage m_password{m_switches, m_host,
                               [this](std::string_view text) { message(text); }};
  SetupButtonsPage m_buttons{m_switches};
  SetupSiteAccessPage m_site_access;
  SetupDownloadsPage m_downloads;
  SetupBrowserPage m_browser_page{m_host};
  Gtk::Label* m_browser_tab_label = nullptr;  // owned by the notebook
  RefusedSitesPage m_refused_sites;
  SetupTimePage m_time_page;
  SetupMenuPage m_menu_page;
  SetupActivityPage m_activity_page;

  Gtk::Box m_bottom{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::Button m_save_button{tr("OK")};
  Gtk::Button m_cancel_button{tr("Cancel")};
  Gtk::Button m_help_button{tr("Help")};
  Gtk::Button m_apply_button{tr("Apply")};
  Gtk::Label m_feedback_question{tr("Are you having problems or do you want additional features?")};
  Gtk::Button m_feedback_button{tr("Send Feedback")};
};

// Shows a fresh setup dialog for `host` on top of `parent` and returns when
// it has closed (the main window's OpenSetup).
void open_setup_form(Gtk::Window* parent, SetupHost& host);

}  // namespace tovali
