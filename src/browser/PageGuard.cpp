#include "browser/PageGuard.h"

#include <webkit2/webkit2.h>

#include <algorithm>

#include "base/PageGuardMessages.h"

namespace tovali {

namespace {

// The rules as bytes: a menu page need not be UTF-8, and may hold any byte.
GVariant* rules_variant(const std::string& rules) {
  return g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, rules.data(), rules.size(), 1);
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

void PageGuard::use_folder(WebKitWebContext* context, const std::string& dir) {
  m_folder = dir;
  webkit_web_context_set_web_extensions_directory(context, dir.c_str());
  g_signal_connect(context, "initialize-web-extensions", G_CALLBACK(initialize_guard), nullptr);
}

void PageGuard::set_rules(std::string encoded) {
  m_rules = std::move(encoded);
  for (WebKitWebView* view : m_views) {
    webkit_web_view_send_message_to_page(
        view, webkit_user_message_new(kPageLoadRules, rules_variant(m_rules)), nullptr, nullptr,
        nullptr);
  }
}

GVariant* PageGuard::rules_message_parameters() const {
  return rules_variant(m_rules);
}

void PageGuard::add_view(WebKitWebView* view) {
  m_views.push_back(view);
}

void PageGuard::remove_view(WebKitWebView* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

}  // namespace tovali
