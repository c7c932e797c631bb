#pragma once

#include "net/ProxySource.h"

namespace tovali {

// The desktop's proxy setting through GIO's default proxy resolver (desktop
// settings, or http_proxy and no_proxy in the environment).
class GioProxySource : public ProxySource {
 public:
  std::vector<std::string> proxies_for(const std::string& url) override;
};

}  // namespace tovali
