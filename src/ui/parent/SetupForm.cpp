#include "ui/parent/SetupForm.h"

#include <gtkmm/cssprovider.h>

#include "activity/LocalDate.h"
#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "policy/UrlText.h"
#include "settings/SettingsKeys.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/TitleBar.h"

namespace tovali {

SetupForm::SetupForm(Gtk::Window* parent, SetupHost& host) : m_host(host) {
  set_title(tr("Tovali Explorer Setup"));
  set_name("SetupForm");
  TitleBar::keep_fixed_modal(*this, parent);
  set_default_size(kWidth, kHeight);
  set_size_request(kWidth, kHeight);

  m_switches.on_configuration_toggled = [this] { on_download_config_clicked(); };
  m_tabs.append_page(m_general, tr("General"));
  m_tabs.append_page(m_password, tr("Password"));
  m_tabs.append_page(m_buttons, tr("Buttons"));
  m_tabs.append_page(m_site_access, tr("Site Access"));
  m_tabs.append_page(m_downloads, tr("Downloads"));
  m_browser_tab_label = Gtk::manage(new Gtk::Label(tr("Browser")));
  m_tabs.append_page(m_browser_page, *m_browser_tab_label);
  m_tabs.append_page(m_refused_sites, tr("Refused Sites"));
  m_tabs.append_page(m_time_page, tr("Time"));
  m_tabs.append_page(m_menu_page, tr("Menu"));
  m_tabs.append_page(m_activity_page, tr("Activity"));
  m_time_page.on_add_minutes = [this] {
    m_host.add_extra_minutes();
    m_activity_page.show_record(m_host.activity_record(), local_moment_now().date);
  };
  m_tabs.set_name("tabs");
  // The tabs stand in a column at the left, one under the other, so every
  // one of them shows without scrolling and a tab added later takes a row,
  // not width.
  m_tabs.set_tab_pos(Gtk::POS_LEFT);
  m_tabs.set_scrollable(false);
  for (int i = 0; i < m_tabs.get_n_pages(); ++i) {
    Gtk::Widget* label = m_tabs.get_tab_label(*m_tabs.get_nth_page(i));
    if (auto* text = dynamic_cast<Gtk::Label*>(label)) text->set_xalign(0);
  }
  auto css = Gtk::CssProvider::create();
  css->load_from_data("notebook tab { padding: 3px 10px; min-height: 24px; }");
  m_tabs.get_style_context()->add_provider(css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);

  build_bottom_bar();
  m_layout.set_border_width(6);
  m_layout.pack_start(m_tabs, Gtk::PACK_EXPAND_WIDGET);
  m_layout.pack_start(m_bottom, Gtk::PACK_SHRINK);
  get_content_area()->pack_start(m_layout, Gtk::PACK_EXPAND_WIDGET);
  get_action_area()->hide();
  show_all_children();

  fill_controls();
}

SetupForm::~SetupForm() = default;

void SetupForm::build_bottom_bar() {
  m_save_button.set_name("ok_button");
  m_cancel_button.set_name("cancel_button");
  m_help_button.set_name("help_button");
  m_apply_button.set_name("apply_button");
  m_feedback_button.set_name("feedback_button");
  m_bottom.pack_start(m_save_button, Gtk::PACK_SHRINK);
  m_bottom.pack_start(m_cancel_button, Gtk::PACK_SHRINK);
  m_bottom.pack_start(m_help_button, Gtk::PACK_SHRINK);
  m_bottom.pack_start(m_apply_button, Gtk::PACK_SHRINK);
  m_bottom.pack_end(m_feedback_button, Gtk::PACK_SHRINK);
  m_bottom.pack_end(m_feedback_question, Gtk::PACK_SHRINK);
  m_feedback_question.set_line_wrap(true);
  m_feedback_question.set_max_width_chars(34);
  m_feedback_question.set_justify(Gtk::JUSTIFY_RIGHT);
  m_apply_button.set_no_show_all(true);

  m_save_button.signal_clicked().connect([this] { on_ok_clicked(); });
  m_cancel_button.signal_clicked().connect([this] { response(Gtk::RESPONSE_CANCEL); });
  m_help_button.signal_clicked().connect([this] { on_help_clicked(); });
  m_apply_button.signal_clicked().connect([this] { on_apply_clicked(); });
  m_feedback_button.signal_clicked().connect([this] { on_feedback_clicked(); });
  m_save_button.set_can_default(true);
}

void SetupForm::fill_controls() {
  m_filling = true;
  m_browser_page.hide();
  m_tabs.set_current_page(0);
  const SetupLoad load = load_setup_model(m_host.settings());
  m_load_warnings = load.configuration_warnings;
  show_model(load.model);
  m_refused_sites.set_sites(aggregate_refused_sites(
      m_host.prohibited_log().entries(), [](std::string_view url) { return ExtractDomain(url); }));
  m_refused_sites.on_add = [this](const RefusedSite& site) {
    m_site_access.add_site(site, m_display);
  };
  m_time_page.fill(m_host.settings());
  m_menu_page.fill(m_host.settings());
  m_activity_page.show_record(m_host.activity_record(), local_moment_now().date);
  show_locks();
  m_filling = false;
}

void SetupForm::show_locks() {
  const Settings& settings = m_host.settings();
  m_switches.show_locks(settings);
  m_site_access.show_locks(settings);
  if (more_sites_locked(settings)) m_refused_sites.lock_adding();
  m_downloads.show_locks(settings);
  m_password.show_locks(settings);
}

void SetupForm::show_model(const SetupModel& model) {
  m_switches.show(model, m_display);
  m_site_access.show(model, m_display);
  m_downloads.show(model, m_display);
}

SetupModel SetupForm::read_model() const {
  SetupModel model;
  m_switches.read(model, m_display);
  m_site_access.read(model, m_display);
  m_downloads.read(model, m_display);
  return model;
}

void SetupForm::message(std::string_view text) {
  show_message(*this, text);
}

void SetupForm::on_download_config_clicked() {
  if (m_filling) return;
  if (!m_switches.check(keys::download_config).get_active()) message(tr(kConfigurationWarning));
}

void SetupForm::on_apply_clicked() {
  apply();
}

bool SetupForm::apply() {
  if (!m_time_page.store(m_host.settings(), [this](std::string_view text) { message(text); }))
    return false;
  m_menu_page.store(m_host.settings());
  m_site_access.commit_pending_edit();
  SetupModel model = read_model();
  apply_setup(model, m_host, [this](std::string_view text) { message(text); });
  // Show the switches that the apply forced on or off.
  for (const SetupCheck& box : setup_checks()) {
    if (box.when_text_empty != WhenTextEmpty::Keep)
      m_switches.check(box.key).set_active(model.*box.member);
  }
  m_host.update_daily_limits();
  return true;
}

void SetupForm::on_ok_clicked() {
  if (apply()) response(Gtk::RESPONSE_OK);
}

void SetupForm::on_set_password_clicked() {
  m_password.set_password();
}

void SetupForm::show_browser_tab(const char* caption) {
  m_browser_tab_label->set_text(caption);
  m_browser_page.show();
  // The notebook would show the label only at its next size request.
  m_browser_tab_label->show();
  m_tabs.set_current_page(m_tabs.page_num(m_browser_page));
}

void SetupForm::on_help_clicked() {
  show_browser_tab(tr("Help"));
  m_browser_page.open_help();
}

void SetupForm::on_feedback_clicked() {
  show_browser_tab(tr("Feedback Browser"));
  m_browser_page.open_feedback();
}

void SetupForm::run_modal() {
  const auto startup_problem = startup_save_failure_message(m_host.startup_save_report());
  if (!startup_problem.empty()) message(startup_problem);
  const auto system_problem = system_settings_problem_message(m_host.system_settings_problems());
  if (!system_problem.empty()) message(system_problem);
  const std::string activity_problems = m_host.activity_problems();
  if (!activity_problems.empty())
    message(tr("Some of the child's activity records were damaged and have been set aside:\n") +
            activity_problems);
  for (int i = 0; i < m_load_warnings; ++i) message(tr(kConfigurationWarning));
  m_load_warnings = 0;
  run();
  hide();
}

void open_setup_form(Gtk::Window* parent, SetupHost& host) {
  SetupForm form(parent, host);
  form.run_modal();
}

}  // namespace tovali
