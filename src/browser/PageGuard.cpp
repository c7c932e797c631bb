#include "browser/PageGuard.h"

#include <webkit2/webkit2.h>

#include <algorithm>
#include <iostream>

#include "base/PageGuardMessages.h"

namespace tovali {

namespace {

// The rules as bytes: a menu page need not be UTF-8, and may hold any byte.
GVariant* rules_variant(const std::string& rules) {
  return g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, rules.data(), rules.size(), 1);
}

void filter_saved(GObject* store, GAsyncResult* result, gpointer generation) {
  GError* error = nullptr;
  WebKitUserContentFilter* filter = webkit_user_content_filter_store_save_finish(
      WEBKIT_USER_CONTENT_FILTER_STORE(store), result, &error);
  if (!filter) {
    std::cerr << "tovali-explorer: the WebSocket filter cannot be compiled: "
              << (error ? error->message : "no reason given") << "\n";
    if (error) g_error_free(error);
    return;
  }
  PageGuard::instance().filter_compiled(GPOINTER_TO_SIZE(generation), filter);
  webkit_user_content_filter_unref(filter);
}

// Each new web process starts with the rules of that moment.
void initialize_guard(WebKitWebContext* context, gpointer) {
  webkit_web_context_set_web_extensions_initialization_user_data(
      context, rules_variant(PageGuard::instance().rules()));
}

}  // namespace

PageGuard& PageGuard::instance() {
  static auto* guard = new PageGuard();
  return *guard;
}

void PageGuard::use_folder(WebKitWebContext* context, const std::string& dir,
                           const std::string& filter_store_dir) {
  m_folder = dir;
  m_filter_store = webkit_user_content_filter_store_new(filter_store_dir.c_str());
  webkit_web_context_set_web_extensions_directory(context, dir.c_str());
  g_signal_connect(context, "initialize-web-extensions", G_CALLBACK(initialize_guard), nullptr);
}

void PageGuard::set_rules(std::string encoded) {
  m_rules = std::move(encoded);
  for (WebKitWebView* view : m_guarded_views) {
    webkit_web_view_send_message_to_page(
        view, webkit_user_message_new(kPageLoadRules, rules_variant(m_rules)), nullptr, nullptr,
        nullptr);
  }
}

GVariant* PageGuard::rules_message_parameters() const {
  return rules_variant(m_rules);
}

void PageGuard::set_websocket_filter(const std::string& json) {
  if (json == m_filter_json || !m_filter_store) return;
  m_filter_json = json;
  const std::size_t generation = ++m_filter_generation;
  if (json.empty()) {
    apply_filter(nullptr);
    return;
  }
  GBytes* source = g_bytes_new(json.data(), json.size());
  webkit_user_content_filter_store_save(m_filter_store, "tovali-websockets", source, nullptr,
                                        filter_saved, GSIZE_TO_POINTER(generation));
  g_bytes_unref(source);
}

void PageGuard::filter_compiled(std::size_t generation, WebKitUserContentFilter* filter) {
  if (filter && generation == m_filter_generation) apply_filter(filter);
}

void PageGuard::apply_filter(WebKitUserContentFilter* filter) {
  if (m_filter) webkit_user_content_filter_unref(m_filter);
  m_filter = filter ? webkit_user_content_filter_ref(filter) : nullptr;
  for (WebKitWebView* view : m_views) {
    WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(view);
    webkit_user_content_manager_remove_all_filters(manager);
    if (m_filter) webkit_user_content_manager_add_filter(manager, m_filter);
  }
}

void PageGuard::add_view(WebKitWebView* view) {
  m_views.push_back(view);
  if (m_filter)
    webkit_user_content_manager_add_filter(webkit_web_view_get_user_content_manager(view),
                                           m_filter);
}

void PageGuard::remove_view(WebKitWebView* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
  m_guarded_views.erase(std::remove(m_guarded_views.begin(), m_guarded_views.end(), view),
                        m_guarded_views.end());
}

void PageGuard::guard_runs_in(WebKitWebView* view) {
  if (std::find(m_guarded_views.begin(), m_guarded_views.end(), view) == m_guarded_views.end())
    m_guarded_views.push_back(view);
}

}  // namespace tovali
