#pragma once

#include <map>
#include <memory>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/frame.h>
#include <gtkmm/grid.h>
#include <gtkmm/label.h>
#include <gtkmm/notebook.h>

#include "models/DisplayText.h"
#include "models/SetupHost.h"
#include "models/SetupModel.h"
#include "ui/parent/MoreSitesGrid.h"
#include "ui/parent/RefusedSitesPage.h"
#include "ui/parent/SetupActivityPage.h"
#include "ui/parent/SetupTimePage.h"
#include "ui/widgets/MemoView.h"

namespace tovali {

class EmbeddedWB;

// The feedback page on the maker's web site.
inline constexpr const char* kFeedbackURL = "http://www.example.com/tovali/feedback";

// The setup dialog "Tovali Explorer Setup": every setting of the program on
// eight tabs (and the refused sites and the child's activity on two more),
// applied by OK.
class SetupForm : public Gtk::Dialog {
 public:
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

  // The check box and the entry of a setting, by the setting's name.
  Gtk::CheckButton& check(const std::string& name);
  Gtk::CheckButton& check(SettingKey key) { return check(std::string(key.name())); }
  Gtk::Entry& entry(const std::string& name);
  Gtk::Entry& entry(SettingKey key) { return entry(std::string(key.name())); }

  // Adds the check boxes of `place` (see SetupChecks) to `box`, in order.
  void add_checks(Gtk::Box& box, SetupPlace place);
  Gtk::Entry& add_entry(SettingKey key);
  void build_general();
  void build_password();
  void build_buttons();
  void build_site_access();
  void build_downloads();
  void build_browser();
  void build_bottom_bar();

  void fill_controls();
  // Makes the controls of the keys that the administrator locked insensitive,
  // with the tooltip "Set by the administrator".
  void show_locks();
  void show_model(const SetupModel& model);
  SetupModel read_model() const;
  void on_download_config_clicked();
  void AddToMoreSites();
  void show_browser_tab(const char* caption);
  EmbeddedWB& browser();
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
  Gtk::Box m_general{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Box m_password{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Box m_buttons{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Box m_site_access{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Box m_downloads{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Box m_browser_page{Gtk::ORIENTATION_VERTICAL, 0};
  Gtk::Label* m_browser_tab_label = nullptr;  // owned by the notebook
  RefusedSitesPage m_refused_sites;
  SetupTimePage m_time_page;
  SetupActivityPage m_activity_page;

  std::map<std::string, Gtk::CheckButton*> m_checks;
  std::map<std::string, Gtk::Entry*> m_entries;
  Gtk::Entry m_current_password;
  Gtk::Entry m_new_password;
  Gtk::Entry m_new_password_again;
  Gtk::Button* m_set_password = nullptr;  // owned by its group
  Gtk::Label* m_password_note = nullptr;  // owned by the Password tab
  MoreSitesGrid m_moresites_grid;
  MemoView m_prohibited_domains_memo{"prohibited_domains_memo"};
  MemoView m_prohibited_urls_memo{"prohibited_urls_memo"};
  MemoView m_prohibited_file_exts_memo{"prohibited_file_exts_memo"};

  Gtk::Box m_label_panel{Gtk::ORIENTATION_VERTICAL, 0};
  Gtk::Label m_feedback_label;
  Gtk::Box m_browser_bar{Gtk::ORIENTATION_HORIZONTAL, 2};
  Gtk::Button m_back{"< Back"};
  Gtk::Button m_forward{"Forward >"};
  std::unique_ptr<EmbeddedWB> m_browser;

  Gtk::Box m_bottom{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::Button m_save_button{"OK"};
  Gtk::Button m_cancel_button{"Cancel"};
  Gtk::Button m_help_button{"Help"};
  Gtk::Button m_apply_button{"Apply"};
  Gtk::Label m_feedback_question{"Are you having problems or do you want additional features?"};
  Gtk::Button m_feedback_button{"Send Feedback"};
};

// Shows a fresh setup dialog for `host` on top of `parent` and returns when
// it has closed (the main window's OpenSetup).
void OpenSetupForm(Gtk::Window* parent, SetupHost& host);

}  // namespace tovali
