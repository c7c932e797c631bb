#include "ui/parent/WelcomeDialog.h"

#include <atkmm/object.h>

#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "settings/SettingsKeys.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/TitleBar.h"

namespace tovali {

namespace {
constexpr int kDoneResponse = 1;
constexpr int kLaterResponse = 2;

void heading(Gtk::Label& label) {
  Pango::AttrList bold;
  Pango::Attribute weight = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
  bold.insert(weight);
  label.set_attributes(bold);
  label.set_xalign(0);
}
// The window's caption, large, at the top: the parent's windows have no
// title bar.
void title(Gtk::Label& label) {
  Pango::AttrList large;
  Pango::Attribute weight = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
  Pango::Attribute scale = Pango::Attribute::create_attr_scale(1.5);
  large.insert(weight);
  large.insert(scale);
  label.set_attributes(large);
  label.set_xalign(0);
  label.set_margin_bottom(6);
}
}  // namespace

WelcomeDialog::WelcomeDialog(Gtk::Window& parent, SetupHost& host)
    : Gtk::Dialog(tr(kWelcomeTitle), parent, true),
      m_host(host),
      m_parts(welcome_parts(host.settings())) {
  set_name("WelcomeDialog");
  get_accessible()->set_name(tr(kWelcomeTitle));
  TitleBar::keep_fixed_modal(*this, &parent);
  const Settings& settings = host.settings();

  m_grid.set_row_spacing(6);
  m_grid.set_column_spacing(8);
  int row = 0;
  title(m_title);
  m_grid.attach(m_title, 0, row++, 2, 1);
  if (!password_hash_in_force(settings)) {
    heading(m_password_heading);
    m_grid.attach(m_password_heading, 0, row++, 2, 1);
    for (Gtk::Entry* entry : {&m_new_password, &m_again}) {
      entry->set_visibility(false);
      entry->set_activates_default(true);
    }
    m_new_password.set_name("welcome_new_password");
    m_again.set_name("welcome_password_again");
    // A screen reader reads the field by the caption beside it.
    m_new_password.get_accessible()->set_name(tr(kWelcomeNewPassword));
    m_again.get_accessible()->set_name(tr(kWelcomePasswordAgain));
    m_new_password_label.set_xalign(0);
    m_again_label.set_xalign(0);
    m_new_password_label.set_mnemonic_widget(m_new_password);
    m_again_label.set_mnemonic_widget(m_again);
    m_grid.attach(m_new_password_label, 0, row);
    m_grid.attach(m_new_password, 1, row++);
    m_grid.attach(m_again_label, 0, row);
    m_grid.attach(m_again, 1, row++);
    if (password_kept_in_own_files(settings)) {
      m_own_files_note.set_line_wrap(true);
      m_own_files_note.set_max_width_chars(48);
      m_own_files_note.set_xalign(0);
      m_grid.attach(m_own_files_note, 0, row++, 2, 1);
    }
    if (!m_parts.password) {
      for (Gtk::Widget* widget :
           {static_cast<Gtk::Widget*>(&m_new_password), static_cast<Gtk::Widget*>(&m_again)})
        lock_part(*widget);
    }
  }

  m_ask_to_close.set_active(true);
  m_ask_for_setup.set_active(true);
  if (!m_parts.ask_to_close) {
    m_ask_to_close.set_active(settings.is_on(keys::req_pw_close));
    lock_part(m_ask_to_close);
  }
  if (!m_parts.ask_for_setup) {
    m_ask_for_setup.set_active(settings.is_on(keys::req_pw_config));
    lock_part(m_ask_for_setup);
  }
  m_grid.attach(m_ask_to_close, 0, row++, 2, 1);
  m_grid.attach(m_ask_for_setup, 0, row++, 2, 1);

  heading(m_sites_heading);
  m_grid.attach(m_sites_heading, 0, row++, 2, 1);
  m_home_site.join_group(m_own_sites);
  m_own_sites.set_active(true);
  m_home_address.set_name("welcome_home_address");
  m_home_address.set_placeholder_text("https://");
  m_home_address.get_accessible()->set_name(tr(kWelcomeHomeSite));
  m_grid.attach(m_own_sites, 0, row++, 2, 1);
  m_grid.attach(m_home_site, 0, row);
  m_grid.attach(m_home_address, 1, row++);
  // Typing an address chooses the home site.
  m_home_address.signal_changed().connect([this] { choose_home_site_when_typed(); });
  if (!m_parts.sites) {
    m_own_sites.set_active(settings.is_on(keys::local_menu));
    m_home_site.set_active(!settings.is_on(keys::local_menu));
    for (Gtk::Widget* widget :
         {static_cast<Gtk::Widget*>(&m_own_sites), static_cast<Gtk::Widget*>(&m_home_site),
          static_cast<Gtk::Widget*>(&m_home_address)})
      lock_part(*widget);
  }

  m_daily_time_label.set_xalign(0);
  m_daily_time_label.set_mnemonic_widget(m_daily_minutes);
  m_daily_minutes.set_name("welcome_daily_minutes");
  m_daily_minutes.get_accessible()->set_name(tr(kWelcomeDailyTime));
  m_daily_minutes.set_width_chars(6);
  m_daily_minutes.set_placeholder_text(tr("minutes"));
  m_grid.attach(m_daily_time_label, 0, row);
  m_grid.attach(m_daily_minutes, 1, row++);
  if (!m_parts.daily_time) {
    m_daily_minutes.set_text(settings.value(keys::daily_minutes));
    lock_part(m_daily_minutes);
  }

  m_message.set_name("welcome_message");
  m_message.set_line_wrap(true);
  m_message.set_max_width_chars(50);
  m_message.set_xalign(0);
  m_grid.attach(m_message, 0, row++, 2, 1);

  Gtk::Box& content = *get_content_area();
  content.set_spacing(6);
  content.set_border_width(12);
  content.pack_start(m_grid, Gtk::PACK_SHRINK);
  add_action_widget(m_later, kLaterResponse);
  add_action_widget(m_done, kDoneResponse);
  m_done.set_can_default(true);
  set_default(m_done);
  show_all_children();
  m_message.hide();
}

void WelcomeDialog::lock_part(Gtk::Widget& widget) {
  widget.set_sensitive(false);
  widget.set_tooltip_text(tr(kSetByAdministrator));
}

void WelcomeDialog::choose_home_site_when_typed() {
  if (m_parts.sites && !m_home_address.get_text().empty()) m_home_site.set_active(true);
}

WelcomeAnswers WelcomeDialog::answers() const {
  WelcomeAnswers answers;
  answers.new_password = m_new_password.get_text();
  answers.new_password_again = m_again.get_text();
  answers.ask_to_close = m_ask_to_close.get_active();
  answers.ask_for_setup = m_ask_for_setup.get_active();
  answers.sites = m_home_site.get_active() ? WelcomeSites::HomeSite : WelcomeSites::OwnMenu;
  answers.home_site = m_home_address.get_text();
  answers.daily_minutes = m_daily_minutes.get_text();
  return answers;
}

WelcomeResult WelcomeDialog::run_modal() {
  while (run() == kDoneResponse) {
    const WelcomeOutcome outcome = finish_welcome(m_host, answers());
    if (outcome.done) {
      if (!outcome.message.empty()) show_message(*this, outcome.message);
      hide();
      return outcome.result;
    }
    m_message.set_text(tr(outcome.message.c_str()));
    m_message.show();
  }
  hide();
  return WelcomeResult::Later;
}

}  // namespace tovali
