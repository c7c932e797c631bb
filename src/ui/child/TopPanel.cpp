#include "ui/child/TopPanel.h"

#include <utility>

#include "base/Translate.h"
#include "ui/widgets/ShellPictures.h"

namespace tovali {

namespace {

const Gdk::RGBA kSilver("#c0c0c0");

}  // namespace

TopPanel::TopPanel(EmbeddedWB& main_frame, const Settings& settings, BrowserToolbar::Hooks hooks,
                   Actions actions)
    : m_actions(std::move(actions)),
      m_browser_buttons(main_frame, settings, "", std::move(hooks)),
      m_logo(tr("About Tovali Explorer"), pictures::Picture::Logo, 108, 44, MouseClicks::Double),
      m_close_button(tr("Close"), pictures::Picture::CloseBox, 16, 14, MouseClicks::Single,
                     HandCursor::On) {
  override_background_color(kSilver);
  set_size_request(-1, 50);
  m_site_buttons.pack_start(m_home, Gtk::PACK_SHRINK);
  m_site_buttons.pack_start(m_browser_buttons, Gtk::PACK_SHRINK);
  m_site_buttons.pack_start(m_email, Gtk::PACK_SHRINK);

  m_help_menu.append(m_help_local);
  m_help_menu.append(m_help_web);
  m_help_menu.append(m_help_separator);
  m_help_menu.append(m_help_about);
  m_help_menu.show_all();
  m_help_arrow.set_popup(m_help_menu);
  m_help_arrow.set_relief(Gtk::RELIEF_NONE);
  m_help_arrow.set_valign(Gtk::ALIGN_START);
  m_help_arrow.set_size_request(14, ToolbarButton::kHeight);
  m_help_arrow.set_name("help_menu");
  m_help_buttons.pack_start(m_help, Gtk::PACK_SHRINK);
  m_help_buttons.pack_start(m_help_arrow, Gtk::PACK_SHRINK);

  m_logo.set_valign(Gtk::ALIGN_START);
  m_close_button.set_valign(Gtk::ALIGN_START);
  m_close_button.set_no_show_all(true);
  m_right_corner.pack_start(m_logo, Gtk::PACK_SHRINK);
  m_right_corner.pack_start(m_close_button, Gtk::PACK_SHRINK);

  // Last of the buttons on the left: showing it moves none of the others.
  m_ask.set_no_show_all(true);
  m_ask.button().show();
  m_ask.caption().show();
  m_ask.hide();

  m_top_box.pack_start(m_site_buttons, Gtk::PACK_SHRINK);
  m_top_box.pack_start(m_help_buttons, Gtk::PACK_SHRINK, 8);
  m_top_box.pack_start(m_ask, Gtk::PACK_SHRINK);
  m_top_box.pack_end(m_right_corner, Gtk::PACK_SHRINK);
  add(m_top_box);

  m_home.signal_clicked().connect([this] { m_actions.home(); });
  m_email.signal_clicked().connect([this] { m_actions.email(); });
  m_help.signal_clicked().connect([this] { m_actions.local_help(); });
  m_help_local.signal_activate().connect([this] { m_actions.local_help(); });
  m_help_web.signal_activate().connect([this] { m_actions.web_help(); });
  m_help_about.signal_activate().connect([this] { m_actions.about(); });
  m_logo.signal_clicked().connect([this] { m_actions.about(); });
  m_close_button.signal_clicked().connect([this] { m_actions.close(); });
  m_ask.signal_clicked().connect([this] { m_actions.ask_grown_up(); });
}

void TopPanel::set_ask_button(AskButton state) {
  m_ask.set_visible(state == AskButton::Shown);
}

void TopPanel::set_buttons_enabled(bool enabled) {
  m_browser_buttons.set_stop_enabled(enabled);
  m_home.set_enabled(enabled);
  m_email.set_enabled(enabled);
}

}  // namespace tovali
