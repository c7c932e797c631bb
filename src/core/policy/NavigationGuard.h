#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"
#include "base/NavigationRequest.h"
#include "base/Translate.h"
#include "policy/GuardEffects.h"
#include "policy/LinkMetaData.h"
#include "policy/ParentLists.h"

namespace tovali {

class ProhibitedLog;
class Settings;

// Which mailbox of the guard a frame's page belongs to.
enum class GuardedFrame {
  Main,        // the main frame or the pop-up's browser (`PendingMainURL`)
  Navigation,  // the navigation frame (`PendingNavURL`)
};

// What happens to a page's request for a new window.
enum class NewWindowDecision {
  Refuse,     // cancel; the guard has already shown the refusal message
  Drop,       // cancel silently
  OpenPopup,  // create the pop-up window and hand its browser over as the new
              // window's view; show it from a timeout once the handler returned
};

// The guard between every navigation and new-window request of the browser
// frames and the browser, and the navigation queue. It owns the link rules in
// force, the parent's lists and the one-shot flags; it changes the window only
// through GuardEffects. All methods run on the UI thread and never throw.
//
// How the main window calls it:
//  - decide-policy of a navigation of any view (any sub-frame too): the
//      view's NavigationRequest goes to BeforeNavigate2 -> Cancel: ignore the
//      decision. The navigation frame's requests go on to
//      NavFrameBeforeNavigate2, the main frame's and the pop-up browser's to
//      WebBrowserBeforeNavigate2.
//  - main frame (or pop-up) asks for a new window (WebKit "create"):
//      WebBrowserNewWindow2() -> OpenPopup: return the pop-up's new view;
//      Refuse / Drop: return NULL.
//  - navigation frame asks for a new window: NavFrameNewWindow2() (always
//      Drop): return NULL.
//  - every 200 ms (`QueueTimer`): QueueTimerTimer(); it issues the mailboxes
//      through GuardEffects::navigate.
//  - navigation frame finished loading: NavFrameNavigateComplete2(body outer
//      HTML), or NavFrameNavigateComplete2(std::nullopt) when the body could
//      not be read; the result tells whether to show the green dot.
//  - every left mouse-button press anywhere in the program: mouse_down().
//  - start-up and every save of the setup dialog: UpdateLists().
//  - buttons, start-up and the frames' error reports: one intent each
//      (open_site, open_program_page, open_once, open_start_page, open_menu_page,
//      prepare_history_step, page_missing, internal_page_named,
//      load_failed); the guard sets the link rules, the trust and the
//      mailboxes itself.
//
// Trust belongs to one navigation of the program's own: the queued trusted
// URL when the browser asks about it as the queue's request, or a step that
// the browser reports as back/forward after prepare_history_step. The first
// main-frame navigation asked about after the trust was given uses it up or,
// when it is another navigation, drops it: a page never borrows it.
class NavigationGuard {
 public:
  static constexpr const char* kClickedLinkMessage =
      N_("Please choose a different link. The one you clicked on is not enabled.");
  static constexpr const char* kRedirectMessage =
      N_("The site you are viewing is trying to load or redirect to a site that is not enabled.");
  static constexpr const char* kNewWindowMessage =
      N_("This page is trying to open another page in a new window, which is not allowed.");

  // All four must outlive the guard. Call UpdateLists() once the settings are
  // loaded.
  NavigationGuard(const Settings& settings, ProhibitedLog& log, GuardEffects& effects,
                  const Clock& clock);

  // Every navigation of every view: `request` goes to
  // NavFrameBeforeNavigate2 when its target is the navigation frame, else
  // (the main frame, the pop-up's browser) to WebBrowserBeforeNavigate2,
  // whose verdict it returns.
  Verdict BeforeNavigate2(const NavigationRequest& request);

  // Every navigation of the navigation frame: lets through only what was
  // queued for it, compared in the form the browser reports it
  // (reported_form_of: "my menu.html" is asked about as "my%20menu.html"),
  // apart from letter case and one added "/"; serves the
  // "More Sites" page, replaces "RES://" pages by the error page, drops
  // blocked domains. A link the child clicked (`origin` LinkClick) is
  // rewritten into the frame itself when it is an "HTTPNAV:" link, and
  // otherwise becomes a main-frame navigation under the link rules read
  // afresh from `NavPageHTML`. Every other navigation (a script's, a
  // frame's, a dropped URL) is cancelled silently. The queue's own request
  // (`origin` Program) asked about after another navigation of the frame has
  // emptied the mailbox is the one it queued. When the queue issued its URL
  // again before the browser asked, the browser asks about each navigate
  // call, the later ones as the page's navigation (`origin` Page): those
  // questions are the queue's request too. A redirect continues the
  // navigation the frame was already loading (the queued one): its target
  // loads in the frame, unless its domain is blocked; the mailbox is left
  // alone.
  Verdict NavFrameBeforeNavigate2(std::string_view url, RequestOrigin origin,
                                  NavigationKind step = NavigationKind::Request);

  // Every navigation of the main frame and of the pop-up's browser: admits
  // (saving the rules under the URL) or refuses it, logging and reporting a
  // refusal that is not silent. A "file:" URL other than the program's own
  // pages is refused silently, trusted or not. It uses up or drops the
  // trust. It empties `PendingMainURL`, except when the browser asks late
  // (`origin` Program) about a URL the queue issued before a newer one was
  // queued: the newer one stays to be issued.
  Verdict WebBrowserBeforeNavigate2(std::string_view url,
                                    RequestOrigin origin = RequestOrigin::Page);

  // A new-window request of the main frame or the pop-up.
  NewWindowDecision WebBrowserNewWindow2();

  // A new-window request of the navigation frame: always Drop.
  NewWindowDecision NavFrameNewWindow2();

  // One tick of the navigation queue: `PendingMainURL` goes to the pop-up's
  // browser while the pop-up exists and is visible, else to the main frame;
  // `PendingNavURL` goes to the navigation frame. The mailboxes stay full
  // until the target's next before-navigate. A URL that was issued to the
  // same target less than kRepeatWindow ago and that the browser has not
  // asked about as the queue's request since is not issued again (the
  // browser would ask about it twice); after that window it is. A navigate
  // error is dropped and the URL counts as not issued.
  void QueueTimerTimer();

  // The navigation frame completed a load. `body_html`: its body element's
  // outer HTML, nullopt when it could not be read (then `NavPageHTML` is
  // emptied). Returns true when the green dot is to be shown.
  bool NavFrameNavigateComplete2(std::optional<std::string> body_html);

  // Records a left mouse-button press now.
  void mouse_down();

  // Reloads the parent's lists from the settings.
  void UpdateLists();

  const std::string& PendingMainURL() const { return m_pending_main_url; }
  const std::string& PendingNavURL() const { return m_pending_nav_url; }

  // Opens `url` in the main frame as the current site under link number
  // 001, whose rules admit the URL's domain, followed by the URL comments of
  // `extra_rules` (the global rules first when enabled). A width comment
  // among them is applied. An empty `url` queues nothing but still sets the
  // rules.
  void open_site(std::string url, std::string_view extra_rules = {});

  // Queues `url`, a page of the program's own (local help, the error page),
  // for the main frame and trusts it: when the browser asks about it as the
  // queue's request, it skips the link rules (the parent's lists still
  // apply) and becomes the `CurrentSiteURL`.
  void open_program_page(std::string url);

  // Queues `url`, a refused address a grown-up allowed "Just this time",
  // for the main frame (or the pop-up) and trusts it once: when the browser
  // asks about it as the queue's request, it skips the link rules (the
  // parent's lists still apply). `CurrentSiteURL` and `URLNumber` stay as
  // they were, so whatever its page does next (a script's navigation, a
  // redirect, a link) is judged by the rules in force before the answer.
  void open_once(std::string url);

  // Queues the program's start page `url` for the main frame as the current
  // site, untrusted: it is judged as any navigation (a local page of the
  // program passes the link rules), and the link rules stay as they are.
  void open_start_page(std::string url);

  // Opens the child's own menu link `url` (a link of the menu page) in the
  // main frame as the current site, under the link rules read afresh from
  // `NavPageHTML` with the link's number.
  void follow_menu_link(std::string_view url);

  // Queues `url` (the home site's menu page) for the navigation frame.
  void open_menu_page(std::string url);

  // The page of `frame` proved missing (its title says so): the error page
  // is queued for that frame. For the main frame it is queued untrusted and
  // the current site stays.
  void page_missing(GuardedFrame frame);

  // The status line of `frame` names one of the browser's internal pages:
  // the error page is queued for that frame (trusted for the main frame).
  void internal_page_named(GuardedFrame frame);

  // The browser could not load `url` in `frame`: the error page is queued
  // for that frame (trusted for the main frame), unless `url` is the error
  // page itself, which would only fail again.
  void load_failed(GuardedFrame frame, std::string_view url);

  // Back or Forward is about to step the main frame's (or the pop-up's)
  // history: the step, when the browser reports it as back/forward, is
  // trusted and first restores the link rules saved for its URL.
  void prepare_history_step();

  // True while trust is waiting for its navigation.
  bool TrustedNavigation() const { return m_trust != Trust::None; }
  bool HistoryStep() const { return m_trust == Trust::HistoryStep; }

  // The program's own local pages ("file://" URLs as the browser reports
  // them): the only local files the main frame and the pop-up may show.
  void set_program_pages(std::vector<std::string> file_urls) {
    m_program_pages = std::move(file_urls);
  }
  // True when `url` is one of them (a "#fragment" aside).
  bool is_program_page(std::string_view url) const;

  // The URL of the last refusal that was reported to the child ("" before
  // the first).
  const std::string& refused_url() const { return m_refused_url; }

  // Time is up for the child: until end_time_up, `page_url` (the generated
  // time-up page, as the browser reports it) is queued for the main frame
  // and is the only page it admits; every other navigation of the main frame
  // and the pop-up, every new window and every link clicked in the
  // navigation frame is cancelled silently (nothing logged, no message), and
  // a cancelled main-frame navigation queues the page again.
  void begin_time_up(std::string page_url);
  // Time is no longer up (the parent added minutes, the bedtime ended): the
  // main frame leaves the time-up page at once for `start_page_url` (the
  // program's start page as the browser reports it), queued as
  // open_start_page queues it. Does nothing while time is not up.
  void end_time_up(std::string start_page_url);
  bool time_is_up() const { return !m_time_up_page.empty(); }

  // Keeps the kiosk closed for good (the administrator's settings cannot be
  // read): `page_url`, a page of the program's own telling why, is queued for
  // the navigation frame and is the only page it loads from then on; the
  // main frame and the pop-up load only the program's own pages (and
  // "about:blank"), and no new window opens. Every other navigation is
  // cancelled silently, so no request reaches any site.
  void close_to_sites(std::string page_url);
  bool closed_to_sites() const { return !m_closed_page.empty(); }

  const std::string& CurrentSiteURL() const { return m_meta.CurrentSiteURL(); }
  const std::string& URLNumber() const { return m_meta.URLNumber(); }

  const LinkMetaData& link_meta_data() const { return m_meta; }
  const ParentLists& parent_lists() const { return m_parent; }

  // How long a queued URL that was issued to a target and not yet asked
  // about by the browser is not issued to it again.
  static constexpr std::chrono::seconds kRepeatWindow{3};

 private:
  // Tests set the state they start from through it.
  friend struct NavigationGuardTestAccess;

  // QueuedURL becomes the current site when admitted; QueuedOnce leaves the
  // current site as it was.
  enum class Trust { None, QueuedURL, QueuedOnce, HistoryStep };

  // The last URL the queue issued to one target, while the browser has not
  // asked about it as the queue's request.
  struct IssuedURL {
    std::string url;  // empty: none waiting
    Clock::TimePoint at{};
  };

  // Replaces the link rules with those of `text` (global rules first when
  // enabled) and applies a width comment through the effects.
  void ExtractMetaData(std::string_view text);
  void set_current_site_url(std::string url) { m_meta.set_current_site_url(std::move(url)); }
  void set_url_number(std::string number) { m_meta.set_url_number(std::move(number)); }

  // Issues `url` to `target` unless it is a repeat still within
  // kRepeatWindow.
  void issue(BrowserTarget target, const std::string& url);
  // The browser asked about `url` as the queue's request of `target` (of
  // the main frame or the pop-up for MainFrame).
  void answered(BrowserTarget target, std::string_view url);
  // True when `url` is the navigation frame's last issued URL and the
  // browser still owes a question about one of its navigate calls.
  bool awaits_question(std::string_view url) const;
  IssuedURL& issued_to(BrowserTarget target) {
    return m_issued.at(static_cast<std::size_t>(target));
  }
  void queue_error_page(GuardedFrame frame, Trust trust);

  // Takes the trust given for the navigation now asked about: true when it
  // is that navigation. Trust is gone afterwards either way.
  bool take_trust(std::string_view url, RequestOrigin origin);
  void report_refusal(std::string_view url);

  const Settings& m_settings;
  ProhibitedLog& m_log;
  GuardEffects& m_effects;
  const Clock& m_clock;
  LinkMetaData m_meta;
  ParentLists m_parent;
  std::string m_pending_main_url;
  std::string m_issued_main_url;  // what the last tick issued from PendingMainURL
  std::string m_pending_nav_url;
  Trust m_trust = Trust::None;
  std::string m_trusted_url;          // with Trust::QueuedURL and Trust::QueuedOnce
  std::array<IssuedURL, 3> m_issued;  // by BrowserTarget
  // The navigation frame's last issued URL and how many of its navigate
  // calls the browser has not asked about yet.
  std::string m_nav_owed_url;
  int m_nav_owed = 0;
  std::vector<std::string> m_program_pages;
  std::string m_refused_url;

  std::string m_time_up_page;  // set while time is up
  std::string m_closed_page;   // set while the kiosk is closed to sites
  std::optional<Clock::TimePoint> m_last_mouse_down;
};

}  // namespace tovali
