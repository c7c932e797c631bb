#include "ui/child/GrownUpRequests.h"

#include <optional>

#include "models/GrownUpRequest.h"
#include "session/Session.h"
#include "ui/parent/AllowSiteDialog.h"
#include "ui/widgets/MessageBox.h"

namespace tovali {

GrownUpRequests::GrownUpRequests(Session& session) : m_session(session) {}

PanelButton GrownUpRequests::button_for(const std::string& message) {
  return m_session.offers_grown_up_request(message) ? PanelButton::AskGrownUp : PanelButton::None;
}

void GrownUpRequests::ask(Gtk::Window& parent) {
  const std::string url = m_session.grown_up_url();
  if (url.empty()) return;
  const std::optional<AllowSiteChoice> choice =
      ask_grown_up(parent, m_session.settings(), url, &m_session.daily_time());
  m_session.answer_grown_up_request(
      url, choice, [&parent](std::string_view text) { show_message(parent, text); });
}

}  // namespace tovali
