// The page guard in the engine's web process: every request a page makes
// passes `send-request`, where PageLoadJudge decides; a refused request is
// cancelled and told to the program's view, which counts it. The program
// sends the rules at the start of the process (the initialization data) and
// whenever they change (a user message to each page); a page also asks for
// them when it is created, so that a process started earlier catches up.
#include <gmodule.h>
#include <webkit2/webkit-web-extension.h>

#include <cstdio>
#include <exception>
#include <string>

#include "base/PageGuardMessages.h"
#include "policy/PageLoadJudge.h"
#include "policy/PageLoadRules.h"
#include "psl/LibpslSuffixList.h"

namespace {

using tovali::kPageLoadRefused;
using tovali::kPageLoadRules;
using tovali::kPageLoadRulesWanted;

tovali::PageLoadJudge* judge() {
  static auto* the_judge = new tovali::PageLoadJudge();  // lives as long as the process
  return the_judge;
}

void apply_rules(GVariant* parameters) {
  if (!parameters || !g_variant_is_of_type(parameters, G_VARIANT_TYPE_BYTESTRING)) return;
  gsize length = 0;
  const auto* text =
      static_cast<const char*>(g_variant_get_fixed_array(parameters, &length, sizeof(char)));
  const auto rules =
      tovali::decode_page_load_rules(std::string_view(text ? text : "", text ? length : 0));
  if (rules)
    judge()->set_rules(*rules);
  else
    std::fputs("tovali-explorer: the page guard got rules it cannot read\n", stderr);
}

// True when the judge admits `url` for `page`; a refusal is told to the
// page's view, which counts it. A load the guard could not judge is refused.
bool admitted(WebKitWebPage* page, const char* url) {
  if (!url) return false;
  try {
    const char* page_url = webkit_web_page_get_uri(page);
    if (judge()->judge(page_url ? page_url : "", url) == tovali::LoadVerdict::Admit) return true;
    webkit_web_page_send_message_to_view(
        page, webkit_user_message_new(kPageLoadRefused, g_variant_new_string(url)), nullptr,
        nullptr, nullptr);
  } catch (const std::exception&) {
  }
  return false;
}

gboolean on_send_request(WebKitWebPage* page, WebKitURIRequest* request, WebKitURIResponse*,
                         gpointer) {
  return admitted(page, webkit_uri_request_get_uri(request)) ? FALSE : TRUE;
}

gboolean on_message(WebKitWebPage*, WebKitUserMessage* message, gpointer) {
  if (g_strcmp0(webkit_user_message_get_name(message), kPageLoadRules) != 0) return FALSE;
  try {
    apply_rules(webkit_user_message_get_parameters(message));
  } catch (const std::exception&) {
  }
  webkit_user_message_send_reply(message, webkit_user_message_new(kPageLoadRules, nullptr));
  return TRUE;
}

void on_rules_reply(GObject* page, GAsyncResult* result, gpointer) {
  WebKitUserMessage* reply =
      webkit_web_page_send_message_to_view_finish(WEBKIT_WEB_PAGE(page), result, nullptr);
  if (!reply) return;
  try {
    apply_rules(webkit_user_message_get_parameters(reply));
  } catch (const std::exception&) {
  }
  g_object_unref(reply);
}

// The engine opens WebSockets without `send-request`: each window's
// WebSocket constructor asks the judge first (the engine's content filter
// keeps the parent's domains away in any case, workers included).
gboolean socket_admitted(const char* url, gpointer page) {
  return admitted(WEBKIT_WEB_PAGE(page), url) ? TRUE : FALSE;
}

// Replaces the window's WebSocket with one that asks `admitted` (the native
// socket_admitted) about the absolute URL before it connects; a refused
// socket throws the "SecurityError" a blocked connection gives.
constexpr const char* kSocketWrapper =
    "(function (admitted) {"
    "  var Native = window.WebSocket;"
    "  if (!Native) return;"
    "  var Guarded = function WebSocket(url, protocols) {"
    "    var absolute = new URL(String(url), document.baseURI).href;"
    "    if (!admitted(absolute))"
    "      throw new DOMException('The connection is not allowed.', 'SecurityError');"
    "    return arguments.length > 1 ? new Native(url, protocols) : new Native(url);"
    "  };"
    "  Guarded.prototype = Native.prototype;"
    "  ['CONNECTING', 'OPEN', 'CLOSING', 'CLOSED'].forEach(function (name) {"
    "    Object.defineProperty(Guarded, name, {value: Native[name]});"
    "  });"
    "  Object.defineProperty(Native.prototype, 'constructor',"
    "                        {value: Guarded, writable: false, configurable: false});"
    "  Object.defineProperty(window, 'WebSocket',"
    "                        {value: Guarded, writable: false, configurable: false});"
    "})";

void on_window_cleared(WebKitScriptWorld* world, WebKitWebPage* page, WebKitFrame* frame,
                       gpointer) {
  JSCContext* context = webkit_frame_get_js_context_for_script_world(frame, world);
  if (!context) return;
  JSCValue* check = jsc_value_new_function(context, nullptr, G_CALLBACK(socket_admitted), page,
                                           nullptr, G_TYPE_BOOLEAN, 1, G_TYPE_STRING);
  JSCValue* wrapper = jsc_context_evaluate(context, kSocketWrapper, -1);
  if (wrapper && jsc_value_is_function(wrapper)) {
    JSCValue* done = jsc_value_function_call(wrapper, JSC_TYPE_VALUE, check, G_TYPE_NONE);
    if (done) g_object_unref(done);
  }
  if (wrapper) g_object_unref(wrapper);
  g_object_unref(check);
  g_object_unref(context);
}

void on_page_created(WebKitWebExtension*, WebKitWebPage* page, gpointer) {
  g_signal_connect(page, "send-request", G_CALLBACK(on_send_request), nullptr);
  g_signal_connect(page, "user-message-received", G_CALLBACK(on_message), nullptr);
  // Tells the view that its guard runs, and fetches the rules of now.
  webkit_web_page_send_message_to_view(page, webkit_user_message_new(kPageLoadRulesWanted, nullptr),
                                       nullptr, on_rules_reply, nullptr);
}

}  // namespace

extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize_with_user_data(
    WebKitWebExtension* extension, const GVariant* user_data) {
  try {
    tovali::LibpslSuffixList::install();
    apply_rules(const_cast<GVariant*>(user_data));
  } catch (const std::exception&) {
    // Without rules the judge lets nothing leave the computer.
  }
  g_signal_connect(extension, "page-created", G_CALLBACK(on_page_created), nullptr);
  g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                   G_CALLBACK(on_window_cleared), nullptr);
}
