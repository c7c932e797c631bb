#pragma once

#include <chrono>

#include "net/ProxySource.h"

namespace tovali {

// The desktop's proxy setting through GIO's default proxy resolver (desktop
// settings, or http_proxy and no_proxy in the environment). A lookup runs
// the default main context while it waits, at most kLookupTimeLimit; a
// resolver that has not answered by then gives no proxy.
class GioProxySource : public ProxySource {
 public:
  static constexpr std::chrono::milliseconds kLookupTimeLimit{5000};

  std::vector<std::string> proxies_for(const std::string& url) override;
};

}  // namespace tovali
