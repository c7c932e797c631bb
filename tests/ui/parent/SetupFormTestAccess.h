#pragma once

#include <string>

#include "ui/parent/SetupForm.h"

namespace tovali {

// The handlers and the named controls of one setup dialog, for tests that
// drive it as the parent would.
class SetupFormTestAccess {
 public:
  explicit SetupFormTestAccess(SetupForm& form) : m_form(form) {}

  void on_ok_clicked() { m_form.on_ok_clicked(); }
  void on_apply_clicked() { m_form.on_apply_clicked(); }
  void on_set_password_clicked() { m_form.on_set_password_clicked(); }
  void on_help_clicked() { m_form.on_help_clicked(); }
  void on_feedback_clicked() { m_form.on_feedback_clicked(); }

  Gtk::Notebook& tabs() { return m_form.m_tabs; }
  // The check box and the entry of the setting `name`; throws
  // std::out_of_range for a name the dialog has none for.
  Gtk::CheckButton& check(const std::string& name) { return m_form.m_switches.check(name); }
  Gtk::Entry& entry(const std::string& name) { return m_form.m_switches.entry(name); }
  // One of the three lists of the prohibited sites and file extensions, by
  // its widget name.
  LinesField& memo(const std::string& name) {
    if (name == "prohibited_domains_memo") return m_form.m_site_access.m_prohibited_domains_memo;
    if (name == "prohibited_urls_memo") return m_form.m_site_access.m_prohibited_urls_memo;
    return m_form.m_downloads.m_prohibited_file_exts_memo;
  }
  MoreSitesGrid& moresites_grid() { return m_form.m_site_access.m_moresites_grid; }
  Gtk::Entry& current_password() { return m_form.m_password.m_current_password; }
  Gtk::Entry& new_password() { return m_form.m_password.m_new_password; }
  Gtk::Entry& new_password_again() { return m_form.m_password.m_new_password_again; }
  Gtk::Button& set_password_button() { return *m_form.m_password.m_set_password; }
  Gtk::Label& password_note() { return *m_form.m_password.m_password_note; }
  Gtk::Label& own_files_password_note() { return *m_form.m_password.m_own_files_note; }
  RefusedSitesPage& refused_sites() { return m_form.m_refused_sites; }
  SetupTimePage& time_page() { return m_form.m_time_page; }
  SetupMenuPage& menu_page() { return m_form.m_menu_page; }
  SetupActivityPage& activity_page() { return m_form.m_activity_page; }
  Gtk::Widget& browser_page() { return m_form.m_browser_page; }
  Gtk::Label& feedback_label() { return m_form.m_browser_page.m_feedback_label; }
  Gtk::Widget& label_panel() { return m_form.m_browser_page.m_label_panel; }
  // The Browser tab's view; nullptr until Help or Send Feedback made it.
  EmbeddedWB* browser_view() { return m_form.m_browser_page.m_browser.get(); }
  // The warnings raised while filling, not yet shown.
  int pending_configuration_warnings() const { return m_form.m_load_warnings; }

 private:
  SetupForm& m_form;
};

}  // namespace tovali
