#include "ui/GrownUpRequests.h"

#include <optional>

#include "models/GrownUpRequest.h"
#include "models/SetupApply.h"
#include "ui/AllowSiteDialog.h"
#include "ui/MessageBox.h"

namespace tovali {

GrownUpRequests::GrownUpRequests(SetupHost& host, NavigationGuard& guard, DailyTime& daily_time)
    : m_host(host), m_guard(guard), m_daily_time(daily_time) {}

PanelButton GrownUpRequests::button_for(const std::string& message) {
  if (!OffersGrownUpRequest(message) || m_guard.RefusedURL().empty()) return PanelButton::None;
  m_url = m_guard.RefusedURL();
  return PanelButton::AskGrownUp;
}

void GrownUpRequests::ask(Gtk::Window& parent) {
  const std::string url = m_url;
  if (url.empty()) return;
  const std::optional<AllowSiteChoice> choice =
      AskGrownUp(parent, m_host.settings(), url, &m_daily_time);
  // The queue sends it to the pop-up while that is shown (whose panel
  // offered the button then), else to the main frame.
  if (choice == AllowSiteChoice::JustThisTime) m_guard.open_once(url);
  if (choice == AllowSiteChoice::Always) allow_always(parent, url);
  if (on_grown_up_request) on_grown_up_request(url, AnswerFor(choice));
}

void GrownUpRequests::allow_always(Gtk::Window& parent, const std::string& url) {
  if (AddAllowedSite(m_host.settings(), url) == MoreSitesWrite::Added) {
    const SaveReport report = m_host.SaveConfig();
    if (!report.ok()) ShowMessage(parent, SaveFailureMessage(report));
  }
  // Trusted as the program's own pages are and the current site from now
  // on: the link rules are skipped, the parent's lists still apply.
  m_guard.open_program_page(url);
}

}  // namespace tovali
