#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/NavigationRequest.h"

namespace Gtk {
class Widget;
}

namespace tovali {

// Browser commands whose availability the view reports.
enum class BrowserCommand { NavigateForward = 1, NavigateBack = 2 };

enum class PrintMode { WithDialog, WithoutDialog };

// Script dialogs (alert, confirm, prompt) shown or suppressed.
enum class DialogMode { Shown, Silent };

// Whether the view reads the page's body after each completed load.
enum class BodyCapture { Off, On };

// What a click on a "javascript:" link of the view's pages does. The engine
// runs such a link without asking before-navigate.
enum class ScriptLinks {
  Run,       // the engine runs it, as any browser does
  AskFirst,  // BeforeNavigate2 is asked first, as for a link click
             // (RequestOrigin::LinkClick); the link runs in its frame
             // only when the answer is Proceed
};

// Whether a network page may open only while the page guard of the view's
// page runs. Waived only for the program's hidden views that load an
// address of its own choosing, never a child's page.
enum class PageGuardCheck { Required, Waived };

class EmbeddedWB;

// The events a view raises. Unset handlers mean "let it happen" for
// BeforeNavigate2 and "open nothing" for NewWindow2; the rest are optional.
struct EmbeddedWBEvents {
  // Before every navigation of the view, its sub-frames and history steps
  // included: the URL, who started it, whether it is a redirect and the
  // view's target. Cancel stops it before any request is made.
  std::function<Verdict(const NavigationRequest& request)> BeforeNavigate2;
  // A page asks for a new window. Return a view created related to this one
  // (EmbeddedWB(EmbeddedWB&)) to hand the new window over, or nullptr to
  // open nothing.
  std::function<EmbeddedWB*()> NewWindow2;
  // A load has finished and, with BodyCapture::On, the body's outer HTML
  // has been read (nullopt when there is no HTML body). Raised after
  // LoadFinished.
  std::function<void(const std::string& url, const std::optional<std::string>& body)>
      NavigateComplete2;
  // A page load has started (not a file download: those are refused).
  std::function<void()> LoadStarted;
  // A page load has ended, successfully or not. LocationName() is current.
  std::function<void()> LoadFinished;
  // The page's title has changed (it may arrive after LoadFinished).
  std::function<void(const std::string& title)> TitleChange;
  // The text the status line would show: the hovered link's URL or "".
  std::function<void(const std::string& text)> StatusTextChange;
  // The load's estimated progress of progress_max; progress -1 once the
  // load has ended (raised before LoadFinished).
  std::function<void(int progress, int progress_max)> ProgressChange;
  std::function<void(BrowserCommand command, bool enable)> CommandStateChange;
  // The engine failed to load `url` (not the program's own cancellations).
  // The engine's error page is suppressed; the old page stays. A server
  // certificate that only the administrator's ca.pem vouches for is no
  // failure: the URL is loaded again, once (WebEngine::tls_trust()).
  std::function<void(const std::string& url)> LoadFailed;
  // The page guard refused a load of the view's page (an image, a script,
  // a fetch...): `url` was not requested. Nothing else happens to the page.
  std::function<void(const std::string& url)> LoadRefused;
};

// The one wrapper around the web engine's view. Every view of the program
// is one of these; nothing else touches the engine. The view answers the
// engine in a fixed, locked-down way: no context menu, no downloads, no
// chooser windows (file, colour), no drops, no page-initiated printing,
// every permission request denied, no developer tools, software rendering.
class EmbeddedWB {
 public:
  // `target`: which of the program's views this is; every NavigationRequest
  // of the view carries it.
  explicit EmbeddedWB(BodyCapture capture = BodyCapture::Off,
                      ScriptLinks script_links = ScriptLinks::Run,
                      BrowserTarget target = BrowserTarget::MainFrame);
  // A view for a new window asked for by `related`'s page; return it from
  // `related`'s NewWindow2 handler to hand the new window over.
  explicit EmbeddedWB(EmbeddedWB& related, BodyCapture capture = BodyCapture::Off,
                      BrowserTarget target = BrowserTarget::PopupBrowser);
  ~EmbeddedWB();
  EmbeddedWB(const EmbeddedWB&) = delete;
  EmbeddedWB& operator=(const EmbeddedWB&) = delete;

  EmbeddedWBEvents& events() { return m_events; }

  // The view as a GTK widget, to be packed into a container.
  Gtk::Widget& widget();

  // Starts loading `url`: a URL, or an absolute local path (loaded as the
  // file:// URL of that path). Returns false for an empty URL. Every call
  // is a load of its own: the engine asks before-navigate some time after
  // it, not within it, once for each call, about the URL in the engine's
  // own form ("my menu.html" as "my%20menu.html"), which it reports as
  // RequestOrigin::Program.
  bool Navigate(const std::string& url);
  // Steps in the history; false when there is no page in that direction.
  bool GoBack();
  bool GoForward();
  void Stop();
  // Prints the page on a real printer, never into a file: with the print
  // dialog, or at once on the default printer. `on_printing` runs once the
  // page has gone to the printer (after this call returns); it never runs
  // when there is nothing to print or no printer, the dialog was cancelled
  // or the print failed, nor after the view is gone.
  void print(PrintMode mode, std::function<void()> on_printing);
  void set_silent(DialogMode mode) { m_dialogs = mode; }
  void set_page_guard_check(PageGuardCheck check) { m_page_guard_check = check; }
  DialogMode Silent() const { return m_dialogs; }
  // The loaded page's title ("" when none).
  std::string LocationName() const;
  // The URL currently shown ("" when none).
  std::string location_url() const;
  bool Busy() const;
  bool can_go_back() const;
  bool can_go_forward() const;

  // The body HTML stored after the last completed load (nullopt when it
  // could not be read or has not arrived yet).
  const std::optional<std::string>& body_html() const { return m_body; }

  // Makes every view trust the certificates of `pem_path` (the
  // administrator's ca.pem) beyond the system's store, from now on; false,
  // with `problem` set and no extra trust, when the file cannot be used.
  static bool trust_authorities_in(const std::string& pem_path, std::string& problem);

  // Runs `script` in the page's main frame (for tests and diagnostics).
  void run_script(const std::string& script);

  // Internal: the engine's callbacks land here.
  struct Callbacks;

 private:
  void init(void* view, BodyCapture capture, BrowserTarget target);
  void ask_about_script_links();
  void request_body(const std::string& url);
  // False, told on standard error, when `url` would load from the network
  // but the page guard of the view's page has never answered (the guard is
  // missing or broken); true when no guard folder is set (views outside the
  // program) or the check is waived.
  bool page_guard_runs(const std::string& url) const;

  struct Engine;
  std::unique_ptr<Engine> m_engine;
  EmbeddedWBEvents m_events;
  DialogMode m_dialogs = DialogMode::Shown;
  BodyCapture m_capture = BodyCapture::Off;
  std::optional<std::string> m_body;
  std::string m_requested;  // issued, before-navigate not yet raised
  // The URL loaded again after ca.pem vouched for its certificate; cleared
  // when a page commits.
  std::string m_tls_retried;
  BrowserTarget m_target = BrowserTarget::MainFrame;
  bool m_page_guard_heard = false;  // the guard of the view's page runs
  PageGuardCheck m_page_guard_check = PageGuardCheck::Required;
};

// Turns a file path into the file:// URL the engine reports for it; other
// texts are returned unchanged.
std::string to_engine_url(const std::string& url_or_path);

}  // namespace tovali
