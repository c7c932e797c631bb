#include "ui/AllowSiteDialog.h"

#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "ui/PasswordForm.h"

namespace tovali {

namespace {
constexpr int kOnce = 1;
constexpr int kAlways = 2;
constexpr int kNotNow = 3;
}  // namespace

AllowSiteDialog::AllowSiteDialog(Gtk::Window& parent, const std::string& url, AlwaysOffer always)
    : Gtk::Dialog(kAllowSiteCaption, parent, true) {
  set_name("AllowSiteDialog");
  set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  set_resizable(false);
  m_text.set_text(AllowSiteText(url));
  m_text.set_line_wrap(true);
  m_text.set_line_wrap_mode(Pango::WRAP_WORD_CHAR);
  m_text.set_max_width_chars(50);
  m_text.set_selectable(false);
  m_text.set_margin_start(12);
  m_text.set_margin_end(12);
  m_text.set_margin_top(12);
  m_text.set_margin_bottom(12);
  get_content_area()->pack_start(m_text, Gtk::PACK_EXPAND_WIDGET);
  add_action_widget(m_once, kOnce);
  add_action_widget(m_always, kAlways);
  add_action_widget(m_not_now, kNotNow);
  if (always == AlwaysOffer::SetByAdministrator) {
    m_always.set_sensitive(false);
    m_always.set_tooltip_text(kSetByAdministrator);
  }
  m_not_now.set_can_default(true);
  set_default(m_not_now);
  show_all_children();
}

AllowSiteChoice AllowSiteDialog::choose() {
  switch (run()) {
    case kOnce:
      return AllowSiteChoice::JustThisTime;
    case kAlways:
      return AllowSiteChoice::Always;
    default:
      return AllowSiteChoice::NotNow;
  }
}

std::optional<AllowSiteChoice> AskGrownUp(Gtk::Window& parent, const Settings& settings,
                                          const std::string& url, DailyTime* daily_time) {
  if (!GetPassword(&parent, settings)) return std::nullopt;
  std::optional<DailyTime::ParentWindow> paused;
  if (daily_time) paused.emplace(*daily_time);
  AllowSiteDialog dialog(
      parent, url,
      MoreSitesLocked(settings) ? AlwaysOffer::SetByAdministrator : AlwaysOffer::Offered);
  return dialog.choose();
}

}  // namespace tovali
