#include "browser/EmbeddedWB.h"

#include <gtkmm/widget.h>
#include <webkit2/webkit2.h>

#include <iostream>

#include "base/PageGuardMessages.h"
#include "browser/CallbackGuard.h"
#include "browser/PageGuard.h"
#include "browser/RealPrinters.h"
#include "browser/TlsTrust.h"
#include "browser/WebEngine.h"

namespace tovali {

namespace {

std::string text_or_empty(const char* text) {
  return text ? std::string(text) : std::string();
}

// Cancellations the program causes itself (an ignored policy decision, a
// stopped load, a refused download) are not load failures.
bool is_own_cancellation(const GError* error) {
  if (!error) return true;
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) return true;
  if (error->domain == WEBKIT_POLICY_ERROR) return true;
  if (error->domain == WEBKIT_PLUGIN_ERROR && error->code == WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD)
    return true;
  if (error->domain == WEBKIT_DOWNLOAD_ERROR) return true;
  return false;
}

// The host of a URL ("" when it has none).
std::string host_of(const std::string& url) {
  GUri* uri = g_uri_parse(url.c_str(), G_URI_FLAGS_NONE, nullptr);
  if (!uri) return std::string();
  std::string host = text_or_empty(g_uri_get_host(uri));
  g_uri_unref(uri);
  return host;
}

// Who started a navigation that the program did not request.
RequestOrigin origin_of(WebKitNavigationAction* action) {
  switch (webkit_navigation_action_get_navigation_type(action)) {
    case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD:
      return RequestOrigin::History;
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED: {
      // The left button, or none when a key activated the link.
      const guint button = webkit_navigation_action_get_mouse_button(action);
      return button <= 1 ? RequestOrigin::LinkClick : RequestOrigin::Page;
    }
    default:
      return RequestOrigin::Page;
  }
}

// True when the response would be saved rather than shown.
bool response_is_download(WebKitResponsePolicyDecision* decision) {
  if (!webkit_response_policy_decision_is_mime_type_supported(decision)) return true;
  WebKitURIResponse* response = webkit_response_policy_decision_get_response(decision);
  SoupMessageHeaders* headers = response ? webkit_uri_response_get_http_headers(response) : nullptr;
  if (!headers) return false;
  const char* disposition = soup_message_headers_get_one(headers, "Content-Disposition");
  if (!disposition) return false;
  std::string value(disposition);
  for (char& c : value) c = static_cast<char>(g_ascii_tolower(c));
  return value.find("attachment") != std::string::npos;
}

// The isolated script world that watches the clicks on "javascript:" links
// (ScriptLinks::AskFirst): the page's own scripts cannot see its message
// handler, so they cannot pass anything off as a click.
constexpr char kScriptLinkWorld[] = "tovali-script-links";
constexpr char kScriptLinkHandler[] = "scriptLink";

// Stops the default action of a click on a "javascript:" link (the engine
// would run it without asking) and asks the program; the link runs in its
// own frame only when the program answers true. The page's own click
// handlers still run.
constexpr char kScriptLinkWatcher[] = R"JS(
addEventListener('click', function (event) {
  var target = event.target;
  var link = target && target.closest ? target.closest('a[href], area[href]') : null;
  if (!link || link.protocol !== 'javascript:') return;
  event.preventDefault();
  var href = link.href;
  window.webkit.messageHandlers.scriptLink.postMessage(href).then(function (run) {
    if (run === true) location.href = href;
  });
}, true);
)JS";

}  // namespace

struct EmbeddedWB::Engine {
  // Outlives the view only as long as an answer of the page is on its way:
  // answers for a view that is gone find it empty.
  std::shared_ptr<EmbeddedWB*> alive;
  WebKitWebView* view = nullptr;
  GCancellable* cancellable = nullptr;
  Gtk::Widget* wrapper = nullptr;
  gulong history_handler = 0;
};

// The engine's signals, translated into the view's events.
struct EmbeddedWB::Callbacks {
  // The page guard of the view's page says it runs (and wants the rules),
  // or tells of a load it refused.
  static gboolean user_message(WebKitWebView* view, WebKitUserMessage* message, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    const char* name = webkit_user_message_get_name(message);
    if (g_strcmp0(name, kPageLoadRulesWanted) == 0) {
      self->m_page_guard_heard = true;
      PageGuard::instance().guard_runs_in(view);
      webkit_user_message_send_reply(
          message, webkit_user_message_new(kPageLoadRules,
                                           PageGuard::instance().rules_message_parameters()));
      return TRUE;
    }
    if (g_strcmp0(name, kPageLoadRefused) == 0) {
      GVariant* parameters = webkit_user_message_get_parameters(message);
      if (parameters && g_variant_is_of_type(parameters, G_VARIANT_TYPE_STRING)) {
        const std::string url = g_variant_get_string(parameters, nullptr);
        guarded("LoadRefused", [&] {
          if (self->m_events.LoadRefused) self->m_events.LoadRefused(url);
        });
      }
      return TRUE;
    }
    return FALSE;
  }

  static gboolean decide_policy(WebKitWebView*, WebKitPolicyDecision* decision,
                                WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    switch (type) {
      case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
        auto* nav = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
        WebKitNavigationAction* action =
            webkit_navigation_policy_decision_get_navigation_action(nav);
        WebKitURIRequest* request = webkit_navigation_action_get_request(action);
        const std::string url = text_or_empty(webkit_uri_request_get_uri(request));
        // The engine reports a requested URL with its scheme (and an HTTP
        // host) lower-cased and may add a "/" after a bare host.
        const bool own = !self->m_requested.empty() && same_target(url, self->m_requested);
        if (own) self->m_requested.clear();
        NavigationRequest asked{url, own ? RequestOrigin::Program : origin_of(action),
                                webkit_navigation_action_is_redirect(action)
                                    ? NavigationKind::Redirect
                                    : NavigationKind::Request,
                                self->m_target};
        Verdict verdict = Verdict::Proceed;
        guarded("BeforeNavigate2", [&] {
          if (self->m_events.BeforeNavigate2) verdict = self->m_events.BeforeNavigate2(asked);
        });
        if (verdict == Verdict::Proceed && !self->page_guard_runs(url)) {
          // Nothing would judge what the page loads: it does not open.
          webkit_policy_decision_ignore(decision);
          guarded("LoadFailed", [&] {
            if (self->m_events.LoadFailed) self->m_events.LoadFailed(url);
          });
          return TRUE;
        }
        if (verdict == Verdict::Cancel)
          webkit_policy_decision_ignore(decision);
        else
          webkit_policy_decision_use(decision);
        return TRUE;
      }
      case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
        // Let it through to `create`, where the new-window handler decides.
        webkit_policy_decision_use(decision);
        return TRUE;
      case WEBKIT_POLICY_DECISION_TYPE_RESPONSE:
        if (response_is_download(WEBKIT_RESPONSE_POLICY_DECISION(decision)))
          webkit_policy_decision_ignore(decision);
        else
          webkit_policy_decision_use(decision);
        return TRUE;
      default:
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
  }

  // A click on a "javascript:" link, reported by kScriptLinkWatcher: asked
  // as a link click; the answer tells the page whether to run it.
  static gboolean script_link(WebKitUserContentManager*, JSCValue* message,
                              WebKitScriptMessageReply* reply, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    std::string url;
    if (message && jsc_value_is_string(message)) {
      gchar* text = jsc_value_to_string(message);
      url = text_or_empty(text);
      g_free(text);
    }
    Verdict verdict = Verdict::Cancel;
    if (!url.empty()) {
      const NavigationRequest asked{url, RequestOrigin::LinkClick, NavigationKind::Request,
                                    self->m_target};
      verdict = Verdict::Proceed;
      guarded("BeforeNavigate2", [&] {
        if (self->m_events.BeforeNavigate2) verdict = self->m_events.BeforeNavigate2(asked);
      });
    }
    JSCValue* answer =
        jsc_value_new_boolean(jsc_value_get_context(message), verdict == Verdict::Proceed);
    webkit_script_message_reply_return_value(reply, answer);
    g_object_unref(answer);
    return TRUE;
  }

  static GtkWidget* create(WebKitWebView*, WebKitNavigationAction*, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    EmbeddedWB* target = nullptr;
    guarded("NewWindow2", [&] {
      if (self->m_events.NewWindow2) target = self->m_events.NewWindow2();
    });
    if (!target || !target->m_engine || !target->m_engine->view) return nullptr;
    return GTK_WIDGET(target->m_engine->view);
  }

  static void load_changed(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    if (event == WEBKIT_LOAD_COMMITTED) {
      self->m_tls_retried.clear();
    } else if (event == WEBKIT_LOAD_STARTED) {
      guarded("LoadStarted", [&] {
        if (self->m_events.LoadStarted) self->m_events.LoadStarted();
      });
    } else if (event == WEBKIT_LOAD_FINISHED) {
      const std::string url = text_or_empty(webkit_web_view_get_uri(view));
      guarded("ProgressChange", [&] {
        if (self->m_events.ProgressChange) self->m_events.ProgressChange(-1, 100);
      });
      guarded("LoadFinished", [&] {
        if (self->m_events.LoadFinished) self->m_events.LoadFinished();
      });
      self->request_body(url);
    }
  }

  static gboolean load_failed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                              gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    if (!is_own_cancellation(error)) {
      const std::string url = text_or_empty(uri);
      guarded("LoadFailed", [&] {
        if (self->m_events.LoadFailed) self->m_events.LoadFailed(url);
      });
    }
    return TRUE;  // never the engine's own error page
  }

  // The engine refused the server's certificate. When ca.pem vouches for it
  // for this host, the certificate is allowed for the host and the same URL
  // is loaded again, once: a second refusal of that URL before any page of
  // the view has committed goes on to load-failed (the error page).
  static gboolean tls_errors(WebKitWebView*, gchar* failing_uri, GTlsCertificate* certificate,
                             GTlsCertificateFlags, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    const std::string url = text_or_empty(failing_uri);
    const bool retry = guarded_value("load-failed-with-tls-errors", false, [&] {
      const std::string host = host_of(url);
      if (url == self->m_tls_retried) return false;
      WebEngine& engine = WebEngine::instance();
      if (engine.tls_trust().verdict(certificate, host) != CertificateVerdict::Accepted)
        return false;
      webkit_web_context_allow_tls_certificate_for_host(engine.context(), certificate,
                                                        host.c_str());
      return true;
    });
    if (!retry) return FALSE;
    self->m_tls_retried = url;
    // The failed load ends after this handler; the new one starts after it.
    auto token = std::weak_ptr<EmbeddedWB*>(self->m_engine->alive);
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer raw) -> gboolean {
          auto* pending = static_cast<std::pair<std::weak_ptr<EmbeddedWB*>, std::string>*>(raw);
          const std::shared_ptr<EmbeddedWB*> alive = pending->first.lock();
          if (alive && *alive) (*alive)->Navigate(pending->second);
          return G_SOURCE_REMOVE;
        },
        new std::pair<std::weak_ptr<EmbeddedWB*>, std::string>(token, url),
        [](gpointer raw) {
          delete static_cast<std::pair<std::weak_ptr<EmbeddedWB*>, std::string>*>(raw);
        });
    return TRUE;  // no load-failed: the page comes with the next load
  }

  static void progress(WebKitWebView* view, GParamSpec*, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    const int value = static_cast<int>(webkit_web_view_get_estimated_load_progress(view) * 100.0);
    guarded("ProgressChange", [&] {
      if (self->m_events.ProgressChange) self->m_events.ProgressChange(value, 100);
    });
  }

  static void title_changed(WebKitWebView* view, GParamSpec*, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    const std::string title = text_or_empty(webkit_web_view_get_title(view));
    guarded("TitleChange", [&] {
      if (self->m_events.TitleChange) self->m_events.TitleChange(title);
    });
  }

  static void history_changed(WebKitBackForwardList*, WebKitBackForwardListItem*, GList*,
                              gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    guarded("CommandStateChange", [&] {
      if (!self->m_events.CommandStateChange) return;
      self->m_events.CommandStateChange(BrowserCommand::NavigateBack, self->can_go_back());
      self->m_events.CommandStateChange(BrowserCommand::NavigateForward, self->can_go_forward());
    });
  }

  static void mouse_target(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    std::string text;
    if (hit && webkit_hit_test_result_context_is_link(hit))
      text = text_or_empty(webkit_hit_test_result_get_link_uri(hit));
    guarded("StatusTextChange", [&] {
      if (self->m_events.StatusTextChange) self->m_events.StatusTextChange(text);
    });
  }

  static gboolean script_dialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
    auto* self = static_cast<EmbeddedWB*>(data);
    // A page never keeps itself on the screen: whoever navigates away (the
    // child, the program at time-up) leaves without a "stay on this page"
    // question. Handled without confirming would mean "stay".
    if (webkit_script_dialog_get_dialog_type(dialog) ==
        WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
      webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
      return TRUE;
    }
    // TRUE: handled, nothing shown. FALSE: the engine shows its dialog.
    return self->m_dialogs == DialogMode::Silent ? TRUE : FALSE;
  }

  static gboolean context_menu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                               gpointer) {
    return TRUE;
  }

  static gboolean file_chooser(WebKitWebView*, WebKitFileChooserRequest* request, gpointer) {
    webkit_file_chooser_request_cancel(request);
    return TRUE;
  }

  // The control's value stays as it was; no window opens.
  static gboolean color_chooser(WebKitWebView*, WebKitColorChooserRequest* request, gpointer) {
    webkit_color_chooser_request_cancel(request);
    return TRUE;
  }

  // Nothing dragged onto a view is taken: no link, text or file.
  static gboolean refuse_drag_motion(GtkWidget*, GdkDragContext* context, gint, gint, guint time,
                                     gpointer) {
    gdk_drag_status(context, static_cast<GdkDragAction>(0), time);
    return TRUE;
  }

  static gboolean refuse_drop(GtkWidget*, GdkDragContext* context, gint, gint, guint time,
                              gpointer) {
    gtk_drag_finish(context, FALSE, FALSE, time);
    return TRUE;
  }

  static gboolean page_print(WebKitWebView*, WebKitPrintOperation*, gpointer) { return TRUE; }

  static gboolean permission(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
    webkit_permission_request_deny(request);
    return TRUE;
  }

  static gboolean no_fullscreen(WebKitWebView*, gpointer) { return TRUE; }

  static void body_ready(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::weak_ptr<EmbeddedWB*>> token(
        static_cast<std::weak_ptr<EmbeddedWB*>*>(data));
    GError* error = nullptr;
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (error) g_error_free(error);
    std::shared_ptr<EmbeddedWB*> alive = token->lock();
    if (!alive || !*alive) {  // the view is gone
      if (value) g_object_unref(value);
      return;
    }
    EmbeddedWB* self = *alive;
    std::optional<std::string> body;
    if (value && jsc_value_is_string(value)) {
      gchar* text = jsc_value_to_string(value);
      body = text_or_empty(text);
      g_free(text);
    }
    if (value) g_object_unref(value);
    self->m_body = body;
    const std::string url = text_or_empty(webkit_web_view_get_uri(self->m_engine->view));
    guarded("NavigateComplete2", [&] {
      if (self->m_events.NavigateComplete2) self->m_events.NavigateComplete2(url, self->m_body);
    });
  }
};

EmbeddedWB::EmbeddedWB(BodyCapture capture, ScriptLinks script_links, BrowserTarget target)
    : m_engine(std::make_unique<Engine>()) {
  WebEngine& engine = WebEngine::instance();
  GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", engine.context(),
                                            "settings", engine.view_settings(), nullptr));
  init(view, capture, target);
  if (script_links == ScriptLinks::AskFirst) ask_about_script_links();
}

void EmbeddedWB::ask_about_script_links() {
  // Each view made without a content manager of its own gets a new one, so
  // the watcher stays in this view.
  WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(m_engine->view);
  const std::string signal =
      std::string("script-message-with-reply-received::") + kScriptLinkHandler;
  g_signal_connect(manager, signal.c_str(), G_CALLBACK(Callbacks::script_link), this);
  webkit_user_content_manager_register_script_message_handler_with_reply(
      manager, kScriptLinkHandler, kScriptLinkWorld);
  WebKitUserScript* watcher = webkit_user_script_new_for_world(
      kScriptLinkWatcher, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kScriptLinkWorld, nullptr, nullptr);
  webkit_user_content_manager_add_script(manager, watcher);
  webkit_user_script_unref(watcher);
}

EmbeddedWB::EmbeddedWB(EmbeddedWB& related, BodyCapture capture, BrowserTarget target)
    : m_engine(std::make_unique<Engine>()) {
  GtkWidget* view = webkit_web_view_new_with_related_view(related.m_engine->view);
  webkit_web_view_set_settings(WEBKIT_WEB_VIEW(view), WebEngine::instance().view_settings());
  init(view, capture, target);
}

void EmbeddedWB::init(void* raw_view, BodyCapture capture, BrowserTarget target) {
  m_capture = capture;
  m_target = target;
  auto* view = WEBKIT_WEB_VIEW(raw_view);
  g_object_ref_sink(view);
  m_engine->view = view;
  m_engine->alive = std::make_shared<EmbeddedWB*>(this);
  m_engine->cancellable = g_cancellable_new();

  g_signal_connect(view, "decide-policy", G_CALLBACK(Callbacks::decide_policy), this);
  g_signal_connect(view, "user-message-received", G_CALLBACK(Callbacks::user_message), this);
  PageGuard::instance().add_view(view);
  g_signal_connect(view, "create", G_CALLBACK(Callbacks::create), this);
  g_signal_connect(view, "load-changed", G_CALLBACK(Callbacks::load_changed), this);
  g_signal_connect(view, "load-failed", G_CALLBACK(Callbacks::load_failed), this);
  g_signal_connect(view, "load-failed-with-tls-errors", G_CALLBACK(Callbacks::tls_errors), this);
  g_signal_connect(view, "notify::estimated-load-progress", G_CALLBACK(Callbacks::progress), this);
  g_signal_connect(view, "notify::title", G_CALLBACK(Callbacks::title_changed), this);
  g_signal_connect(view, "mouse-target-changed", G_CALLBACK(Callbacks::mouse_target), this);
  g_signal_connect(view, "script-dialog", G_CALLBACK(Callbacks::script_dialog), this);
  g_signal_connect(view, "context-menu", G_CALLBACK(Callbacks::context_menu), this);
  g_signal_connect(view, "run-file-chooser", G_CALLBACK(Callbacks::file_chooser), this);
  g_signal_connect(view, "run-color-chooser", G_CALLBACK(Callbacks::color_chooser), this);
  gtk_drag_dest_unset(GTK_WIDGET(view));
  g_signal_connect(view, "drag-motion", G_CALLBACK(Callbacks::refuse_drag_motion), this);
  g_signal_connect(view, "drag-drop", G_CALLBACK(Callbacks::refuse_drop), this);
  g_signal_connect(view, "print", G_CALLBACK(Callbacks::page_print), this);
  g_signal_connect(view, "permission-request", G_CALLBACK(Callbacks::permission), this);
  g_signal_connect(view, "enter-fullscreen", G_CALLBACK(Callbacks::no_fullscreen), this);
  m_engine->history_handler =
      g_signal_connect(webkit_web_view_get_back_forward_list(view), "changed",
                       G_CALLBACK(Callbacks::history_changed), this);
}

bool EmbeddedWB::page_guard_runs(const std::string& url) const {
  if (m_page_guard_heard || m_page_guard_check == PageGuardCheck::Waived ||
      PageGuard::instance().folder().empty())
    return true;
  const bool leaves_computer = g_ascii_strncasecmp(url.c_str(), "http:", 5) == 0 ||
                               g_ascii_strncasecmp(url.c_str(), "https:", 6) == 0;
  if (!leaves_computer) return true;
  std::cerr << "tovali-explorer: the page guard did not start in the engine (it should be "
            << PageGuard::instance().folder()
            << "tovali-page-guard.so); no page that would load from the network opens\n";
  return false;
}

EmbeddedWB::~EmbeddedWB() {
  if (!m_engine || !m_engine->view) return;
  WebKitWebView* view = m_engine->view;
  *m_engine->alive = nullptr;
  PageGuard::instance().remove_view(view);
  g_cancellable_cancel(m_engine->cancellable);
  g_signal_handler_disconnect(webkit_web_view_get_back_forward_list(view),
                              m_engine->history_handler);
  g_signal_handlers_disconnect_by_data(view, this);
  g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(view), this);
  webkit_web_view_stop_loading(view);
  // Destroying the widget takes it out of its container and closes its page
  // (and with it the page's web process).
  gtk_widget_destroy(GTK_WIDGET(view));
  g_object_unref(view);
  g_object_unref(m_engine->cancellable);
}

Gtk::Widget& EmbeddedWB::widget() {
  if (!m_engine->wrapper) m_engine->wrapper = Glib::wrap(GTK_WIDGET(m_engine->view));
  return *m_engine->wrapper;
}

std::string to_engine_url(const std::string& url_or_path) {
  if (url_or_path.empty() || url_or_path[0] != '/') return url_or_path;
  gchar* uri = g_filename_to_uri(url_or_path.c_str(), nullptr, nullptr);
  if (!uri) return url_or_path;
  std::string result(uri);
  g_free(uri);
  return result;
}

bool EmbeddedWB::Navigate(const std::string& url) {
  if (url.empty()) return false;
  m_requested = to_engine_url(url);
  webkit_web_view_load_uri(m_engine->view, m_requested.c_str());
  // The view's address is now the requested one in the engine's own form
  // (spaces and non-ASCII letters percent-encoded, the host punycoded), as
  // before-navigate will report it.
  if (const char* parsed = webkit_web_view_get_uri(m_engine->view)) m_requested = parsed;
  return true;
}

bool EmbeddedWB::trust_authorities_in(const std::string& pem_path, std::string& problem) {
  return WebEngine::instance().trust_authorities_in(pem_path, problem);
}

bool EmbeddedWB::GoBack() {
  if (!can_go_back()) return false;
  webkit_web_view_go_back(m_engine->view);
  return true;
}

bool EmbeddedWB::GoForward() {
  if (!can_go_forward()) return false;
  webkit_web_view_go_forward(m_engine->view);
  return true;
}

void EmbeddedWB::Stop() {
  webkit_web_view_stop_loading(m_engine->view);
}

namespace {

// One print request on its way: it tells its view's window once the page
// has gone to the printer, and only then.
struct PrintJob {
  std::weak_ptr<EmbeddedWB*> view;
  std::function<void()> on_printing;
  bool failed = false;

  static void failed_signal(WebKitPrintOperation*, GError* error, gpointer data) {
    static_cast<PrintJob*>(data)->failed = true;
    report_callback_error("print", error ? error->message : "failed");
  }
  static void finished_signal(WebKitPrintOperation*, gpointer data) {
    auto* job = static_cast<PrintJob*>(data);
    const std::shared_ptr<EmbeddedWB*> alive = job->view.lock();
    if (job->failed || !alive || !*alive || !job->on_printing) return;
    auto on_printing = std::move(job->on_printing);  // once
    guarded("print finished", on_printing);
  }
  static void free(gpointer data, GClosure*) { delete static_cast<PrintJob*>(data); }
};

}  // namespace

void EmbeddedWB::print(PrintMode mode, std::function<void()> on_printing) {
  if (!webkit_web_view_get_uri(m_engine->view)) return;
  RealPrinters::restrict();
  WebKitPrintOperation* operation = webkit_print_operation_new(m_engine->view);
  if (mode == PrintMode::WithoutDialog) {
    // Only a named real printer: the engine would otherwise pick one itself.
    const std::optional<std::string> printer = RealPrinters::default_printer();
    if (!printer) {
      g_object_unref(operation);
      return;
    }
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, printer->c_str());
    webkit_print_operation_set_print_settings(operation, settings);
    g_object_unref(settings);
  }
  auto* job = new PrintJob{m_engine->alive, std::move(on_printing)};
  g_signal_connect(operation, "failed", G_CALLBACK(PrintJob::failed_signal), job);
  g_signal_connect_data(operation, "finished", G_CALLBACK(PrintJob::finished_signal), job,
                        &PrintJob::free, GConnectFlags(0));
  if (mode == PrintMode::WithDialog) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(m_engine->view));
    GtkWindow* parent = GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
    // A cancelled dialog prints nothing.
    if (webkit_print_operation_run_dialog(operation, parent) !=
        WEBKIT_PRINT_OPERATION_RESPONSE_PRINT)
      job->on_printing = nullptr;
  } else {
    webkit_print_operation_print(operation);
  }
  g_object_unref(operation);
}

std::string EmbeddedWB::LocationName() const {
  return text_or_empty(webkit_web_view_get_title(m_engine->view));
}

std::string EmbeddedWB::location_url() const {
  return text_or_empty(webkit_web_view_get_uri(m_engine->view));
}

bool EmbeddedWB::Busy() const {
  return webkit_web_view_is_loading(m_engine->view);
}
bool EmbeddedWB::can_go_back() const {
  return webkit_web_view_can_go_back(m_engine->view);
}
bool EmbeddedWB::can_go_forward() const {
  return webkit_web_view_can_go_forward(m_engine->view);
}

void EmbeddedWB::request_body(const std::string&) {
  m_body.reset();
  if (m_capture == BodyCapture::Off) {
    const std::string url = location_url();
    guarded("NavigateComplete2", [&] {
      if (m_events.NavigateComplete2) m_events.NavigateComplete2(url, m_body);
    });
    return;
  }
  static const char kScript[] =
      "(document.body && typeof document.body.outerHTML === 'string') ? "
      "document.body.outerHTML : null";
  webkit_web_view_evaluate_javascript(m_engine->view, kScript, -1, nullptr, nullptr,
                                      m_engine->cancellable, &Callbacks::body_ready,
                                      new std::weak_ptr<EmbeddedWB*>(m_engine->alive));
}

void EmbeddedWB::run_script(const std::string& script) {
  webkit_web_view_evaluate_javascript(m_engine->view, script.c_str(), -1, nullptr, nullptr,
                                      m_engine->cancellable, nullptr, nullptr);
}

}  // namespace tovali
