#include "policy/NavigationGuard.h"

#include <chrono>
#include <exception>

#include "base/NavigationRequest.h"
#include "base/TextList.h"
#include "policy/AdmissionRules.h"
#include "policy/ReportedForm.h"
#include "policy/UrlText.h"
#include "settings/ProhibitedLog.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

constexpr std::chrono::seconds kOneSecond{1};

bool ends_with_slash(std::string_view text) {
  return !text.empty() && text.back() == '/';
}

// True when the browser reports `requested` as `reported`: in its reported
// form (a space as "%20", a bare host with a "/", ...), apart from letter
// case and one "/" at the end.
bool reported_as(std::string_view reported, std::string_view requested) {
  return same_target(reported, reported_form_of(requested));
}

// True when the navigation frame's `url` is the `queued` one as the browser
// reports it, apart from letter case; the browser may add one "/".
bool is_queued_nav_url(std::string_view url, std::string_view queued) {
  if (queued.empty()) return false;
  std::string expected = reported_form_of(queued);
  if (ends_with_slash(url) && !ends_with_slash(expected)) expected.push_back('/');
  return equals_ignore_case(url, expected);
}

}  // namespace

NavigationGuard::NavigationGuard(const Settings& settings, ProhibitedLog& log,
                                 GuardEffects& effects, const Clock& clock)
    : m_settings(settings), m_log(log), m_effects(effects), m_clock(clock), m_meta(settings) {}

Verdict NavigationGuard::BeforeNavigate2(const NavigationRequest& request) {
  if (request.target == BrowserTarget::NavFrame)
    return NavFrameBeforeNavigate2(request.url, request.origin, request.kind);
  return WebBrowserBeforeNavigate2(request.url, request.origin);
}

Verdict NavigationGuard::NavFrameBeforeNavigate2(std::string_view url, RequestOrigin origin,
                                                 NavigationKind step) {
  // The frame only lets through what was queued for it, so a redirect
  // always continues a queued page (the home site's menu page, say) and is
  // no request of its own: it neither empties the mailbox nor is a link.
  const bool redirect = step == NavigationKind::Redirect;
  // The queue issued its URL again while the browser had not yet asked
  // about it: the browser reports its question about the later navigate
  // call as the page's. That load replaces the earlier one, so refusing it
  // would leave the frame empty.
  if (origin == RequestOrigin::Page && !redirect && awaits_question(url))
    origin = RequestOrigin::Program;
  if (origin == RequestOrigin::Program) {
    answered(BrowserTarget::NavFrame, url);
    // The browser asks about the queue's request some time after the tick
    // that issued it, so another navigation of the frame may have come
    // first and emptied the mailbox.
    if (m_pending_nav_url.empty()) m_pending_nav_url = std::string(url);
  }
  std::string expected;
  if (!redirect) {
    expected = std::move(m_pending_nav_url);
    m_pending_nav_url.clear();
  }
  if (closed_to_sites()) {
    return is_local_page(url, m_closed_page) ? Verdict::Proceed : Verdict::Cancel;
  }

  if (begins_upper(url, "RES://")) {
    m_pending_nav_url = m_effects.ErrorPagePath();
    return Verdict::Cancel;
  }
  if (begins_upper(url, "HTTPNAV://MORESITES")) {
    m_pending_nav_url = m_effects.MoreSitesPath();
    return Verdict::Cancel;
  }
  if (m_parent.blocked_nav_set().contains(ExtractDomain(url))) return Verdict::Cancel;
  if (redirect || is_queued_nav_url(url, expected)) return Verdict::Proceed;
  // Only the child's click in the menu page opens a link; a script, a frame
  // or a URL dropped onto the frame opens nothing.
  if (origin != RequestOrigin::LinkClick || time_is_up()) return Verdict::Cancel;
  if (begins_upper(url, "HTTPNAV:")) {
    m_pending_nav_url = ModifyURL(url);
    return Verdict::Cancel;
  }
  // A link of the menu page: it opens in the main frame under its rules.
  follow_menu_link(url);
  return Verdict::Cancel;
}

void NavigationGuard::follow_menu_link(std::string_view url) {
  m_meta.set_url_number_from_link(url);
  ExtractMetaData(m_meta.NavPageHTML());
  m_pending_main_url = ModifyURL(url);
  m_meta.set_current_site_url(m_pending_main_url);
}

Verdict NavigationGuard::WebBrowserBeforeNavigate2(std::string_view url, RequestOrigin origin) {
  if (origin == RequestOrigin::Program) answered(BrowserTarget::MainFrame, url);
  const bool history_step = m_trust == Trust::HistoryStep;
  const bool once = m_trust == Trust::QueuedOnce;
  const bool trusted = take_trust(url, origin);
  if (trusted && !once) m_meta.set_current_site_url(std::string(url));
  // The browser asks about the queue's request some time after the tick
  // that issued it, not within the navigate call. A URL queued in between
  // (the configured main page after the start page, say) has not been
  // issued yet and must not be lost.
  const bool newer_queued =
      origin == RequestOrigin::Program && m_pending_main_url != m_issued_main_url;
  if (!newer_queued) m_pending_main_url.clear();
  if (time_is_up()) {
    if (is_local_page(url, m_time_up_page)) return Verdict::Proceed;
    if (m_pending_main_url.empty()) m_pending_main_url = m_time_up_page;
    return Verdict::Cancel;
  }
  if (history_step && trusted) {
    if (const std::optional<int> width = m_meta.LoadMetaData(url)) {
      m_effects.set_nav_frame_width(*width);
    }
  }
  if (begins_upper(url, "ABOUT:") && !begins_upper(url, "ABOUT:BLANK")) return Verdict::Cancel;
  if (begins_upper(url, "FILE:") && !is_program_page(url)) return Verdict::Cancel;
  if (closed_to_sites()) {
    return is_program_page(url) || begins_upper(url, "ABOUT:BLANK") ? Verdict::Proceed
                                                                    : Verdict::Cancel;
  }

  if ((trusted || Allow_B_URL(m_meta, url)) && Cust_Allow_B_URL(m_parent, url)) {
    m_meta.SaveMetaData(url);
    return Verdict::Proceed;
  }
  if (!SuppressProhibitedPanel(m_meta, url)) report_refusal(url);
  return Verdict::Cancel;
}

bool NavigationGuard::take_trust(std::string_view url, RequestOrigin origin) {
  const Trust trust = m_trust;
  m_trust = Trust::None;
  switch (trust) {
    case Trust::QueuedURL:
    case Trust::QueuedOnce:
      return origin == RequestOrigin::Program && reported_as(url, m_trusted_url);
    case Trust::HistoryStep:
      return origin == RequestOrigin::History;
    case Trust::None:
      break;
  }
  return false;
}

void NavigationGuard::open_program_page(std::string url) {
  m_trusted_url = url;
  m_trust = Trust::QueuedURL;
  m_pending_main_url = std::move(url);
}

void NavigationGuard::open_once(std::string url) {
  m_trusted_url = url;
  m_trust = Trust::QueuedOnce;
  m_pending_main_url = std::move(url);
}

void NavigationGuard::open_site(std::string url, std::string_view extra_rules) {
  set_url_number("001");
  ExtractMetaData("<!--URL001:AD:" + ExtractDomain(url) + "-->" + std::string(extra_rules));
  set_current_site_url(url);
  m_pending_main_url = std::move(url);
}

void NavigationGuard::open_start_page(std::string url) {
  set_current_site_url(url);
  m_pending_main_url = std::move(url);
}

void NavigationGuard::open_menu_page(std::string url) {
  m_pending_nav_url = std::move(url);
}

void NavigationGuard::queue_error_page(GuardedFrame frame, Trust trust) {
  std::string error_page = m_effects.ErrorPagePath();
  if (frame == GuardedFrame::Navigation)
    m_pending_nav_url = std::move(error_page);
  else if (trust == Trust::QueuedURL)
    open_program_page(std::move(error_page));
  else
    m_pending_main_url = std::move(error_page);
}

void NavigationGuard::page_missing(GuardedFrame frame) {
  queue_error_page(frame, Trust::None);
}

void NavigationGuard::internal_page_named(GuardedFrame frame) {
  queue_error_page(frame, Trust::QueuedURL);
}

void NavigationGuard::load_failed(GuardedFrame frame, std::string_view url) {
  const std::string error_page = m_effects.ErrorPagePath();
  if (equals_ignore_case(url, error_page)) return;
  if (frame == GuardedFrame::Navigation)
    m_pending_nav_url = error_page;
  else
    open_program_page(error_page);
}

void NavigationGuard::prepare_history_step() {
  m_trusted_url.clear();
  m_trust = Trust::HistoryStep;
}

bool NavigationGuard::is_program_page(std::string_view url) const {
  for (const std::string& page : m_program_pages) {
    if (is_local_page(url, page)) return true;
  }
  return false;
}

void NavigationGuard::begin_time_up(std::string page_url) {
  m_time_up_page = std::move(page_url);
  m_pending_main_url = m_time_up_page;
}

void NavigationGuard::end_time_up(std::string start_page_url) {
  if (!time_is_up()) return;
  m_time_up_page.clear();
  open_start_page(std::move(start_page_url));
}

void NavigationGuard::close_to_sites(std::string page_url) {
  m_closed_page = std::move(page_url);
  m_pending_nav_url = m_closed_page;
}

void NavigationGuard::report_refusal(std::string_view url) {
  if (!begins_upper(url, "RES://")) m_log.append(url);
  m_refused_url = url;
  const bool clicked_just_now =
      m_last_mouse_down && m_clock.now() - *m_last_mouse_down < kOneSecond;
  m_effects.ShowMsgPanel(clicked_just_now ? kClickedLinkMessage : kRedirectMessage);
}

NewWindowDecision NavigationGuard::WebBrowserNewWindow2() {
  if (time_is_up() || closed_to_sites()) return NewWindowDecision::Drop;
  if (!m_settings.is_on(keys::allow_new_window)) {
    m_effects.ShowMsgPanel(kNewWindowMessage);
    return NewWindowDecision::Refuse;
  }
  if (m_effects.popup_exists()) return NewWindowDecision::Drop;
  return NewWindowDecision::OpenPopup;
}

NewWindowDecision NavigationGuard::NavFrameNewWindow2() {
  return NewWindowDecision::Drop;
}

void NavigationGuard::QueueTimerTimer() {
  if (!m_pending_main_url.empty()) {
    const BrowserTarget target = m_effects.popup_exists() && m_effects.popup_visible()
                                     ? BrowserTarget::PopupBrowser
                                     : BrowserTarget::MainFrame;
    // The URL is copied: the navigate call may re-enter the guard.
    const std::string url = m_pending_main_url;
    m_issued_main_url = url;
    issue(target, url);
  }
  if (!m_pending_nav_url.empty()) {
    const std::string url = m_pending_nav_url;
    issue(BrowserTarget::NavFrame, url);
  }
}

void NavigationGuard::issue(BrowserTarget target, const std::string& url) {
  // A pop-up that is gone took its requests with it; a new one has none.
  if (!m_effects.popup_exists()) issued_to(BrowserTarget::PopupBrowser) = {};
  IssuedURL& issued = issued_to(target);
  const Clock::TimePoint now = m_clock.now();
  if (issued.url == url && now - issued.at < kRepeatWindow) return;
  // Recorded first: the browser may ask within the navigate call.
  issued = {url, now};
  const bool nav_frame = target == BrowserTarget::NavFrame;
  if (nav_frame) {
    if (m_nav_owed_url != url) m_nav_owed = 0;
    m_nav_owed_url = url;
    ++m_nav_owed;
  }
  try {
    m_effects.navigate(target, url);
  } catch (const std::exception&) {
    issued_to(target) = {};  // the mailbox stays full; the next tick tries again
    if (nav_frame && m_nav_owed > 0) --m_nav_owed;
  }
}

void NavigationGuard::answered(BrowserTarget target, std::string_view url) {
  // The main frame and the pop-up's browser ask alike: the question is the
  // pop-up's when only the pop-up's request is that URL.
  if (target == BrowserTarget::MainFrame && !reported_as(url, issued_to(target).url) &&
      reported_as(url, issued_to(BrowserTarget::PopupBrowser).url))
    target = BrowserTarget::PopupBrowser;
  issued_to(target) = {};
  if (target == BrowserTarget::NavFrame && awaits_question(url)) --m_nav_owed;
}

bool NavigationGuard::awaits_question(std::string_view url) const {
  return m_nav_owed > 0 && is_queued_nav_url(url, m_nav_owed_url);
}

bool NavigationGuard::NavFrameNavigateComplete2(std::optional<std::string> body_html) {
  if (!body_html) {
    m_meta.set_nav_page_html(std::string());
    return false;
  }
  m_meta.set_nav_page_html(std::move(*body_html));
  return true;
}

void NavigationGuard::mouse_down() {
  m_last_mouse_down = m_clock.now();
}

void NavigationGuard::UpdateLists() {
  m_parent.UpdateLists(m_settings);
}

void NavigationGuard::ExtractMetaData(std::string_view text) {
  if (const std::optional<int> width = m_meta.ExtractMetaData(text)) {
    m_effects.set_nav_frame_width(*width);
  }
}

}  // namespace tovali
