#include "ui/parent/SetupBrowserPage.h"

#include <string>

#include "base/PageLanguage.h"
#include "base/Translate.h"
#include "browser/EmbeddedWB.h"
#include "models/GeneratedPages.h"
#include "policy/SetupBrowserGuard.h"
#include "policy/UrlText.h"

namespace tovali {

namespace {

const char* const kHelpPath = "setuphelp/setuphelp.html";

}  // namespace

SetupBrowserPage::SetupBrowserPage(SetupHost& host)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 0), m_host(host) {
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

  pack_start(m_label_panel, Gtk::PACK_SHRINK);
  pack_start(m_browser_bar, Gtk::PACK_SHRINK);
}

SetupBrowserPage::~SetupBrowserPage() = default;

EmbeddedWB& SetupBrowserPage::browser() {
  if (!m_browser) {
    m_browser = std::make_unique<EmbeddedWB>();
    m_browser->events().NewWindow2 = [] { return nullptr; };  // opens no window
    // A page that cannot be loaded (the feedback site is down, say) gives
    // way to the local error page rather than leave the last page up under
    // the new caption.
    m_browser->events().LoadFailed = [this](const std::string& url) {
      const std::string error_page = to_engine_url(write_error_page(m_host.state_dir()));
      if (!equals_ignore_case(url, error_page)) m_browser->Navigate(error_page);
    };
    // It keeps to the setup help page, the error page and the feedback site.
    m_browser->events().BeforeNavigate2 =
        [guard =
             SetupBrowserGuard({to_engine_url(supplied_page_path(m_host.ProgramDir(), kHelpPath)),
                                to_engine_url(m_host.state_dir() + "error.html")},
                               kFeedbackURL)](const NavigationRequest& request) {
          return guard.BeforeNavigate2(request.url);
        };
    pack_start(m_browser->widget(), Gtk::PACK_EXPAND_WIDGET);
    m_browser->widget().show();
  }
  return *m_browser;
}

void SetupBrowserPage::open_help() {
  m_label_panel.hide();
  browser().Navigate(supplied_page_path(m_host.ProgramDir(), kHelpPath));
}

void SetupBrowserPage::open_feedback() {
  m_feedback_label.set_text(
      fill(tr("Below is a web browser window which will navigate to the Morvek "
              "Tovali Explorer feedback web page. You can also use your normal "
              "web browser to go to the feedback page at {1}"),
           {kFeedbackURL}) +
      "\n\n");
  m_label_panel.show();
  browser().Navigate(kFeedbackURL);
}

}  // namespace tovali
