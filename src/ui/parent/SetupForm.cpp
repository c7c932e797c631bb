#include "ui/parent/SetupForm.h"

#include <gtkmm/cssprovider.h>
#include <gtkmm/scrolledwindow.h>

#include "activity/LocalDate.h"
#include "browser/EmbeddedWB.h"
#include "models/GeneratedPages.h"
#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "policy/SetupBrowserGuard.h"
#include "policy/UrlText.h"
#include "settings/SettingsKeys.h"
#include "ui/widgets/BorderIcons.h"
#include "ui/widgets/MessageBox.h"

namespace tovali {
namespace {

// A label that starts at the left and wraps when told to.
Gtk::Label& make_label(const char* text, bool wrap = false) {
  auto* label = Gtk::manage(new Gtk::Label(text));
  label->set_halign(Gtk::ALIGN_START);
  label->set_xalign(0);
  label->set_line_wrap(wrap);
  return *label;
}

// A titled group box holding a vertical column.
Gtk::Box& make_group(Gtk::Box& parent, const char* title) {
  auto* frame = Gtk::manage(new Gtk::Frame(title));
  auto* column = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4));
  column->set_border_width(6);
  frame->add(*column);
  parent.pack_start(*frame, Gtk::PACK_SHRINK);
  return *column;
}

const char* const kHelpPath = "setuphelp/setuphelp.html";

}  // namespace

SetupForm::SetupForm(Gtk::Window* parent, SetupHost& host) : m_host(host) {
  set_title("Tovali Explorer Setup");
  set_name("SetupForm");
  BorderIcons::keep_fixed_modal(*this, parent);
  set_default_size(640, 480);
  set_size_request(640, 480);

  build_general();
  build_password();
  build_buttons();
  build_site_access();
  build_downloads();
  build_browser();

  m_tabs.append_page(m_general, "General");
  m_tabs.append_page(m_password, "Password");
  m_tabs.append_page(m_buttons, "Buttons");
  m_tabs.append_page(m_site_access, "Site Access");
  m_tabs.append_page(m_downloads, "Downloads");
  m_browser_tab_label = Gtk::manage(new Gtk::Label("Browser"));
  m_tabs.append_page(m_browser_page, *m_browser_tab_label);
  m_tabs.append_page(m_refused_sites, "Refused Sites");
  m_tabs.append_page(m_time_page, "Time");
  m_tabs.append_page(m_activity_page, "Activity");
  m_time_page.on_add_minutes = [this] {
    m_host.AddExtraMinutes();
    m_activity_page.show_record(m_host.activity_record(), local_moment_now().date);
  };
  m_tabs.set_name("tabs");
  // Nine tabs do not fit 640 pixels in every theme; never widen the dialog.
  m_tabs.set_scrollable(true);
  auto css = Gtk::CssProvider::create();
  css->load_from_data("notebook tab { padding: 4px 8px; }");
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

void SetupForm::add_checks(Gtk::Box& box, SetupPlace place) {
  for (const SetupCheck& entry : SetupChecks()) {
    if (entry.place != place) continue;
    const std::string name(entry.key.name());
    auto* check = Gtk::manage(new Gtk::CheckButton(entry.caption));
    check->set_name(name);
    box.pack_start(*check, Gtk::PACK_SHRINK);
    m_checks[name] = check;
    if (entry.warning == CheckWarning::Configuration) {
      check->signal_toggled().connect([this] { on_download_config_clicked(); });
    }
  }
}

Gtk::Entry& SetupForm::add_entry(SettingKey key) {
  const std::string name(key.name());
  auto* entry = Gtk::manage(new Gtk::Entry());
  entry->set_name(name);
  m_entries[name] = entry;
  return *entry;
}

Gtk::CheckButton& SetupForm::check(const std::string& name) {
  return *m_checks.at(name);
}
Gtk::Entry& SetupForm::entry(const std::string& name) {
  return *m_entries.at(name);
}

void SetupForm::build_general() {
  m_general.set_border_width(10);
  add_checks(m_general, SetupPlace::General);
  auto& main_group = make_group(m_general, "");
  main_group.pack_start(make_label("Load main frame (right frame) from this URL:"),
                        Gtk::PACK_SHRINK);
  main_group.pack_start(add_entry(keys::load_main_url), Gtk::PACK_SHRINK);
  add_checks(main_group, SetupPlace::MainFrame);
}

void SetupForm::build_password() {
  m_password.set_border_width(10);
  add_checks(m_password, SetupPlace::Password);

  auto* row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 12));
  m_password.pack_start(*row, Gtk::PACK_SHRINK);
  auto& group = make_group(*row, "Change Password: ");
  group.pack_start(make_label("Enter the current password and the new password twice:"),
                   Gtk::PACK_SHRINK);
  auto* fields = Gtk::manage(new Gtk::Grid());
  fields->set_row_spacing(4);
  fields->set_column_spacing(6);
  const std::pair<const char*, Gtk::Entry*> rows[] = {
      {"Current Password:", &m_current_password},
      {"New Password:", &m_new_password},
      {"New Password Again:", &m_new_password_again},
  };
  int top = 0;
  for (const auto& [caption, field] : rows) {
    fields->attach(make_label(caption), 0, top, 1, 1);
    field->set_visibility(false);
    field->set_invisible_char('*');
    fields->attach(*field, 1, top, 1, 1);
    ++top;
  }
  m_current_password.set_name("current_password");
  m_new_password.set_name("new_password");
  m_new_password_again.set_name("new_password_again");
  group.pack_start(*fields, Gtk::PACK_SHRINK);
  m_set_password = Gtk::manage(new Gtk::Button("Set Password"));
  m_set_password->set_name("set_password_button");
  m_set_password->set_halign(Gtk::ALIGN_END);
  m_set_password->signal_clicked().connect([this] { on_set_password_clicked(); });
  group.pack_start(*m_set_password, Gtk::PACK_SHRINK);

  auto& note = make_label(kFactoryPasswordNote, true);
  m_password_note = &note;
  note.set_name("password_note");
  note.set_valign(Gtk::ALIGN_START);
  note.set_max_width_chars(22);
  row->pack_start(note, Gtk::PACK_EXPAND_WIDGET);
}

void SetupForm::build_buttons() {
  m_buttons.set_border_width(10);
  auto& home = make_group(m_buttons, "Home Site: ");
  home.pack_start(make_label("On startup and when Home button is clicked, load\n"
                             "navigation frame (left frame) from this URL:"),
                  Gtk::PACK_SHRINK);
  home.pack_start(add_entry(keys::home_button_url), Gtk::PACK_SHRINK);
  add_checks(home, SetupPlace::HomeSite);

  auto& email = make_group(m_buttons, "E-mail Button: ");
  add_checks(email, SetupPlace::EmailButton);
  email.pack_start(make_label("When email button is clicked, load this URL:"), Gtk::PACK_SHRINK);
  email.pack_start(add_entry(keys::email_url), Gtk::PACK_SHRINK);

  auto* row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 12));
  m_buttons.pack_start(*row, Gtk::PACK_SHRINK);
  auto& print = make_group(*row, "Print Button: ");
  add_checks(print, SetupPlace::PrintButton);
  auto& close = make_group(*row, "Close Button: ");
  add_checks(close, SetupPlace::CloseButton);
  close.set_valign(Gtk::ALIGN_START);
}

void SetupForm::build_site_access() {
  m_site_access.set_border_width(10);
  m_site_access.pack_start(make_label("Customize the sites you want to add or prohibit here."),
                           Gtk::PACK_SHRINK);
  m_site_access.pack_start(make_label("Include these sites in the \"More Sites\" category:"),
                           Gtk::PACK_SHRINK);
  auto* grid_scroll = Gtk::manage(new Gtk::ScrolledWindow());
  grid_scroll->set_shadow_type(Gtk::SHADOW_IN);
  grid_scroll->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  grid_scroll->add(m_moresites_grid);
  m_site_access.pack_start(*grid_scroll, Gtk::PACK_EXPAND_WIDGET);

  auto* memos = Gtk::manage(new Gtk::Grid());
  memos->set_column_spacing(12);
  memos->set_row_spacing(2);
  memos->set_column_homogeneous(true);
  memos->attach(make_label("Prohibit access to these domains:"), 0, 0, 1, 1);
  memos->attach(make_label("Prohibit access to these URL's:"), 1, 0, 1, 1);
  m_prohibited_domains_memo.set_size_request(-1, 110);
  m_prohibited_urls_memo.set_size_request(-1, 110);
  memos->attach(m_prohibited_domains_memo, 0, 1, 1, 1);
  memos->attach(m_prohibited_urls_memo, 1, 1, 1, 1);
  m_prohibited_domains_memo.set_hexpand(true);
  m_prohibited_urls_memo.set_hexpand(true);
  m_site_access.pack_start(*memos, Gtk::PACK_SHRINK);
}

void SetupForm::build_downloads() {
  m_downloads.set_border_width(10);
  m_downloads.pack_start(
      make_label("Prohibit access to URL's that end with these file extensions:"),
      Gtk::PACK_SHRINK);
  m_prohibited_file_exts_memo.set_size_request(200, 200);
  m_prohibited_file_exts_memo.set_halign(Gtk::ALIGN_START);
  m_downloads.pack_start(m_prohibited_file_exts_memo, Gtk::PACK_SHRINK);
  m_downloads.pack_start(
      make_label("(Enter one per line, and do not include the preceding period)"),
      Gtk::PACK_SHRINK);
}

void SetupForm::build_browser() {
  m_label_panel.set_name("label_panel");
  m_label_panel.set_size_request(-1, 121);
  m_feedback_label.set_name("feedback_label");
  m_feedback_label.set_line_wrap(true);
  m_feedback_label.set_max_width_chars(60);
  m_feedback_label.set_xalign(0);
  m_feedback_label.set_yalign(0);
  m_feedback_label.set_selectable(true);
  m_label_panel.set_border_width(8);
  m_label_panel.pack_start(m_feedback_label, Gtk::PACK_EXPAND_WIDGET);

  m_back.set_name("browser_back");
  m_forward.set_name("browser_forward");
  m_browser_bar.set_size_request(-1, 20);
  m_browser_bar.pack_end(m_forward, Gtk::PACK_SHRINK);
  m_browser_bar.pack_end(m_back, Gtk::PACK_SHRINK);
  m_back.signal_clicked().connect([this] {
    if (m_browser) m_browser->GoBack();
  });
  m_forward.signal_clicked().connect([this] {
    if (m_browser) m_browser->GoForward();
  });

  m_browser_page.pack_start(m_label_panel, Gtk::PACK_SHRINK);
  m_browser_page.pack_start(m_browser_bar, Gtk::PACK_SHRINK);
}

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
  const SetupLoad load = LoadSetupModel(m_host.settings());
  m_load_warnings = load.configuration_warnings;
  show_model(load.model);
  m_refused_sites.set_sites(AggregateRefusedSites(
      m_host.prohibited_log().entries(), [](std::string_view url) { return ExtractDomain(url); }));
  m_refused_sites.on_add = [this](const RefusedSite& site) {
    if (!m_moresites_grid.get_sensitive()) return;  // kept by the administrator
    auto rows = read_model().moresites_grid;
    tovali::AddToMoreSites(rows, MoreSitesRowFor(site));
    std::vector<MoreSitesRow> shown;
    shown.reserve(rows.size());
    for (const auto& r : rows)
      shown.push_back({m_display.show(r.description), m_display.show(r.url)});
    m_moresites_grid.set_rows(shown);
  };
  m_time_page.fill(m_host.settings());
  m_activity_page.show_record(m_host.activity_record(), local_moment_now().date);
  show_locks();
  m_filling = false;
}

void SetupForm::show_locks() {
  const Settings& settings = m_host.settings();
  const auto lock = [](Gtk::Widget& control) {
    control.set_sensitive(false);
    control.set_tooltip_text(kSetByAdministrator);
  };
  for (const auto& [name, control] : m_checks) {
    if (settings.is_locked(name)) lock(*control);
  }
  for (const auto& [name, control] : m_entries) {
    if (settings.is_locked(name)) lock(*control);
  }
  if (MoreSitesLocked(settings)) {
    lock(m_moresites_grid);
    m_refused_sites.lock_adding();
  }
  if (ListLocked(settings, keys::num_cust_prohibited_domains, {keys::cust_pd_prefix})) {
    lock(m_prohibited_domains_memo);
  }
  if (ListLocked(settings, keys::num_cust_prohibited_urls, {keys::cust_pu_prefix})) {
    lock(m_prohibited_urls_memo);
  }
  if (ListLocked(settings, keys::num_prohibited_file_exts, {keys::pext_prefix})) {
    lock(m_prohibited_file_exts_memo);
  }
  m_password_note->set_text(PasswordNote(settings));
  if (PasswordChangeLocked(settings)) {
    for (Gtk::Widget* control : {static_cast<Gtk::Widget*>(&m_current_password),
                                 static_cast<Gtk::Widget*>(&m_new_password),
                                 static_cast<Gtk::Widget*>(&m_new_password_again),
                                 static_cast<Gtk::Widget*>(m_set_password)}) {
      lock(*control);
    }
  }
}

void SetupForm::show_model(const SetupModel& m) {
  for (const SetupCheck& box : SetupChecks()) {
    check(box.key).set_active(m.*box.member);
    if (box.text) entry(box.text_key).set_text(m_display.show(m.*box.text));
  }

  std::vector<MoreSitesRow> rows;
  for (const auto& r : m.moresites_grid) {
    rows.push_back({m_display.show(r.description), m_display.show(r.url)});
  }
  m_moresites_grid.set_rows(rows);
  auto shown = [this](const TextList& lines) {
    TextList out;
    for (const auto& line : lines) out.push_back(m_display.show(line));
    return out;
  };
  m_prohibited_domains_memo.set_lines(shown(m.prohibited_domains_memo));
  m_prohibited_urls_memo.set_lines(shown(m.prohibited_urls_memo));
  m_prohibited_file_exts_memo.set_lines(shown(m.prohibited_file_exts_memo));
}

SetupModel SetupForm::read_model() const {
  SetupModel m;
  for (const SetupCheck& box : SetupChecks()) {
    const std::string name(box.key.name());
    m.*box.member = m_checks.at(name)->get_active();
    if (box.text) {
      m.*box.text = m_display.back(m_entries.at(std::string(box.text_key.name()))->get_text());
    }
  }
  for (const auto& r : m_moresites_grid.rows()) {
    m.moresites_grid.push_back({m_display.back(r.description), m_display.back(r.url)});
  }
  auto back = [this](const TextList& lines) {
    TextList out;
    for (const auto& line : lines) out.push_back(m_display.back(line));
    return out;
  };
  m.prohibited_domains_memo = back(m_prohibited_domains_memo.lines());
  m.prohibited_urls_memo = back(m_prohibited_urls_memo.lines());
  m.prohibited_file_exts_memo = back(m_prohibited_file_exts_memo.lines());
  return m;
}

void SetupForm::message(std::string_view text) {
  ShowMessage(*this, text);
}

void SetupForm::on_download_config_clicked() {
  if (m_filling) return;
  if (!check(keys::download_config).get_active()) message(kConfigurationWarning);
}

void SetupForm::on_apply_clicked() {
  apply();
}

bool SetupForm::apply() {
  if (!m_time_page.store(m_host.settings(), [this](std::string_view text) { message(text); }))
    return false;
  m_moresites_grid.commit_pending_edit();
  SetupModel model = read_model();
  ApplySetup(model, m_host, [this](std::string_view text) { message(text); });
  // Show the switches that the apply forced on or off.
  for (const SetupCheck& box : SetupChecks()) {
    if (box.when_text_empty != WhenTextEmpty::Keep) check(box.key).set_active(model.*box.member);
  }
  m_host.UpdateDailyLimits();
  return true;
}

void SetupForm::on_ok_clicked() {
  if (apply()) response(Gtk::RESPONSE_OK);
}

void SetupForm::on_set_password_clicked() {
  // The current password is compared as typed (PasswordMatches knows a
  // stored password in another encoding); it shows no stored value, so the
  // display map of the other fields must not rewrite it.
  const auto outcome =
      SetPassword(m_host, m_current_password.get_text().raw(), m_new_password.get_text().raw(),
                  m_new_password_again.get_text().raw());
  message(outcome.message);
  if (outcome.result == PasswordChangeResult::NewPasswordsDiffer) {
    m_new_password.set_text("");
    m_new_password_again.set_text("");
    m_new_password.grab_focus();
  }
}

EmbeddedWB& SetupForm::browser() {
  if (!m_browser) {
    // The view is made on first use: an idle web view costs a process.
    m_browser = std::make_unique<EmbeddedWB>();
    m_browser->events().NewWindow2 = [] { return nullptr; };  // opens no window
    // A page that cannot be loaded (the feedback site is down, say) gives
    // way to the local error page rather than leave the last page up under
    // the new caption.
    m_browser->events().LoadFailed = [this](const std::string& url) {
      const std::string error_page = to_engine_url(WriteErrorPage(m_host.state_dir()));
      if (!equals_ignore_case(url, error_page)) m_browser->Navigate(error_page);
    };
    // It keeps to the setup help page, the error page and the feedback site.
    m_browser->events().BeforeNavigate2 =
        [guard = SetupBrowserGuard({to_engine_url(m_host.ProgramDir() + kHelpPath),
                                    to_engine_url(m_host.state_dir() + "error.html")},
                                   kFeedbackURL)](const NavigationRequest& request) {
          return guard.BeforeNavigate2(request.url);
        };
    m_browser_page.pack_start(m_browser->widget(), Gtk::PACK_EXPAND_WIDGET);
    m_browser->widget().show();
  }
  return *m_browser;
}

void SetupForm::show_browser_tab(const char* caption) {
  m_browser_tab_label->set_text(caption);
  m_browser_page.show();
  m_tabs.set_current_page(m_tabs.page_num(m_browser_page));
}

void SetupForm::on_help_clicked() {
  m_label_panel.hide();
  show_browser_tab("Help");
  browser().Navigate(m_host.ProgramDir() + kHelpPath);
}

void SetupForm::on_feedback_clicked() {
  m_feedback_label.set_text(
      std::string("Below is a web browser window which will navigate to the Morvek "
                  "Tovali Explorer feedback web page. You can also use your normal "
                  "web browser to go to the feedback page at ") +
      kFeedbackURL + "\n\n");
  m_label_panel.show();
  show_browser_tab("Feedback Browser");
  browser().Navigate(kFeedbackURL);
}

void SetupForm::run_modal() {
  const auto startup_problem = StartupSaveFailureMessage(m_host.startup_save_report());
  if (!startup_problem.empty()) message(startup_problem);
  const auto system_problem = SystemSettingsProblemMessage(m_host.system_settings_problems());
  if (!system_problem.empty()) message(system_problem);
  const std::string activity_problems = m_host.activity_problems();
  if (!activity_problems.empty())
    message("Some of the child's activity records were damaged and have been set aside:\n" +
            activity_problems);
  for (int i = 0; i < m_load_warnings; ++i) message(kConfigurationWarning);
  m_load_warnings = 0;
  run();
  hide();
}

void OpenSetupForm(Gtk::Window* parent, SetupHost& host) {
  SetupForm form(parent, host);
  form.run_modal();
}

}  // namespace tovali
