#include "ui/child/NewBrowserForm.h"

#include <iostream>

#include <gtkmm/widget.h>

#include "base/Translate.h"
#include "ui/widgets/ShellPictures.h"
#include "ui/widgets/TitleBar.h"

namespace tovali {

NewBrowserForm::NewBrowserForm(PopupHost& host, EmbeddedWB& related, Gtk::Window& parent)
    : m_host(host),
      m_browser(related),
      m_browser_buttons(m_browser, host.settings(), "pop-up ",
                        {[this] { m_host.prepare_history_step(); },
                         [this] { ShowMsgPanel(std::string("\r\r") + tr("Printing...")); }}),
      m_logo(pictures::picture(pictures::Picture::Logo, 108, 44)) {
  set_title(tr(kCaption));
  set_default_size(640, 480);
  set_position(Gtk::WIN_POS_CENTER);
  set_transient_for(parent);
  set_modal(true);
  set_name("NewBrowserForm");
  TitleBar::keep(*this, TitleButtons::MaximiseOnly);

  m_top_bar.override_background_color(Gdk::RGBA("#c0c0c0"));
  m_top_bar.set_size_request(-1, 50);
  m_toolbar.set_margin_start(1);
  m_toolbar.set_margin_top(1);
  m_toolbar.pack_start(m_browser_buttons, Gtk::PACK_SHRINK);
  m_toolbar.pack_start(m_close, Gtk::PACK_SHRINK);
  m_top_box.pack_start(m_toolbar, Gtk::PACK_SHRINK);
  m_logo.set_halign(Gtk::ALIGN_END);
  m_logo.set_valign(Gtk::ALIGN_START);
  m_top_box.pack_end(m_logo, Gtk::PACK_SHRINK);
  m_top_bar.add(m_top_box);

  m_layout.pack_start(m_top_bar, Gtk::PACK_SHRINK);
  m_layout.pack_start(m_browser.widget(), Gtk::PACK_EXPAND_WIDGET);
  m_overlay.add(m_layout);
  m_overlay.add_overlay(m_msg_panel);
  m_overlay.add_overlay(m_msg_panel.ask_button());
  add(m_overlay);

  m_close.signal_clicked().connect(sigc::mem_fun(*this, &NewBrowserForm::on_close_clicked));
  wire_browser();
  m_overlay.show_all();
}

NewBrowserForm::~NewBrowserForm() {
  if (m_modal_loop && m_modal_loop->is_running()) m_modal_loop->quit();
}

void NewBrowserForm::wire_browser() {
  EmbeddedWBEvents& events = m_browser.events();
  events.BeforeNavigate2 = [this](const NavigationRequest& request) {
    return m_host.BeforeNavigate2(request);
  };
  events.NewWindow2 = [this]() -> EmbeddedWB* {
    ShowMsgPanel(kNoMoreWindowsMessage);
    return nullptr;
  };
  events.LoadFinished = [this] { m_host.on_page_loaded(m_browser); };
  events.TitleChange = [this](const std::string&) { m_host.on_page_loaded(m_browser); };
  events.StatusTextChange = [this](const std::string& text) { m_host.on_status_text_change(text); };
  events.LoadFailed = [this](const std::string& url) { m_host.on_load_failed(url); };
  events.LoadStarted = [this] { m_host.on_load_started(); };
  events.ProgressChange = [this](int progress, int max) {
    m_host.on_progress_change(progress, max);
  };
}

void NewBrowserForm::show_modal() {
  m_modal_loop = Glib::MainLoop::create(false);
  auto hidden = signal_hide().connect([this] {
    if (m_modal_loop->is_running()) m_modal_loop->quit();
  });
  show();
  present();
  m_modal_loop->run();
  hidden.disconnect();
}

bool NewBrowserForm::on_delete_event(GdkEventAny*) {
  on_close_clicked();
  return true;
}

void NewBrowserForm::on_close_clicked() {
  hide();
}

}  // namespace tovali
