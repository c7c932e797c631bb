#include "gio/GioProxySource.h"

#include <gio/gio.h>

#include <chrono>
#include <thread>

namespace tovali {

namespace {

// One lookup's answer. It belongs to the lookup: a lookup that outlives the
// wait finds it still there and frees it.
struct ProxyAnswer {
  bool done = false;
  bool abandoned = false;
  std::vector<std::string> proxies;
};

void looked_up(GObject* resolver, GAsyncResult* result, gpointer data) {
  auto* answer = static_cast<ProxyAnswer*>(data);
  gchar** proxies = g_proxy_resolver_lookup_finish(G_PROXY_RESOLVER(resolver), result, nullptr);
  if (proxies) {
    for (gchar** proxy = proxies; *proxy; ++proxy) answer->proxies.emplace_back(*proxy);
    g_strfreev(proxies);
  }
  answer->done = true;
  if (answer->abandoned) delete answer;
}

}  // namespace

std::vector<std::string> GioProxySource::proxies_for(const std::string& url) {
  GProxyResolver* resolver = g_proxy_resolver_get_default();
  if (!resolver) return {};
  // The desktop's resolver may wait on services that never answer; the
  // lookup runs on its own while the main loop goes on, and gives up after
  // kLookupTimeLimit (no proxy then).
  auto* answer = new ProxyAnswer();
  g_proxy_resolver_lookup_async(resolver, url.c_str(), nullptr, looked_up, answer);
  const auto deadline = std::chrono::steady_clock::now() + kLookupTimeLimit;
  while (!answer->done && std::chrono::steady_clock::now() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!answer->done) {
    answer->abandoned = true;
    return {};
  }
  std::vector<std::string> proxies = std::move(answer->proxies);
  delete answer;
  return proxies;
}

}  // namespace tovali
