#include "ui/parent/AllowSiteDialog.h"

#include "base/Translate.h"
#include "models/PasswordChange.h"
#include "models/SetupApply.h"
#include "ui/parent/PasswordForm.h"

namespace tovali {

namespace {
constexpr int kOnce = 1;
constexpr int kAlways = 2;
constexpr int kNotNow = 3;
// The widest the host and the address are shown, in characters.
constexpr int kHostChars = 40;
constexpr int kAddressChars = 60;

void one_line_shortened(Gtk::Label& label, int max_chars) {
  label.set_single_line_mode(true);
  label.set_ellipsize(Pango::ELLIPSIZE_MIDDLE);
  label.set_max_width_chars(max_chars);
  label.set_xalign(0);
  label.set_selectable(false);
}
}  // namespace

AllowSiteDialog::AllowSiteDialog(Gtk::Window& parent, const std::string& url, AlwaysOffer always)
    : Gtk::Dialog(tr(kAllowSiteCaption), parent, true) {
  set_name("AllowSiteDialog");
  set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  set_resizable(false);
  m_host.set_name("AllowSiteHost");
  m_host.set_text(allow_site_heading(url));
  Pango::AttrList large;
  Pango::Attribute scale = Pango::Attribute::create_attr_scale(PANGO_SCALE_XX_LARGE);
  Pango::Attribute bold = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
  large.insert(scale);
  large.insert(bold);
  m_host.set_attributes(large);
  one_line_shortened(m_host, kHostChars);
  m_intro.set_xalign(0);
  m_address.set_name("AllowSiteAddress");
  m_address.set_text(url);
  one_line_shortened(m_address, kAddressChars);
  Gtk::Box& content = *get_content_area();
  content.set_spacing(6);
  content.set_border_width(12);
  content.pack_start(m_host, Gtk::PACK_SHRINK);
  content.pack_start(m_intro, Gtk::PACK_SHRINK);
  content.pack_start(m_address, Gtk::PACK_SHRINK);
  add_action_widget(m_once, kOnce);
  add_action_widget(m_always, kAlways);
  add_action_widget(m_not_now, kNotNow);
  if (always == AlwaysOffer::SetByAdministrator) {
    m_always.set_sensitive(false);
    m_always.set_tooltip_text(tr(kSetByAdministrator));
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

std::optional<AllowSiteChoice> ask_grown_up(Gtk::Window& parent, const Settings& settings,
                                            const std::string& url, DailyTime* daily_time) {
  if (!GetPassword(&parent, settings)) return std::nullopt;
  std::optional<DailyTime::ParentWindow> paused;
  if (daily_time) paused.emplace(*daily_time);
  AllowSiteDialog dialog(
      parent, url,
      more_sites_locked(settings) ? AlwaysOffer::SetByAdministrator : AlwaysOffer::Offered);
  return dialog.choose();
}

}  // namespace tovali
