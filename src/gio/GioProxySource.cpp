#include "gio/GioProxySource.h"

#include <giomm.h>

namespace tovali {

std::vector<std::string> GioProxySource::proxies_for(const std::string& url) {
  std::vector<std::string> proxies;
  try {
    auto resolver = Gio::ProxyResolver::get_default();
    if (!resolver) return proxies;
    for (const Glib::ustring& proxy : resolver->lookup(url)) proxies.push_back(proxy.raw());
  } catch (...) {
    proxies.clear();
  }
  return proxies;
}

}  // namespace tovali
